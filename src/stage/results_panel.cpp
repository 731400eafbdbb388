#include "stage/results_panel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kavrel {

QDialog* AddResultsClosePanel(QDialog& results, QWidget& operatorWindow, const QString& shown) {
  auto* panel =
      new QDialog(&results, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
  panel->setObjectName(QStringLiteral("ResultsPanel"));
  panel->setWindowTitle(QStringLiteral("舞台正在展示"));
  auto* text = new QLabel(
      QStringLiteral("舞台正在展示：%1。\n展示期间空格键不起作用；按 Esc 或点“关闭展示”回到抽奖界面。").arg(shown),
      panel);
  text->setObjectName(QStringLiteral("标签_展示说明"));
  auto* close = new QPushButton(QStringLiteral("关闭展示  （Esc）"), panel);
  close->setObjectName(QStringLiteral("按钮_关闭展示"));
  // Space and Enter must not close the show by accident: only a click or Escape does.
  close->setAutoDefault(false);
  close->setFocusPolicy(Qt::NoFocus);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(close);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(24, 18, 24, 18);
  column->setSpacing(14);
  column->addWidget(text);
  column->addLayout(row);
  // Escape rejects the panel: the result window goes with it, however it was asked to close.
  QObject::connect(close, &QPushButton::clicked, panel, &QDialog::reject);
  QObject::connect(panel, &QDialog::rejected, &results, &QWidget::close);
  panel->adjustSize();
  // On the console's screen, not the projector's the result window covers.
  if (operatorWindow.screen()) panel->setScreen(operatorWindow.screen());
  const QRect host = operatorWindow.frameGeometry();
  panel->move(host.center().x() - panel->width() / 2, host.top() + host.height() / 4);
  // Shown once the result window is up, so that it stands above it and takes the keys.
  QTimer::singleShot(0, panel, [panel] {
    panel->show();
    panel->raise();
    panel->activateWindow();
  });
  return panel;
}

}  // namespace kavrel
