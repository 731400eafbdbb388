// The lock screen: a pale light-blue winter scene (snowy hills, pines, falling snow) with a branch of red plum
// blossom in the upper corner, so it still belongs to the festive family. The middle stays light and calm: the
// lock message is red, the password row black and blue.
#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

namespace {

const QColor kSkyTop(0xD4, 0xE8, 0xF6);
const QColor kSkyLow(0xF2, 0xF8, 0xFC);
const QColor kSnow(0xFC, 0xFE, 0xFF);
const QColor kSnowShade(0xD8, 0xE8, 0xF4);
const QColor kPine(0xA8, 0xC4, 0xD8);
const QColor kBark(0x4A, 0x2C, 0x22);

void PaintHill(QPainter& p, double W, double H, double top, double amplitude, double phase, const QColor& light,
               const QColor& shade) {
  QPainterPath hill;
  hill.moveTo(0, H);
  for (double x = 0; x <= W + 10; x += 10) {
    const double y =
        top + amplitude * std::sin(x / W * 2.6 * M_PI + phase) + amplitude * 0.4 * std::sin(x / W * 7 + phase);
    hill.lineTo(x, y);
  }
  hill.lineTo(W, H);
  hill.closeSubpath();
  QLinearGradient g(0, top - amplitude, 0, H);
  g.setColorAt(0, light);
  g.setColorAt(1, shade);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(hill);
}

void PaintPine(QPainter& p, QPointF base, double height, const QColor& colour) {
  QPainterPath tree;
  const int tiers = 4;
  for (int i = 0; i < tiers; ++i) {
    const double t0 = base.y() - height * (0.15 + i * 0.2);
    const double w = height * (0.42 - i * 0.08);
    tree.moveTo(base.x(), t0 - height * 0.32);
    tree.lineTo(base.x() + w / 2, t0);
    tree.lineTo(base.x() - w / 2, t0);
    tree.closeSubpath();
  }
  tree.addRect(QRectF(base.x() - height * 0.03, base.y() - height * 0.16, height * 0.06, height * 0.16));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(tree.simplified());
  // Snow resting on the tiers.
  p.setBrush(Alpha(kSnow, 220));
  for (int i = 0; i < tiers; ++i) {
    const double t0 = base.y() - height * (0.15 + i * 0.2);
    const double w = height * (0.42 - i * 0.08);
    p.drawEllipse(QPointF(base.x(), t0 - height * 0.02), w * 0.36, height * 0.025);
  }
}

void PaintSnowflake(QPainter& p, QPointF c, double r, int alpha) {
  p.save();
  p.translate(c);
  p.setPen(QPen(QColor(255, 255, 255, alpha), std::max(1.0, r * 0.14), Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 6; ++i) {
    p.drawLine(QPointF(0, 0), QPointF(0, -r));
    p.drawLine(QPointF(0, -r * 0.55), QPointF(r * 0.25, -r * 0.78));
    p.drawLine(QPointF(0, -r * 0.55), QPointF(-r * 0.25, -r * 0.78));
    p.rotate(60);
  }
  p.restore();
}

void PaintBlossom(QPainter& p, QPointF c, double r, double turn, bool open) {
  p.save();
  p.translate(c);
  p.rotate(turn);
  if (!open) {
    QRadialGradient bud(QPointF(-r * 0.2, -r * 0.2), r * 0.7);
    bud.setColorAt(0, QColor(0xFF, 0x7A, 0x8A));
    bud.setColorAt(1, QColor(0xB0, 0x10, 0x2A));
    p.setPen(Qt::NoPen);
    p.setBrush(bud);
    p.drawEllipse(QPointF(0, 0), r * 0.45, r * 0.55);
    p.restore();
    return;
  }
  for (int i = 0; i < 5; ++i) {
    QRadialGradient petal(QPointF(0, -r * 0.35), r * 0.6);
    petal.setColorAt(0, QColor(0xFF, 0x8C, 0x9A));
    petal.setColorAt(0.7, QColor(0xE0, 0x24, 0x44));
    petal.setColorAt(1, QColor(0xB8, 0x10, 0x2C));
    p.setPen(QPen(QColor(0x9A, 0x08, 0x20, 120), std::max(0.8, r * 0.03)));
    p.setBrush(petal);
    p.drawEllipse(QPointF(0, -r * 0.5), r * 0.42, r * 0.48);
    p.rotate(72);
  }
  p.setPen(QPen(QColor(0xFF, 0xE0, 0x8A), std::max(1.0, r * 0.05)));
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    p.drawLine(QPointF(0, 0), QPointF(std::cos(a), std::sin(a)) * r * 0.34);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xF2, 0xB6, 0x32));
  p.drawEllipse(QPointF(0, 0), r * 0.12, r * 0.12);
  p.restore();
}

// A plum branch growing in from the top-left corner, with blossoms and buds along it.
void PaintPlumBranch(QPainter& p, double s, Rng& rng) {
  struct Twig {
    QPainterPath path;
    double width;
  };
  std::vector<Twig> twigs;
  QPainterPath main;
  main.moveTo(-20 * s, 120 * s);
  main.cubicTo(140 * s, 90 * s, 220 * s, 200 * s, 380 * s, 170 * s);
  main.cubicTo(480 * s, 150 * s, 540 * s, 210 * s, 640 * s, 230 * s);
  twigs.push_back({main, 16 * s});
  QPainterPath a;
  a.moveTo(200 * s, 150 * s);
  a.cubicTo(240 * s, 80 * s, 300 * s, 60 * s, 340 * s, 20 * s);
  twigs.push_back({a, 8 * s});
  QPainterPath b;
  b.moveTo(380 * s, 170 * s);
  b.cubicTo(400 * s, 240 * s, 360 * s, 300 * s, 390 * s, 360 * s);
  twigs.push_back({b, 7 * s});
  QPainterPath c;
  c.moveTo(520 * s, 200 * s);
  c.cubicTo(560 * s, 150 * s, 600 * s, 130 * s, 660 * s, 120 * s);
  twigs.push_back({c, 6 * s});
  for (const Twig& t : twigs) {
    QPainterPathStroker stroker;
    stroker.setWidth(t.width);
    stroker.setCapStyle(Qt::RoundCap);
    p.setPen(Qt::NoPen);
    p.setBrush(kBark);
    p.drawPath(stroker.createStroke(t.path));
    // Snow along the top of the branch.
    p.setBrush(Alpha(kSnow, 230));
    for (double f = 0.1; f < 0.95; f += 0.18) {
      const QPointF at = t.path.pointAtPercent(f);
      p.drawEllipse(at - QPointF(0, t.width * 0.45), t.width * 0.9, t.width * 0.28);
    }
  }
  for (const Twig& t : twigs) {
    for (double f = 0.2; f <= 1.0; f += rng.Uniform(0.12, 0.2)) {
      const QPointF at = t.path.pointAtPercent(std::min(f, 1.0));
      const QPointF off(rng.Uniform(-14, 14) * s, rng.Uniform(-16, 8) * s);
      PaintBlossom(p, at + off, rng.Uniform(18, 28) * s, rng.Uniform(0, 72), rng.Chance(0.72));
    }
  }
}

}  // namespace

QImage PaintLockBackground(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  const double W = size.width();
  const double H = size.height();
  const double s = H / 1080.0;
  Rng rng(3401);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, H);
  sky.setColorAt(0, kSkyTop);
  sky.setColorAt(0.65, kSkyLow);
  sky.setColorAt(1, kSkyLow);
  p.fillRect(img.rect(), sky);
  // Low winter sun, a warm touch in the cold picture.
  PaintGlow(p, QPointF(W * 0.78, H * 0.3), H * 0.45, QColor(0xFF, 0xF3, 0xD6), 150);

  // Far hills with pines, then the near snowfield.
  PaintHill(p, W, H, H * 0.72, H * 0.03, 0.6, QColor(0xE6, 0xF0, 0xF8), QColor(0xD0, 0xE2, 0xF0));
  for (int i = 0; i < 26; ++i) {
    const double x = rng.Uniform(0, W);
    if (std::abs(x - W / 2) < W * 0.18) continue;  // keep the middle open behind the password row
    PaintPine(p, QPointF(x, H * 0.74 + rng.Uniform(0, H * 0.04)), rng.Uniform(90, 170) * s, kPine);
  }
  PaintHill(p, W, H, H * 0.82, H * 0.035, 2.1, kSnow, kSnowShade);
  for (int i = 0; i < 10; ++i) {
    const double x = rng.Uniform(0, W);
    if (std::abs(x - W / 2) < W * 0.25) continue;
    PaintPine(p, QPointF(x, H * 0.86 + rng.Uniform(0, H * 0.05)), rng.Uniform(160, 240) * s, QColor(0x8E, 0xB0, 0xC8));
  }
  PaintHill(p, W, H, H * 0.92, H * 0.02, 4.0, kSnow, QColor(0xE4, 0xEE, 0xF6));

  // Falling snow: soft dots everywhere, a few crystal flakes near the edges.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 700; ++i) {
    const QPointF at(rng.Uniform(0, W), rng.Uniform(0, H));
    const double r = rng.Uniform(1.5, 5.0) * s;
    p.setBrush(QColor(255, 255, 255, int(rng.Uniform(140, 240))));
    p.drawEllipse(at, r, r);
  }
  for (int i = 0; i < 40; ++i) {
    const bool left = i % 2 == 0;
    const QPointF at(left ? rng.Uniform(0.02, 0.3) * W : rng.Uniform(0.7, 0.98) * W, rng.Uniform(0.05, 0.8) * H);
    PaintSnowflake(p, at, rng.Uniform(8, 20) * s, 230);
  }

  PaintPlumBranch(p, s, rng);
  return img;
}

}  // namespace gen
