#include "stage/picture_button.h"

#include "assets.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <utility>

namespace kavrel {

PictureButton::PictureButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
  setText(caption);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
}

QSize PictureButton::sizeHint() const {
  return {129, 50};
}

void PictureButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const bool pressed = isDown();
  // The drawn faces of the program's resources; the vector face below stands in when they are absent.
  const char* facePath = !isEnabled() ? assets::kButtonDisabled
                         : pressed    ? assets::kButtonPressed
                         : hovered_   ? assets::kButtonHover
                                      : assets::kButtonNormal;
  QPixmap face;
  const QString key = QString::fromLatin1(facePath);
  if (!QPixmapCache::find(key, &face) && face.load(key)) QPixmapCache::insert(key, face);
  if (!face.isNull()) {
    p.drawPixmap(rect(), face);
    PaintCaption(p, QRectF(rect()).translated(pressed ? 1 : 0, pressed ? 1 : 0));
    return;
  }

  const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
  const qreal radius = outer.height() / 2.6;
  const bool down = isDown();

  // Gold rim.
  QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
  rim.setColorAt(0, QColor(255, 236, 160));
  rim.setColorAt(0.5, QColor(242, 182, 50));
  rim.setColorAt(1, QColor(160, 104, 16));
  QPainterPath outerPath;
  outerPath.addRoundedRect(outer, radius, radius);
  p.fillPath(outerPath, rim);

  // Red body: lighter under the mouse, darker and inverted while pressed.
  const QRectF body = outer.adjusted(3, 3, -3, -3);
  QColor top(214, 32, 48), bottom(142, 10, 22);
  if (hovered_ && !down) {
    top = top.lighter(118);
    bottom = bottom.lighter(125);
  }
  if (down) std::swap(top, bottom);
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  QPainterPath bodyPath;
  bodyPath.addRoundedRect(body, radius - 3, radius - 3);
  p.fillPath(bodyPath, fill);

  // Highlight band across the upper half.
  if (!down) {
    const QRectF band = body.adjusted(4, 2, -4, -body.height() / 2);
    QLinearGradient shine(band.topLeft(), band.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 150));
    shine.setColorAt(1, QColor(255, 255, 255, 20));
    QPainterPath bandPath;
    bandPath.addRoundedRect(band, band.height() / 2, band.height() / 2);
    p.fillPath(bandPath, shine);
  }

  QRectF textRect = body;
  if (down) textRect.translate(1, 1);
  PaintCaption(p, textRect);
}

void PictureButton::PaintCaption(QPainter& p, const QRectF& area) const {
  // Warm yellow with a dark shadow, readable on the red face.
  p.setFont(font());
  p.setPen(QColor(80, 0, 8, 200));
  p.drawText(area.translated(1, 2), Qt::AlignCenter, text());
  p.setPen(isEnabled() ? QColor(255, 236, 140) : QColor(220, 200, 190));
  p.drawText(area, Qt::AlignCenter, text());
}

}  // namespace kavrel
