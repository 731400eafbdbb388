#include "console/signin_log_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

#include "phone/signin_desk.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

QString Stamp(const LocalDateTime& at) {
  return QStringLiteral("%1-%2-%3 %4:%5:%6")
      .arg(at.year, 4, 10, QLatin1Char('0'))
      .arg(at.month, 2, 10, QLatin1Char('0'))
      .arg(at.day, 2, 10, QLatin1Char('0'))
      .arg(at.hour, 2, 10, QLatin1Char('0'))
      .arg(at.minute, 2, 10, QLatin1Char('0'))
      .arg(at.second, 2, 10, QLatin1Char('0'));
}

}  // namespace

SigninLogWindow::SigninLogWindow(SigninDesk& desk, QWidget* parent) : QDialog(parent), desk_(desk) {
  setObjectName(QStringLiteral("SigninLogWindow"));
  setWindowTitle(QStringLiteral("签到记录"));
  table_ = new QTableWidget(0, 3, this);
  table_->setObjectName(QStringLiteral("表格_签到记录"));
  table_->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("手机地址"), QStringLiteral("签到人")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->setVisible(false);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("标签_签到统计"));
  summary_->setWordWrap(true);
  undo_ = new QPushButton(QStringLiteral("撤销所选签到"), this);
  undo_->setObjectName(QStringLiteral("按钮_撤销签到"));
  auto* close = new QPushButton(QStringLiteral("关闭"), this);
  close->setObjectName(QStringLiteral("按钮_关闭"));
  connect(undo_, &QPushButton::clicked, this, &SigninLogWindow::UndoSelected);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(table_, &QTableWidget::itemSelectionChanged, this,
          [this] { undo_->setEnabled(!table_->selectedItems().isEmpty()); });
  connect(&desk_, &SigninDesk::Changed, this, &SigninLogWindow::Refresh);

  auto* buttons = new QHBoxLayout();
  buttons->addWidget(undo_);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  resize(640, 480);
  Refresh();
}

void SigninLogWindow::Refresh() {
  const auto& records = desk_.Book().Records();
  table_->setRowCount(static_cast<int>(records.size()));
  std::map<std::string, int> perAddress;
  int row = 0;
  // Newest first: what just happened is what the operator came to see.
  for (auto it = records.rbegin(); it != records.rend(); ++it, ++row) {
    const QString address = it->address.empty() ? QStringLiteral("—") : QString::fromStdString(it->address);
    ++perAddress[it->address];
    auto* entry = new QTableWidgetItem(ToQt(it->entry));
    entry->setData(Qt::UserRole, QByteArray::fromStdString(it->entry));
    table_->setItem(row, 0, new QTableWidgetItem(Stamp(it->at)));
    table_->setItem(row, 1, new QTableWidgetItem(address));
    table_->setItem(row, 2, entry);
  }
  table_->resizeColumnsToContents();
  QString busiest;
  int most = 0;
  for (const auto& [address, n] : perAddress) {
    if (!address.empty() && n > most) {
      most = n;
      busiest = QString::fromStdString(address);
    }
  }
  QString text = QStringLiteral("已签到 %1 人。").arg(records.size());
  if (most > 1)
    text += QStringLiteral("同一地址签到最多的是 %1（%2 人；同一路由器后的手机共用一个地址）。").arg(busiest).arg(most);
  summary_->setText(text);
  undo_->setEnabled(!table_->selectedItems().isEmpty());
}

void SigninLogWindow::UndoSelected() {
  const auto selected = table_->selectionModel()->selectedRows(2);
  if (selected.isEmpty()) return;
  std::vector<std::string> entries;
  for (const QModelIndex& index : selected) entries.push_back(index.data(Qt::UserRole).toByteArray().toStdString());
  const QString question = entries.size() == 1
                               ? QStringLiteral("撤销 %1 的签到吗？").arg(ToQt(entries.front()).simplified())
                               : QStringLiteral("撤销所选 %1 人的签到吗？").arg(entries.size());
  if (QMessageBox::question(this, QStringLiteral("操作提示："), question) != QMessageBox::Yes) return;
  int failed = 0;
  for (const std::string& entry : entries) {
    if (!desk_.Undo(entry)) ++failed;
  }
  if (failed > 0) {
    QMessageBox::warning(this, QStringLiteral("错误提示："),
                         QStringLiteral("有 %1 人的签到没有撤销：签到记录 config\\signin.dat 无法写入。").arg(failed));
  }
}

}  // namespace kavrel
