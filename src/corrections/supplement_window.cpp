#include "corrections/supplement_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "corrections/number_box.h"
#include "corrections/prize_picture_box.h"
#include "engine/queued_batches.h"
#include "storage/award_store.h"
#include "storage/codec.h"

namespace kavrel {

SupplementWindow::SupplementWindow(const ProgramDir& dir, const std::string& currentAward, Prompter& prompter,
                                   QWidget* parent)
    : QDialog(parent), dir_(dir), prompter_(prompter), choice_(LoadAwardTable(dir)) {
  setObjectName(QStringLiteral("SupplementWindow"));
  setWindowTitle(QStringLiteral("补奖设定"));
  setModal(true);
  setMinimumWidth(420);

  awards_ = new QComboBox(this);
  awards_->setObjectName(QStringLiteral("组合框1"));
  customName_ = new QLineEdit(this);
  customName_->setObjectName(QStringLiteral("编辑框_奖项名称"));
  customName_->setMaxLength(50);
  customName_->setPlaceholderText(QStringLiteral("例如：董事长特别奖"));
  customNameLabel_ = new QLabel(QStringLiteral("奖项名称"), this);
  prizeName_ = new QLineEdit(this);
  prizeName_->setObjectName(QStringLiteral("编辑框_奖品名称"));
  prizeName_->setMaxLength(100);  // the stage shows no more of a caption
  prizePicture_ = new QLineEdit(this);
  prizePicture_->setObjectName(QStringLiteral("编辑框_奖品图片"));
  pick_ = new QToolButton(this);
  pick_->setObjectName(QStringLiteral("图形按钮1"));
  pick_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  pick_->setToolTip(QStringLiteral("选择奖品图片"));
  pick_->setAccessibleName(QStringLiteral("选择奖品图片"));
  quota_ = NewNumberBox(this, QStringLiteral("编辑框_补抽名额"));
  batches_ = NewNumberBox(this, QStringLiteral("编辑框_批次"));

  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setObjectName(QStringLiteral("按钮_确定"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("补抽奖项"), this), 0, 0);
  grid->addWidget(awards_, 0, 1, 1, 2);
  grid->addWidget(customNameLabel_, 1, 0);
  grid->addWidget(customName_, 1, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("奖品名称"), this), 2, 0);
  grid->addWidget(prizeName_, 2, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("奖品图片"), this), 3, 0);
  grid->addWidget(prizePicture_, 3, 1);
  grid->addWidget(pick_, 3, 2);
  grid->addWidget(new QLabel(QStringLiteral("补抽名额"), this), 4, 0);
  grid->addWidget(quota_, 4, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("批    次"), this), 5, 0);
  grid->addWidget(batches_, 5, 1, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addLayout(buttons);

  for (const auto& name : choice_.Items()) awards_->addItem(ToQt(name));
  const int initial = choice_.IndexOf(currentAward);
  awards_->setCurrentIndex(initial);
  ShowAward(initial);
  connect(awards_, &QComboBox::currentIndexChanged, this, &SupplementWindow::ShowAward);
  connect(quota_, &QLineEdit::textChanged, this, [this] {
    if (batches_->text().isEmpty()) batches_->setText(QStringLiteral("1"));
  });
  connect(pick_, &QToolButton::clicked, this, &SupplementWindow::PickPicture);
  connect(ok, &QPushButton::clicked, this, &SupplementWindow::ConfirmPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// A table award brings its own prize, locked; "其它奖项" (also the only choice when the table is
// empty) leaves both boxes open for typing.
void SupplementWindow::ShowAward(int index) {
  const SupplementChoice::Prize prize = choice_.PrizeOf(index);
  prizeName_->setText(ToQt(prize.name));
  prizePicture_->setText(ToQt(prize.picture));
  prizeName_->setEnabled(!prize.fromTable);
  prizePicture_->setEnabled(!prize.fromTable);
  pick_->setVisible(!prize.fromTable);
  // Only an award made up on the spot has a name to type; the stage, the winner lists and the exports show it.
  customName_->setVisible(index == 0);
  customNameLabel_->setVisible(index == 0);
}

void SupplementWindow::PickPicture() {
  if (const auto picked = PickPrizePicture(dir_, prompter_)) prizePicture_->setText(ToQt(*picked));
}

SupplementRequest SupplementWindow::Request() const {
  return {FromQt(awards_->currentText()), FromQt(prizeName_->text()), FromQt(prizePicture_->text()),
          FromQt(quota_->text()),         FromQt(batches_->text()),   FromQt(customName_->text().trimmed())};
}

// Says what will be queued and lets the operator look again: Cancel keeps the window open.
void SupplementWindow::ConfirmPressed() {
  const SupplementRequest request = Request();
  const std::vector<std::string> table(choice_.Items().begin() + 1, choice_.Items().end());
  if (!CheckSupplementRequest(request, prompter_, table)) return;
  if (prompter_.Message(SupplementQuestion(request), Gb("操作提示："), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return;
  accept();
}

}  // namespace kavrel
