#include "results/picture_strip.h"

#include <QPaintEvent>
#include <QPainter>

namespace kavrel {

PictureStrip::PictureStrip(const QPixmap& picture, int sourceTop, QWidget* parent)
    : QWidget(parent), picture_(picture), sourceTop_(sourceTop) {
  // Every pixel comes from the picture: nothing needs clearing first, which keeps the 30 ms
  // scroll of the list above it cheap.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureStrip::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect area = event->rect();
  const qreal ratio = picture_.devicePixelRatio();
  const QRect source(QPointF(area.x() * ratio, (area.y() + sourceTop_) * ratio).toPoint(), area.size() * ratio);
  p.drawPixmap(area, picture_, source);
}

}  // namespace kavrel
