// The stage background: the picture the audience looks at for hours. Deep red at the top where the yellow
// titles sit, a calmer red band in the middle where candidates roll, a warm gold horizon behind a cheering
// crowd at the bottom, lanterns and firecrackers framing the upper corners.
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

QImage PaintStageBackground(QSize size) {
  QImage img(size, QImage::Format_RGB32);
  const double W = size.width();
  const double H = size.height();
  const double s = H / 1080.0;  // every measure below is designed for 1080 lines
  Rng rng(20260209);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);

  // Sky: deep red rising to gold at the horizon behind the crowd.
  QLinearGradient sky(0, 0, 0, H);
  sky.setColorAt(0.00, QColor(0x74, 0x06, 0x12));
  sky.setColorAt(0.18, kRedDeep);
  sky.setColorAt(0.55, kRed);
  sky.setColorAt(0.78, QColor(0xCE, 0x22, 0x2A));
  sky.setColorAt(0.83, QColor(0xE4, 0x62, 0x2C));
  sky.setColorAt(0.87, kGold);
  sky.setColorAt(0.92, kGoldLight);
  p.fillRect(img.rect(), sky);

  // Stage light from below: a wide gold glow where the crowd stands.
  PaintGlow(p, QPointF(W / 2, H * 1.02), W * 0.5, kGoldLight, 140);

  // Soft rays from the horizon, faint enough not to fight the rolling text.
  PaintRays(p, QRectF(0, 0, W, H), QPointF(W / 2, H * 0.98), 40, H * 0.95, kGoldLight, 24);

  // Vignette: darker corners frame the picture and keep the edges calm on a projector.
  QRadialGradient vignette(QPointF(W / 2, H * 0.48), W * 0.75);
  vignette.setColorAt(0.55, QColor(0x40, 0x00, 0x08, 0));
  vignette.setColorAt(1.0, QColor(0x40, 0x00, 0x08, 150));
  p.fillRect(img.rect(), vignette);

  // Confetti: thick at the top and sides, thin over the middle where names roll.
  auto density = [&](QPointF at) {
    const double dx = std::abs(at.x() - W / 2) / (W / 2);
    const double dy = at.y() / H;
    double d = 0.06 + 0.95 * std::pow(dx, 2.2);
    if (dy < 0.16) d = std::max(d, 0.55);
    if (dy > 0.78) d *= 0.4;
    return std::min(1.0, d);
  };
  PaintConfetti(p, QRectF(0, 0, W, H * 0.86), 520, rng, density, s * 1.15);

  // Upper corners: firecrackers on the outside, lanterns further in, mirrored.
  // Measured from the edges in design pixels, so a 4:3 picture keeps the same spacing as a wide one.
  PaintFirecrackers(p, QPointF(67 * s, 0), 430 * s, 1.05 * s, rng);
  PaintFirecrackers(p, QPointF(W - 67 * s, 0), 430 * s, 1.05 * s, rng);
  PaintLantern(p, QPointF(202 * s, 0), 70 * s, 150 * s, QStringLiteral("福"));
  PaintLantern(p, QPointF(W - 202 * s, 0), 70 * s, 150 * s, QStringLiteral("福"));
  PaintLantern(p, QPointF(336 * s, 0), 20 * s, 105 * s);
  PaintLantern(p, QPointF(W - 336 * s, 0), 20 * s, 105 * s);

  // Sparkles scattered near the frame.
  for (int i = 0; i < 26; ++i) {
    const bool left = i % 2 == 0;
    const double x = left ? rng.Uniform(0.02, 0.3) * W : rng.Uniform(0.7, 0.98) * W;
    const double y = rng.Uniform(0.05, 0.75) * H;
    PaintSparkle(p, QPointF(x, y), rng.Uniform(5, 13) * s, kGoldPale);
  }

  // The cheering crowd along the bottom edge, with a few glow sticks. Fewer hands go up in the middle, where the
  // drawer caption, the status line and the buttons sit.
  auto calmMiddle = [&](double x) { return std::abs(x - W / 2) < W * 0.2 ? 0.12 : 0.55; };
  const std::vector<QPointF> hands =
      PaintCrowd(p, QRectF(0, H * 0.84, W, H * 0.16), 22 * s, rng, QColor(0x8C, 0x22, 0x18), kRedNight, calmMiddle);
  for (size_t i = 0; i < hands.size(); i += 3) {
    const QPointF h = hands[i];
    if (std::abs(h.x() - W / 2) < W * 0.2) continue;
    const QPointF tip = h + QPointF(rng.Uniform(-8, 8) * s, -rng.Uniform(22, 30) * s);
    PaintGlow(p, tip, 20 * s, kGoldLight, 140);
    p.setPen(QPen(kGoldPale, 4.5 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(h, tip);
  }
  return img;
}

}  // namespace gen
