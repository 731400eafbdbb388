// The three pictures of the result window. Each is stretched to the whole screen, so nothing on them
// depends on an exact screen position; what matters is the contrast behind the text each view draws:
// yellow text over the winner list and the winner show, blue text over the latest award.
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

namespace {

// A gold frame of two lines with small diamonds at the corners.
void PaintGoldFrame(QPainter& p, const QRectF& box, double s) {
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(GoldBrush(box), 4 * s));
  p.drawRoundedRect(box, 10 * s, 10 * s);
  p.setPen(QPen(Alpha(kGoldLight, 170), 1.5 * s));
  const QRectF inner = box.adjusted(9 * s, 9 * s, -9 * s, -9 * s);
  p.drawRoundedRect(inner, 6 * s, 6 * s);
  p.setPen(Qt::NoPen);
  for (QPointF c : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
    QPainterPath d;
    const double k = 14 * s;
    d.moveTo(c + QPointF(0, -k));
    d.lineTo(c + QPointF(k, 0));
    d.lineTo(c + QPointF(0, k));
    d.lineTo(c + QPointF(-k, 0));
    d.closeSubpath();
    p.setBrush(GoldBrush(d.boundingRect()));
    p.drawPath(d);
  }
  p.restore();
}

// Auspicious cloud scrolls (祥云) drawn as gold line art: a row of spirals on a wavy base.
void PaintCloud(QPainter& p, QPointF at, double size, const QColor& colour, double width, bool mirrored) {
  p.save();
  p.translate(at);
  if (mirrored) p.scale(-1, 1);
  p.scale(size / 100.0, size / 100.0);
  QPainterPath cloud;
  cloud.moveTo(-60, 20);
  cloud.cubicTo(-75, 20, -80, -5, -60, -8);
  cloud.cubicTo(-58, -30, -28, -34, -20, -16);
  cloud.cubicTo(-14, -40, 24, -42, 28, -14);
  cloud.cubicTo(48, -22, 64, -4, 52, 10);
  cloud.cubicTo(62, 18, 56, 22, 50, 20);
  cloud.closeSubpath();
  QPainterPath spiral;
  spiral.moveTo(-36, 8);
  spiral.cubicTo(-36, -6, -18, -6, -18, 4);
  spiral.cubicTo(-18, 10, -28, 10, -28, 4);
  spiral.moveTo(6, 8);
  spiral.cubicTo(6, -14, 30, -14, 30, 2);
  spiral.cubicTo(30, 10, 18, 10, 18, 2);
  p.setPen(QPen(colour, width * 100.0 / size, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Alpha(colour, colour.alpha() / 5));
  p.drawPath(cloud);
  p.setBrush(Qt::NoBrush);
  p.drawPath(spiral);
  p.restore();
}

}  // namespace

QImage PaintResultBackground(QSize size) {
  // Behind the winner list and the non-winner list: the text box covers the middle, so the festive work is
  // in the frame around it.
  QImage img(size, QImage::Format_RGB32);
  const double W = size.width();
  const double H = size.height();
  const double s = H / 1080.0;
  Rng rng(4101);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient ground(QPointF(W / 2, H * 0.45), W * 0.7);
  ground.setColorAt(0, kRed);
  ground.setColorAt(0.7, kRedDeep);
  ground.setColorAt(1, kRedDark);
  p.fillRect(img.rect(), ground);
  PaintRays(p, QRectF(0, 0, W, H), QPointF(W / 2, H / 2), 48, W * 0.6, kGoldLight, 26);
  for (int i = 0; i < 14; ++i) {
    PaintCloud(p, QPointF(rng.Uniform(0, W), rng.Uniform(0, H)), rng.Uniform(90, 180) * s, Alpha(kGoldLight, 40),
               2.5 * s, rng.Chance(0.5));
  }
  PaintConfetti(
      p, QRectF(0, 0, W, H), 600, rng, [](QPointF) { return 1.0; }, 1.2 * s);
  PaintGoldFrame(p, QRectF(12 * s, 12 * s, W - 24 * s, H - 24 * s), s);
  PaintLantern(p, QPointF(W * 0.06, 0), 10 * s, 110 * s, QStringLiteral("福"));
  PaintLantern(p, QPointF(W * 0.94, 0), 10 * s, 110 * s, QStringLiteral("福"));
  return img;
}

QImage PaintWinnerShowBackground(QSize size) {
  // The winner show: a title band at the top and yellow names scrolling up the middle. The middle column is
  // kept dark and calm; the festive detail lives on the sides where no name passes.
  QImage img(size, QImage::Format_RGB32);
  const double W = size.width();
  const double H = size.height();
  const double s = H / 1080.0;
  Rng rng(4104);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient ground(0, 0, 0, H);
  ground.setColorAt(0.0, kRedNight);
  ground.setColorAt(0.1, kRedDark);
  ground.setColorAt(0.22, kRedDeep);
  ground.setColorAt(0.6, QColor(0xA8, 0x0C, 0x22));
  ground.setColorAt(1.0, kRedDeep);
  p.fillRect(img.rect(), ground);
  // Light falling from the top centre onto the list.
  PaintRays(p, QRectF(0, 0, W, H), QPointF(W / 2, -H * 0.1), 30, H * 1.1, kGoldLight, 16);
  // Darken the middle column a little so yellow text keeps its contrast over the rays.
  QLinearGradient column(0, 0, W, 0);
  column.setColorAt(0.0, QColor(0x30, 0x00, 0x06, 0));
  column.setColorAt(0.3, QColor(0x30, 0x00, 0x06, 70));
  column.setColorAt(0.7, QColor(0x30, 0x00, 0x06, 70));
  column.setColorAt(1.0, QColor(0x30, 0x00, 0x06, 0));
  p.fillRect(QRectF(0, H * 0.14, W, H), column);
  // The title band is the top 150 screen pixels at any screen height, so it has no hard edge in the picture:
  // the top darkens softly, and a gold glow sits behind the titles.
  PaintGlow(p, QPointF(W / 2, H * 0.07), W * 0.32, kGold, 55);
  // Sides: confetti, sparkles, clouds, firecrackers and lanterns.
  auto sides = [&](QPointF at) {
    const double dx = std::abs(at.x() - W / 2) / (W / 2);
    return dx < 0.45 ? 0.0 : std::pow((dx - 0.45) / 0.55, 0.8);
  };
  for (int i = 0; i < 10; ++i) {
    const bool left = i % 2 == 0;
    const double x = left ? rng.Uniform(0.02, 0.2) * W : rng.Uniform(0.8, 0.98) * W;
    PaintCloud(p, QPointF(x, rng.Uniform(0.25, 0.95) * H), rng.Uniform(110, 170) * s, Alpha(kGoldLight, 45), 2.5 * s,
               !left);
  }
  PaintConfetti(p, QRectF(0, H * 0.15, W, H * 0.85), 380, rng, sides, 1.2 * s);
  for (int i = 0; i < 16; ++i) {
    const bool left = i % 2 == 0;
    const double x = left ? rng.Uniform(0.02, 0.22) * W : rng.Uniform(0.78, 0.98) * W;
    PaintSparkle(p, QPointF(x, rng.Uniform(0.2, 0.95) * H), rng.Uniform(5, 12) * s, kGoldPale);
  }
  PaintFirecrackers(p, QPointF(W * 0.03, H * 0.145), 560 * s, 1.0 * s, rng);
  PaintFirecrackers(p, QPointF(W * 0.97, H * 0.145), 560 * s, 1.0 * s, rng);
  PaintLantern(p, QPointF(W * 0.09, 0), 16 * s, 96 * s, QStringLiteral("福"));
  PaintLantern(p, QPointF(W * 0.91, 0), 16 * s, 96 * s, QStringLiteral("福"));
  return img;
}

QImage PaintLatestAwardBackground(QSize size) {
  // The latest award is written in blue in the middle of the screen, so the picture is a light certificate:
  // a cream panel with a red and gold border.
  QImage img(size, QImage::Format_RGB32);
  const double W = size.width();
  const double H = size.height();
  const double s = H / 1080.0;
  Rng rng(4103);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient border(0, 0, 0, H);
  border.setColorAt(0, kRedDeep);
  border.setColorAt(0.5, kRed);
  border.setColorAt(1, kRedDeep);
  p.fillRect(img.rect(), border);
  PaintConfetti(
      p, QRectF(0, 0, W, H), 260, rng, [](QPointF) { return 1.0; }, 1.0 * s);

  const double inset = 44 * s;
  const QRectF panel(inset, inset, W - 2 * inset, H - 2 * inset);
  QRadialGradient cream(panel.center(), panel.width() * 0.6);
  cream.setColorAt(0.0, QColor(0xFF, 0xFD, 0xF4));
  cream.setColorAt(0.7, kCream);
  cream.setColorAt(1.0, QColor(0xFB, 0xE7, 0xB8));
  p.setPen(Qt::NoPen);
  p.setBrush(cream);
  p.drawRoundedRect(panel, 18 * s, 18 * s);
  p.save();
  QPainterPath clip;
  clip.addRoundedRect(panel, 18 * s, 18 * s);
  p.setClipPath(clip);
  // Very faint gold rays and clouds: texture, never competition for the blue names.
  PaintRays(p, panel, panel.center(), 40, panel.width() * 0.65, kGold, 14);
  for (int i = 0; i < 4; ++i) {
    const bool left = i % 2 == 0;
    const bool top = i < 2;
    PaintCloud(p,
               QPointF(left ? panel.left() + 150 * s : panel.right() - 150 * s,
                       top ? panel.top() + 70 * s : panel.bottom() - 60 * s),
               200 * s, Alpha(kGold, 70), 3 * s, !left);
  }
  p.restore();
  PaintGoldFrame(p, panel.adjusted(10 * s, 10 * s, -10 * s, -10 * s), s);
  p.setPen(QPen(GoldBrush(panel), 5 * s));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(panel, 18 * s, 18 * s);
  PaintLantern(p, QPointF(W * 0.035, 0), 4 * s, 70 * s);
  PaintLantern(p, QPointF(W * 0.965, 0), 4 * s, 70 * s);
  return img;
}

}  // namespace gen
