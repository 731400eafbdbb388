#include "results/command_label.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavrel {

CommandLabel::CommandLabel(const QString& caption, QSize size, QWidget* parent) : QWidget(parent), caption_(caption) {
  QFont font(QStringLiteral("宋体"));
  font.setPointSize(14);
  font.setBold(true);
  setFont(font);
  setFixedSize(size);
  setCursor(Qt::PointingHandCursor);
  setAccessibleName(caption);
}

void CommandLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(font());
  p.setPen(Qt::white);
  p.drawText(rect().translated(-1, -1), Qt::AlignCenter, caption_);
  p.setPen(QColor(0, 251, 0));
  p.drawText(rect(), Qt::AlignCenter, caption_);
}

void CommandLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit activated();
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace kavrel
