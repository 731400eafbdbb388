#include "corrections/prize_change_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "corrections/prize_picture_box.h"
#include "engine/queued_batches.h"
#include "platform/picture_reader.h"
#include "settings/picture_panel.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"

namespace kavrel {

PrizeChangeWindow::PrizeChangeWindow(const ProgramDir& dir, const std::vector<PlanLine>& plan, std::size_t nextPosition,
                                     Prompter& prompter, QWidget* parent)
    : QDialog(parent), dir_(dir), prompter_(prompter), choice_(plan, nextPosition) {
  setObjectName(QStringLiteral("PrizeChangeWindow"));
  setWindowTitle(QStringLiteral("临时修改奖品名称"));
  setModal(true);
  setMinimumWidth(460);

  auto* explanation = new QLabel(ToQt(PrizeChangeChoice::Explanation()), this);
  explanation->setObjectName(QStringLiteral("标签1"));
  explanation->setWordWrap(true);
  explanation->setStyleSheet(QStringLiteral("color: #8E0A16;"));
  batches_ = new QComboBox(this);
  batches_->setObjectName(QStringLiteral("组合框1"));
  prizeName_ = new QLineEdit(this);
  prizeName_->setObjectName(QStringLiteral("编辑框_奖品名称"));
  prizeName_->setMaxLength(100);
  prizePicture_ = new QLineEdit(this);
  prizePicture_->setObjectName(QStringLiteral("编辑框_奖品图片"));
  auto* pick = new QToolButton(this);
  pick->setObjectName(QStringLiteral("图形按钮1"));
  pick->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  pick->setToolTip(QStringLiteral("选择奖品图片"));
  pick->setAccessibleName(QStringLiteral("选择奖品图片"));
  preview_ = new PicturePanel(this);
  preview_->setObjectName(QStringLiteral("画板1"));
  preview_->setFixedSize(120, 90);

  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setObjectName(QStringLiteral("按钮_确定"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("修改奖项"), this), 0, 0);
  grid->addWidget(batches_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("奖品名称"), this), 1, 0);
  grid->addWidget(prizeName_, 1, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("奖品图片"), this), 2, 0);
  grid->addWidget(prizePicture_, 2, 1);
  grid->addWidget(pick, 2, 2);
  grid->addWidget(preview_, 3, 1, Qt::AlignLeft);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(explanation);
  column->addLayout(grid);
  column->addLayout(buttons);

  for (const auto& item : choice_.Items())
    batches_->addItem(ToQt(item.text), static_cast<qulonglong>(item.planPosition));
  batches_->setCurrentIndex(choice_.InitialIndex());
  ShowBatch(choice_.InitialIndex());
  connect(batches_, &QComboBox::currentIndexChanged, this, &PrizeChangeWindow::ShowBatch);
  connect(pick, &QToolButton::clicked, this, &PrizeChangeWindow::PickPicture);
  connect(ok, &QPushButton::clicked, this, &PrizeChangeWindow::ConfirmPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Each batch shows its own prize and picture; a batch without a picture empties the box and the
// preview, so that confirming never gives it the picture of the batch looked at before.
void PrizeChangeWindow::ShowBatch(int index) {
  const PrizeChangeChoice::Prize prize = choice_.PrizeOf(index);
  prizeName_->setText(ToQt(prize.name));
  prizePicture_->setText(ToQt(prize.picture));
  ShowPicture(prize.picture);
}

void PrizeChangeWindow::ShowPicture(const std::string& gbPath) {
  if (gbPath.empty()) {
    preview_->SetPicture({});
    return;
  }
  // The preview is small: a phone photo is decoded at about its size, not at full size.
  preview_->SetPicture(ReadPictureScaled(detail::ToQPath(NativePath(PrizePictureFile(dir_, gbPath))),
                                         preview_->size().expandedTo({640, 480})));
}

void PrizeChangeWindow::PickPicture() {
  const auto picked = PickPrizePicture(dir_, prompter_);
  if (!picked || !AcceptPrizePicture(*picked, prompter_)) return;
  prizePicture_->setText(ToQt(*picked));
  ShowPicture(*picked);
}

PrizeChangeRequest PrizeChangeWindow::Request() const {
  PrizeChangeRequest request;
  if (batches_->currentIndex() >= 0) request.planPosition = batches_->currentData().toULongLong();
  request.prizeName = FromQt(prizeName_->text());
  request.prizePicture = FromQt(prizePicture_->text());
  return request;
}

// Says what will change and lets the operator look again: Cancel keeps the window open.
void PrizeChangeWindow::ConfirmPressed() {
  const PrizeChangeRequest request = Request();
  if (!CheckPrizeChange(request, prompter_)) return;
  const std::string question =
      PrizeChangeQuestion(choice_, batches_->currentIndex(), request.prizeName, request.prizePicture);
  if (!question.empty() &&
      prompter_.Message(question, Gb("操作提示："), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return;
  accept();
}

}  // namespace kavrel
