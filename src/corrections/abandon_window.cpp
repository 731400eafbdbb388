#include "corrections/abandon_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "corrections/number_box.h"
#include "storage/codec.h"
#include "storage/result_store.h"

namespace kavrel {

namespace {
constexpr int kEntryRole = Qt::UserRole;  // the entry without the mark

bool Ticked(const QListWidgetItem* item) {
  return item->data(Qt::CheckStateRole).toInt() == Qt::Checked;
}
}  // namespace

AbandonWindow::AbandonWindow(const std::vector<ResultLine>& results, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), choice_(results) {
  setObjectName(QStringLiteral("AbandonWindow"));
  setWindowTitle(QStringLiteral("弃奖"));
  setModal(true);

  awards_ = new QComboBox(this);
  awards_->setObjectName(QStringLiteral("组合框1"));
  prizeName_ = new QLineEdit(this);
  prizeName_->setObjectName(QStringLiteral("编辑框_奖品名称"));
  prizeName_->setReadOnly(true);
  prizeName_->setEnabled(false);
  winners_ = new QListWidget(this);
  winners_->setObjectName(QStringLiteral("选择列表框1"));
  winners_->setMinimumSize(300, 240);
  returnToPool_ = new QCheckBox(QStringLiteral("弃奖人员回归奖池"), this);
  returnToPool_->setObjectName(QStringLiteral("选择框_弃奖后处理方式"));
  returnToPool_->setChecked(true);
  redraw_ = new QCheckBox(QStringLiteral("弃奖后是否立即进行补抽"), this);
  redraw_->setObjectName(QStringLiteral("选择框_弃奖后是否补抽"));
  quota_ = NewNumberBox(this, QStringLiteral("编辑框_补抽名额"));
  batches_ = NewNumberBox(this, QStringLiteral("编辑框_批次"));
  note_ = new QLabel(ToQt(choice_.SkippedNote()), this);
  note_->setObjectName(QStringLiteral("标签_说明"));
  note_->setWordWrap(true);
  note_->setStyleSheet(QStringLiteral("color: #8E0A16;"));
  note_->setVisible(choice_.SkippedLines() > 0);

  auto* abandon = new QPushButton(QStringLiteral("弃奖"), this);
  abandon->setObjectName(QStringLiteral("按钮_弃奖"));
  abandon->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("奖项"), this), 0, 0);
  grid->addWidget(awards_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("奖品"), this), 1, 0);
  grid->addWidget(prizeName_, 1, 1);
  grid->addWidget(winners_, 2, 0, 1, 2);
  auto* numbers = new QHBoxLayout;
  numbers->addWidget(new QLabel(QStringLiteral("补抽名额"), this));
  numbers->addWidget(quota_);
  numbers->addWidget(new QLabel(QStringLiteral("批次"), this));
  numbers->addWidget(batches_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(abandon);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addWidget(note_);
  column->addWidget(returnToPool_);
  column->addWidget(redraw_);
  column->addLayout(numbers);
  column->addLayout(buttons);

  for (const auto& item : choice_.Items()) awards_->addItem(ToQt(item.awardName));
  connect(awards_, &QComboBox::currentIndexChanged, this, &AbandonWindow::ShowAward);
  connect(winners_, &QListWidget::itemChanged, this, &AbandonWindow::UpdateRedrawFields);
  connect(winners_, &QListWidget::itemClicked, this, &AbandonWindow::UpdateRedrawFields);
  connect(redraw_, &QCheckBox::toggled, this, &AbandonWindow::UpdateRedrawFields);
  connect(abandon, &QPushButton::clicked, this, &AbandonWindow::AbandonPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  ShowAward(awards_->currentIndex());
}

void AbandonWindow::ShowAward(int index) {
  const QSignalBlocker quiet(winners_);
  winners_->clear();
  shownAward_.clear();
  prizeName_->clear();
  if (index >= 0 && static_cast<std::size_t>(index) < choice_.Items().size()) {
    shownAward_ = choice_.Items()[static_cast<std::size_t>(index)].awardName;
    const AbandonChoice::Line line = choice_.LineOf(shownAward_);
    prizeName_->setText(ToQt(line.prizeName));
    for (const auto& winner : line.winners) {
      auto* item = new QListWidgetItem(ToQt(winner.recorded), winners_);
      item->setData(kEntryRole, ToQt(winner.entry));
      if (winner.abandoned) {
        // Given up already: listed as recorded, but it can be neither ticked nor marked twice.
        item->setFlags(Qt::NoItemFlags);
        item->setToolTip(QStringLiteral("已弃奖"));
      } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
      }
    }
  }
  UpdateRedrawFields();
}

int AbandonWindow::TickedCount() const {
  int ticked = 0;
  for (int i = 0; i < winners_->count(); ++i)
    if (Ticked(winners_->item(i))) ++ticked;
  return ticked;
}

void AbandonWindow::UpdateRedrawFields() {
  if (redraw_->isChecked()) {
    quota_->setText(QString::number(TickedCount()));
    batches_->setText(QStringLiteral("1"));
  } else {
    quota_->clear();
    batches_->clear();
  }
}

AbandonRequest AbandonWindow::Request() const {
  AbandonRequest request;
  request.awardName = shownAward_;
  request.prizeName = FromQt(prizeName_->text());
  for (int i = 0; i < winners_->count(); ++i) {
    const QListWidgetItem* item = winners_->item(i);
    if (Ticked(item)) request.entries.push_back(FromQt(item->data(kEntryRole).toString()));
  }
  request.returnToPool = returnToPool_->isChecked();
  request.redraw = redraw_->isChecked();
  request.quotaText = FromQt(quota_->text());
  request.batchText = FromQt(batches_->text());
  return request;
}

void AbandonWindow::AbandonPressed() {
  if (CheckAbandonRequest(Request(), prompter_)) accept();
}

}  // namespace kavrel
