// The application icon: a red medallion with a gold rim and the character 奖 in gold, readable from 16 pixels up.
#include <QLinearGradient>
#include <QRadialGradient>

#include "motifs.h"
#include "palette.h"
#include "pictures.h"

namespace gen {

QImage PaintAppIcon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  const double S = size;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QRectF outer(S * 0.03, S * 0.03, S * 0.94, S * 0.94);
  const double radius = S * 0.22;
  p.setPen(Qt::NoPen);
  p.setBrush(GoldBrush(outer));
  p.drawRoundedRect(outer, radius, radius);
  const double rim = std::max(1.0, S * 0.055);
  const QRectF inner = outer.adjusted(rim, rim, -rim, -rim);
  QRadialGradient red(inner.center() - QPointF(0, S * 0.15), S * 0.62);
  red.setColorAt(0.0, QColor(0xF2, 0x3C, 0x3A));
  red.setColorAt(0.6, kRed);
  red.setColorAt(1.0, kRedDeep);
  p.setBrush(red);
  p.drawRoundedRect(inner, radius * 0.8, radius * 0.8);
  if (size >= 48) {
    // Rays behind the glyph, only where there is room for them.
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(inner, radius * 0.8, radius * 0.8);
    p.setClipPath(clip);
    PaintRays(p, inner, inner.center(), 16, S * 0.55, kGoldLight, 40);
    p.restore();
  }
  const QFont font = CjkFont(S * 0.62, true);
  PaintOutlinedText(p, inner.adjusted(0, -S * 0.02, 0, 0), Qt::AlignCenter, QStringLiteral("奖"), font, kGoldLight,
                    QColor(0x6A, 0x04, 0x0E), std::max(1.0, S * 0.05));
  if (size >= 64) PaintSparkle(p, QPointF(S * 0.78, S * 0.22), S * 0.07, kGoldPale);
  return img;
}

}  // namespace gen
