// Faces of the stage's start and stop buttons: a glossy red pill with a gold rim and a highlight band.
// The caption ("开始", "停止", "准备") is the button's own text, so one set of faces serves both buttons.
#include <QLinearGradient>
#include <QRadialGradient>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

QImage PaintButtonFace(QSize size, ButtonState state) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  const double W = size.width();
  const double H = size.height();
  const double u = H / 50.0;  // designed for the 50-pixel-high face
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  // A soft shadow under the face, so it sits on the stage instead of floating.
  const QRectF shadow(1.5 * u, 3 * u, W - 3 * u, H - 3.5 * u);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 0, 4, state == ButtonState::Pressed ? 50 : 90));
  p.drawRoundedRect(shadow, 12 * u, 12 * u);

  const double drop = state == ButtonState::Pressed ? 1.5 * u : 0.0;
  const QRectF rim(1 * u, 0.5 * u + drop, W - 2 * u, H - 3.5 * u);
  const double radius = 12 * u;

  // Gold rim.
  QLinearGradient gold(rim.topLeft(), rim.bottomLeft());
  if (state == ButtonState::Disabled) {
    gold.setColorAt(0, QColor(0xE0, 0xD6, 0xC4));
    gold.setColorAt(1, QColor(0x8C, 0x80, 0x70));
  } else {
    gold.setColorAt(0.0, kGoldPale);
    gold.setColorAt(0.45, state == ButtonState::Hover ? QColor(0xFF, 0xEC, 0xA0) : kGoldLight);
    gold.setColorAt(0.55, kGold);
    gold.setColorAt(1.0, kGoldDeep);
  }
  p.setBrush(gold);
  p.drawRoundedRect(rim, radius, radius);

  // Red body.
  const double rimWidth = 3.2 * u;
  const QRectF body = rim.adjusted(rimWidth, rimWidth, -rimWidth, -rimWidth);
  const double bodyRadius = radius - rimWidth * 0.8;
  QLinearGradient red(body.topLeft(), body.bottomLeft());
  switch (state) {
    case ButtonState::Normal:
      red.setColorAt(0.0, QColor(0xF0, 0x3A, 0x40));
      red.setColorAt(0.5, kRed);
      red.setColorAt(1.0, QColor(0x7E, 0x06, 0x12));
      break;
    case ButtonState::Hover:
      red.setColorAt(0.0, QColor(0xFF, 0x5C, 0x52));
      red.setColorAt(0.5, QColor(0xE2, 0x1E, 0x34));
      red.setColorAt(1.0, QColor(0x96, 0x0A, 0x18));
      break;
    case ButtonState::Pressed:
      red.setColorAt(0.0, QColor(0x6E, 0x04, 0x0E));
      red.setColorAt(0.55, QColor(0xA8, 0x0C, 0x22));
      red.setColorAt(1.0, QColor(0xC8, 0x18, 0x2E));
      break;
    case ButtonState::Disabled:
      red.setColorAt(0.0, QColor(0xB8, 0x8C, 0x8C));
      red.setColorAt(1.0, QColor(0x80, 0x5A, 0x5C));
      break;
  }
  p.setBrush(red);
  p.drawRoundedRect(body, bodyRadius, bodyRadius);

  // Warm reflection at the bottom of the body.
  if (state != ButtonState::Disabled) {
    QRadialGradient warm(QPointF(body.center().x(), body.bottom()), body.width() * 0.45);
    warm.setColorAt(0, QColor(255, 150, 90, state == ButtonState::Pressed ? 40 : 90));
    warm.setColorAt(1, QColor(255, 150, 90, 0));
    p.save();
    p.setClipPath([&] {
      QPainterPath clip;
      clip.addRoundedRect(body, bodyRadius, bodyRadius);
      return clip;
    }());
    p.setBrush(warm);
    p.drawRect(body);
    p.restore();
  }

  // Highlight band over the upper half: the gloss.
  const QRectF band(body.left() + 3 * u, body.top() + 1.2 * u, body.width() - 6 * u, body.height() * 0.46);
  QLinearGradient gloss(band.topLeft(), band.bottomLeft());
  const int top = state == ButtonState::Pressed ? 70 : state == ButtonState::Hover ? 200 : 170;
  gloss.setColorAt(0.0, QColor(255, 255, 255, top));
  gloss.setColorAt(1.0, QColor(255, 255, 255, state == ButtonState::Pressed ? 5 : 25));
  p.setBrush(gloss);
  p.drawRoundedRect(band, bodyRadius * 0.8, bodyRadius * 0.8);

  // Inner dark line inside the rim gives the face depth.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x50, 0x02, 0x0A, 140), 1.0 * u));
  p.drawRoundedRect(body, bodyRadius, bodyRadius);

  if (state == ButtonState::Hover) {
    // A bright glint on the rim tells the operator the pointer is over the button.
    PaintSparkle(p, QPointF(rim.right() - 14 * u, rim.top() + 3 * u), 6 * u, kGoldPale);
  }
  return img;
}

}  // namespace gen
