#include "stage/start_from_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "engine/ports/prompter.h"
#include "storage/codec.h"

namespace kavrel {

StartFromWindow::StartFromWindow(const std::vector<StartFromChoice>& choices, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
  setObjectName(QStringLiteral("StartFromWindow"));
  setWindowTitle(QStringLiteral("从指定奖项抽"));
  setFixedSize(420, 200);
  setModal(true);

  auto* note = new QLabel(QStringLiteral("此页面设置需要指定开始的奖项与批次(仅对单次修改有效)"), this);
  note->setObjectName(QStringLiteral("标签_说明"));
  note->setGeometry(20, 16, 380, 24);
  note->setStyleSheet(QStringLiteral("color: #8E0A16;"));
  auto* prompt = new QLabel(QStringLiteral("请选择需要指定开始的奖项："), this);
  prompt->setObjectName(QStringLiteral("标签_提示"));
  prompt->setGeometry(20, 52, 380, 24);

  combo_ = new QComboBox(this);
  combo_->setObjectName(QStringLiteral("组合框1"));
  combo_->setGeometry(20, 82, 380, 28);
  combo_->addItem(QStringLiteral("请选择"), -1);
  for (const StartFromChoice& c : choices) combo_->addItem(ToQt(c.text), c.planIndex);
  combo_->setCurrentIndex(0);

  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setObjectName(QStringLiteral("按钮_确定"));
  ok->setGeometry(100, 140, 90, 32);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setGeometry(230, 140, 90, 32);
  connect(ok, &QPushButton::clicked, this, &StartFromWindow::Confirm);
  connect(cancel, &QPushButton::clicked, this, [this] {
    outcome_ = Outcome::Cancelled;
    reject();
  });
}

void StartFromWindow::Confirm() {
  const int data = combo_->currentData().toInt();
  if (data == -1) {
    if (prompter_.Message(Gb("未选择指定抽奖项，确认退出吗？"), Gb("操作提示："), Buttons::OkCancel, Icon::Question) !=
        Answer::Ok)
      return;  // the window stays open
    outcome_ = Outcome::Cleared;
    accept();
    return;
  }
  outcome_ = Outcome::Chosen;
  chosenIndex_ = data;
  accept();
}

}  // namespace kavrel
