#include "results/command_label.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavrel {

const QColor CommandLabel::kPlateColour(0x3A, 0x02, 0x08, 190);

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
  // A dark, half-clear plate under the words: the band's picture has lanterns and confetti in its
  // upper corners, and green on a red lantern is hard to read from the back of the hall.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kPlateColour);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
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
