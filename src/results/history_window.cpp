#include "results/history_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/ports/prompter.h"
#include "storage/codec.h"
#include "storage/program_dir.h"

namespace kavrel {

namespace {

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  item->setTextAlignment(align);
  return item;
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

}  // namespace

HistoryWindow::HistoryWindow(const ProgramDir& dir, Prompter& prompter, const Clock& clock, Actions actions,
                             QWidget* parent)
    : QDialog(parent), dir_(dir), prompter_(prompter), clock_(clock), actions_(std::move(actions)) {
  setObjectName(QStringLiteral("HistoryWindow"));
  setWindowTitle(QStringLiteral("历史抽奖记录"));
  setWindowModality(Qt::ApplicationModal);

  auto* layout = new QVBoxLayout(this);
  // The real folder: an installed program keeps its history in the user's data folder.
  auto* hint = new QLabel(QStringLiteral("每次重新开始抽奖时，上一次的中奖结果都保存在 %1 文件夹中。"
                                         "选中一条记录后可以查看、展示、导出，或把它恢复为当前的中奖结果。")
                              .arg(ToQt(GbPath(dir_.Path(ProgramDir::kHistoryDir)))),
                          this);
  hint->setWordWrap(true);
  layout->addWidget(hint);

  list_ = new QTableWidget(0, 7, this);
  list_->setObjectName(QStringLiteral("列表_抽奖记录"));
  list_->setHorizontalHeaderLabels({QStringLiteral("抽奖时间"), QStringLiteral("奖项数"), QStringLiteral("中奖人数"),
                                    QStringLiteral("弃奖人数"), QStringLiteral("移入历史的时间"),
                                    QStringLiteral("移入历史的原因"), QStringLiteral("备注")});
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->setVisible(false);
  list_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(list_, 1);

  auto* buttons = new QHBoxLayout;
  view_ = Button("查看中奖名单", "按钮_查看", this);
  showButton_ = Button("展示中奖名单", "按钮_展示", this);
  export_ = Button("导出中奖名单", "按钮_导出", this);
  bringBack_ = Button("恢复为当前结果", "按钮_恢复", this);
  auto* close = Button("关闭", "按钮_关闭", this);
  for (QPushButton* b : {view_, showButton_, export_, bringBack_}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  connect(view_, &QPushButton::clicked, this, [this] { ShowChosen(ResultViewMode::WinnerList); });
  connect(showButton_, &QPushButton::clicked, this, [this] { ShowChosen(ResultViewMode::WinnerShow); });
  connect(export_, &QPushButton::clicked, this, &HistoryWindow::ExportChosen);
  connect(bringBack_, &QPushButton::clicked, this, &HistoryWindow::BringBackChosen);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(list_, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::UpdateButtons);
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { ShowChosen(ResultViewMode::WinnerList); });

  resize(900, 560);
  Reload();
}

void HistoryWindow::Reload() {
  const int chosen = list_->currentRow();
  draws_ = ListPastDraws(dir_);
  list_->setUpdatesEnabled(false);
  list_->setRowCount(static_cast<int>(draws_.size()));
  const auto centre = Qt::AlignCenter;
  for (int r = 0; r < static_cast<int>(draws_.size()); ++r) {
    const PastDraw& d = draws_[static_cast<std::size_t>(r)];
    list_->setItem(r, 0, Cell(d.label));
    list_->setItem(r, 1, Cell(QString::number(d.awards), centre));
    list_->setItem(r, 2, Cell(QString::number(d.winners), centre));
    list_->setItem(r, 3, Cell(QString::number(d.abandoned), centre));
    list_->setItem(r, 4, Cell(d.record.current ? QStringLiteral("—") : d.putAsideLabel));
    list_->setItem(r, 5, Cell(d.record.current ? QStringLiteral("—") : ReasonText(d.reason)));
    list_->setItem(r, 6, Cell(d.note));
  }
  list_->resizeColumnsToContents();
  list_->setUpdatesEnabled(true);
  Select(chosen >= 0 && chosen < list_->rowCount() ? chosen : 0);
}

void HistoryWindow::Select(int row) {
  list_->selectRow(row);
  list_->setCurrentCell(row, 0);
  UpdateButtons();
}

const PastDraw* HistoryWindow::Chosen() const {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(draws_.size())) return nullptr;
  return &draws_[static_cast<std::size_t>(row)];
}

void HistoryWindow::UpdateButtons() {
  const PastDraw* d = Chosen();
  const bool readable = d && !d->note.contains(QStringLiteral("无法读取"));
  view_->setEnabled(readable);
  showButton_->setEnabled(readable);
  export_->setEnabled(readable);
  bringBack_->setEnabled(d && !d->record.current && d->hasResults);
}

void HistoryWindow::ShowChosen(ResultViewMode mode) {
  const PastDraw* d = Chosen();
  if (d && actions_.show) actions_.show(mode, *d);
}

void HistoryWindow::ExportChosen() {
  const PastDraw* d = Chosen();
  if (d && actions_.exportDraw) actions_.exportDraw(*d);
}

void HistoryWindow::BringBackChosen() {
  const PastDraw* d = Chosen();
  if (!d || d->record.current || !d->hasResults) return;
  if (actions_.drawUnderWay && actions_.drawUnderWay()) {
    prompter_.Message(Gb("抽奖正在进行中，不能恢复历史记录。请在全部奖项抽完或重新开始抽奖后再恢复。"),
                      Gb("提示信息："), Buttons::Ok, Icon::Information);
    return;
  }
  const QString question =
      QStringLiteral(
          "确定要把 %1 的抽奖结果恢复为当前的中奖结果吗？\n当前的中奖结果会先移入 history 文件夹保存。\n"
          "恢复的结果只供查看、展示和导出，不能在其上继续抽奖；要开始新的抽奖，请按 F1 重新开始。")
          .arg(d->label);
  if (prompter_.Message(FromQt(question), Gb("提示信息："), Buttons::OkCancel, Icon::Question) != Answer::Ok) return;

  switch (BringBackResults(dir_, d->record, clock_.Now())) {
    case BringBackOutcome::Ok:
      if (actions_.broughtBack) actions_.broughtBack();
      prompter_.Message(Gb("已恢复为当前的中奖结果（只供查看，不能继续抽奖）。"), Gb("提示信息："), Buttons::Ok,
                        Icon::Information);
      break;
    case BringBackOutcome::SourceUnreadable:
      prompter_.Message(Gb("这条历史记录的中奖结果文件无法读取，没有恢复。"), Gb("错误提示："), Buttons::Ok,
                        Icon::Error);
      break;
    case BringBackOutcome::AsideFailed:
      prompter_.Message(Gb("当前的中奖结果未能移入 history 文件夹，没有恢复。请检查程序文件夹是否可写。"),
                        Gb("错误提示："), Buttons::Ok, Icon::Error);
      break;
    case BringBackOutcome::WriteFailed:
      prompter_.Message(Gb("当前的中奖结果已移入 history 文件夹，但历史记录未能写回，请检查程序文件夹是否可写。"),
                        Gb("错误提示："), Buttons::Ok, Icon::Error);
      break;
  }
  Reload();
  Select(0);
}

}  // namespace kavrel
