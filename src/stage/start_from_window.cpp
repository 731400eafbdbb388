#include "stage/start_from_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "engine/draw_state.h"
#include "storage/codec.h"

namespace kavrel {

StartFromWindow::StartFromWindow(const DrawState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), choice_(state.plan) {
  setObjectName(QStringLiteral("StartFromWindow"));
  setWindowTitle(QStringLiteral("从指定奖项抽"));
  setFixedSize(420, 200);
  setModal(true);

  auto* note = new QLabel(ToQt(StartFromChoice::Note()), this);
  note->setObjectName(QStringLiteral("标签_说明"));
  note->setGeometry(20, 16, 380, 24);
  note->setStyleSheet(QStringLiteral("color: #8E0A16;"));
  auto* prompt = new QLabel(ToQt(StartFromChoice::Prompt()), this);
  prompt->setObjectName(QStringLiteral("标签_提示"));
  prompt->setGeometry(20, 52, 380, 24);

  combo_ = new QComboBox(this);
  combo_->setObjectName(QStringLiteral("组合框1"));
  combo_->setGeometry(20, 82, 380, 28);
  for (const StartFromChoice::Item& item : choice_.Items()) combo_->addItem(ToQt(item.text), item.data);
  combo_->setCurrentIndex(0);

  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setObjectName(QStringLiteral("按钮_确定"));
  ok->setGeometry(100, 140, 90, 32);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setGeometry(230, 140, 90, 32);
  connect(ok, &QPushButton::clicked, this, &StartFromWindow::Confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void StartFromWindow::Confirm() {
  int chosen = 0;
  if (choice_.Confirm(combo_->currentIndex(), prompter_, chosen) == StartFromChoice::Outcome::Close) {
    chosen_ = chosen;
    accept();
  }
}

}  // namespace kavrel
