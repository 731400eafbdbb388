#include "console/stage_screen_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrel {

StageScreenWindow::StageScreenWindow(const std::vector<ScreenInfo>& screens, int current, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("StageScreenWindow"));
  setWindowTitle(QStringLiteral("显示到扩展显示屏"));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(QStringLiteral("选择观众看到的屏幕（投影仪或大屏）。抽奖舞台将全屏显示在这个屏幕上，\n"
                                         "其余屏幕上显示操作台：菜单、提示和设置窗口都只出现在操作台上。"),
                          this);
  hint->setObjectName(QStringLiteral("标签_说明"));
  layout->addWidget(hint);

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("列表_显示屏"));
  for (std::size_t i = 0; i < screens.size(); ++i) {
    QString label = QStringLiteral("%1.  ").arg(i + 1) + ScreenLabel(screens[i]);
    if (static_cast<int>(i) == current) label += QStringLiteral("  （舞台当前所在）");
    list_->addItem(label);
  }
  list_->setCurrentRow(current >= 0 ? current : 0);
  layout->addWidget(list_);

  auto* buttons = new QDialogButtonBox(this);
  buttons->setObjectName(QStringLiteral("按钮组_确定取消"));
  QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("按钮_确定"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    chosen_ = list_->currentRow();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    chosen_ = list_->currentRow();
    accept();
  });
  resize(520, 300);
}

}  // namespace kavrel
