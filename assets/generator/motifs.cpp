#include "motifs.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "palette.h"

namespace gen {

QFont CjkFont(double pixelSize, bool bold) {
  QFont f(QStringLiteral("Noto Sans CJK SC"));
  f.setPixelSize(std::max(1, qRound(pixelSize)));
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QColor Alpha(const QColor& c, int alpha) {
  QColor out = c;
  out.setAlpha(std::clamp(alpha, 0, 255));
  return out;
}

QBrush GoldBrush(const QRectF& box, bool vertical) {
  QLinearGradient g =
      vertical ? QLinearGradient(box.topLeft(), box.bottomLeft()) : QLinearGradient(box.topLeft(), box.topRight());
  g.setColorAt(0.0, kGoldPale);
  g.setColorAt(0.35, kGoldLight);
  g.setColorAt(0.6, kGold);
  g.setColorAt(1.0, kGoldDeep);
  return QBrush(g);
}

void PaintGlow(QPainter& p, QPointF centre, double radius, const QColor& colour, int alpha) {
  QRadialGradient g(centre, radius);
  g.setColorAt(0.0, Alpha(colour, alpha));
  g.setColorAt(0.45, Alpha(colour, alpha / 3));
  g.setColorAt(1.0, Alpha(colour, 0));
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(centre, radius, radius);
  p.restore();
}

void PaintRays(QPainter& p, const QRectF& area, QPointF origin, int count, double radius, const QColor& colour,
               int alpha) {
  // Rays are drawn on their own layer and faded with a radial mask, so they melt into the background
  // instead of ending in hard edges.
  QImage layer(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter lp(&layer);
    lp.setRenderHint(QPainter::Antialiasing);
    lp.translate(-area.topLeft());
    lp.setPen(Qt::NoPen);
    const double step = 360.0 / count;
    for (int i = 0; i < count; ++i) {
      const double a0 = qDegreesToRadians(i * step);
      const double a1 = qDegreesToRadians(i * step + step * 0.45);
      QPainterPath wedge;
      wedge.moveTo(origin);
      wedge.lineTo(origin + QPointF(std::cos(a0), -std::sin(a0)) * radius * 1.5);
      wedge.lineTo(origin + QPointF(std::cos(a1), -std::sin(a1)) * radius * 1.5);
      wedge.closeSubpath();
      lp.setBrush(Alpha(colour, alpha));
      lp.drawPath(wedge);
    }
    QRadialGradient fade(origin, radius);
    fade.setColorAt(0.0, QColor(0, 0, 0, 255));
    fade.setColorAt(0.5, QColor(0, 0, 0, 150));
    fade.setColorAt(1.0, QColor(0, 0, 0, 0));
    lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    lp.fillRect(area, fade);
  }
  p.drawImage(area.topLeft(), layer);
}

void PaintSparkle(QPainter& p, QPointF c, double r, const QColor& colour) {
  PaintGlow(p, c, r * 1.6, colour, 110);
  QPainterPath star;
  const double w = r * 0.16;
  star.moveTo(c + QPointF(0, -r));
  star.quadTo(c + QPointF(w, -w), c + QPointF(r, 0));
  star.quadTo(c + QPointF(w, w), c + QPointF(0, r));
  star.quadTo(c + QPointF(-w, w), c + QPointF(-r, 0));
  star.quadTo(c + QPointF(-w, -w), c + QPointF(0, -r));
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 252, 235));
  p.drawPath(star);
  p.restore();
}

void PaintConfetti(QPainter& p, const QRectF& area, int count, Rng& rng, const std::function<double(QPointF)>& density,
                   double scale) {
  const QColor golds[] = {kGoldLight, kGold, QColor(0xFF, 0xD4, 0x3B), kGoldPale, kGoldDeep};
  p.save();
  p.setPen(Qt::NoPen);
  int placed = 0;
  for (int tries = 0; placed < count && tries < count * 40; ++tries) {
    const QPointF at(rng.Uniform(area.left(), area.right()), rng.Uniform(area.top(), area.bottom()));
    if (!rng.Chance(density(at))) continue;
    ++placed;
    const QColor base = golds[rng.Int(0, 4)];
    p.save();
    p.translate(at);
    p.rotate(rng.Uniform(0, 360));
    const int kind = rng.Int(0, 9);
    if (kind < 6) {
      // A paper strip seen at an angle: the tilt squeezes it and darkens its back side.
      const double w = rng.Uniform(7, 15) * scale;
      const double h = rng.Uniform(3.5, 7) * scale * rng.Uniform(0.35, 1.0);
      QLinearGradient g(0, -h / 2, 0, h / 2);
      g.setColorAt(0, base.lighter(125));
      g.setColorAt(1, base.darker(130));
      p.setBrush(g);
      p.drawRect(QRectF(-w / 2, -h / 2, w, h));
    } else if (kind < 9) {
      const double r = rng.Uniform(2.2, 4.5) * scale;
      QRadialGradient g(QPointF(-r / 3, -r / 3), r * 1.4);
      g.setColorAt(0, kGoldPale);
      g.setColorAt(1, base.darker(115));
      p.setBrush(g);
      p.drawEllipse(QPointF(0, 0), r, r * rng.Uniform(0.5, 1.0));
    } else {
      // A curled streamer.
      QPainterPath curl;
      const double s = rng.Uniform(10, 22) * scale;
      curl.moveTo(-s, 0);
      curl.cubicTo(-s / 2, -s / 2, 0, s / 2, s / 2, 0);
      curl.cubicTo(s * 0.8, -s / 3, s, s / 4, s * 1.2, 0);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(base, 2.2 * scale, Qt::SolidLine, Qt::RoundCap));
      p.drawPath(curl);
    }
    p.restore();
  }
  p.restore();
}

void PaintLantern(QPainter& p, QPointF anchor, double cordLength, double w, const QString& glyph) {
  const double h = w * 0.86;
  const double capW = w * 0.46;
  const double capH = w * 0.11;
  const QPointF top = anchor + QPointF(0, cordLength);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // Cord.
  p.setPen(QPen(kGoldDeep, std::max(1.5, w * 0.025)));
  p.drawLine(anchor, top);
  // Warm glow around the lantern, so it lifts off the red background.
  const QPointF centre = top + QPointF(0, capH + h / 2);
  PaintGlow(p, centre, w * 1.15, kGold, 120);
  // Caps.
  const QRectF topCap(top.x() - capW / 2, top.y(), capW, capH);
  const QRectF bottomCap(top.x() - capW / 2, top.y() + capH + h - capH * 0.2, capW, capH);
  // Body.
  const QRectF body(centre.x() - w / 2, centre.y() - h / 2, w, h);
  QRadialGradient fill(centre - QPointF(w * 0.12, h * 0.15), w * 0.62);
  fill.setColorAt(0.0, QColor(0xFF, 0x8A, 0x4A));
  fill.setColorAt(0.35, QColor(0xF0, 0x2E, 0x22));
  fill.setColorAt(0.8, QColor(0xC0, 0x0C, 0x18));
  fill.setColorAt(1.0, QColor(0x80, 0x05, 0x10));
  p.setPen(QPen(QColor(0x70, 0x04, 0x0C), std::max(1.0, w * 0.012)));
  p.setBrush(fill);
  p.drawEllipse(body);
  // Ribs: narrower ellipses of the same height trace the bamboo frame.
  p.setBrush(Qt::NoBrush);
  for (double f : {0.22, 0.52, 0.8}) {
    p.setPen(QPen(Alpha(kGold, 150), std::max(1.0, w * 0.014)));
    p.drawEllipse(QRectF(centre.x() - w * f / 2, body.top(), w * f, h));
  }
  // Highlight on the upper left, as if lit from inside.
  PaintGlow(p, centre + QPointF(-w * 0.16, -h * 0.2), w * 0.22, QColor(255, 230, 200), 70);
  if (!glyph.isEmpty()) {
    QFont f = CjkFont(w * 0.36, true);
    p.setFont(f);
    p.setPen(Alpha(kGoldLight, 235));
    p.drawText(body, Qt::AlignCenter, glyph);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(GoldBrush(topCap));
  p.drawRoundedRect(topCap, capH * 0.35, capH * 0.35);
  p.setBrush(GoldBrush(bottomCap));
  p.drawRoundedRect(bottomCap, capH * 0.35, capH * 0.35);
  // Tassel: a knot, a bead and a gold fringe.
  const QPointF knot(top.x(), bottomCap.bottom() + w * 0.05);
  p.setPen(QPen(kGoldDeep, std::max(1.0, w * 0.02)));
  p.drawLine(QPointF(top.x(), bottomCap.bottom()), knot);
  p.setPen(Qt::NoPen);
  p.setBrush(GoldBrush(QRectF(knot - QPointF(w * 0.05, w * 0.05), QSizeF(w * 0.1, w * 0.1))));
  p.drawEllipse(knot, w * 0.05, w * 0.05);
  const double fringeTop = knot.y() + w * 0.04;
  const double fringeLen = w * 0.55;
  QLinearGradient fringe(0, fringeTop, 0, fringeTop + fringeLen);
  fringe.setColorAt(0, kGold);
  fringe.setColorAt(1, Alpha(kGoldDeep, 60));
  QPainterPath tassel;
  tassel.moveTo(top.x() - w * 0.05, fringeTop);
  tassel.lineTo(top.x() + w * 0.05, fringeTop);
  tassel.lineTo(top.x() + w * 0.09, fringeTop + fringeLen);
  tassel.lineTo(top.x() - w * 0.09, fringeTop + fringeLen);
  tassel.closeSubpath();
  p.setBrush(fringe);
  p.drawPath(tassel);
  p.setPen(QPen(Alpha(kGoldDeep, 160), std::max(0.8, w * 0.008)));
  for (int i = -3; i <= 3; ++i) {
    p.drawLine(QPointF(top.x() + i * w * 0.012, fringeTop), QPointF(top.x() + i * w * 0.024, fringeTop + fringeLen));
  }
  p.restore();
}

namespace {

void PaintCracker(QPainter& p, QPointF at, double angle, double length, double thick) {
  p.save();
  p.translate(at);
  p.rotate(angle);
  const QRectF body(0, -thick / 2, length, thick);
  QLinearGradient g(0, -thick / 2, 0, thick / 2);
  g.setColorAt(0.0, QColor(0x7A, 0x04, 0x0E));
  g.setColorAt(0.3, QColor(0xFF, 0x4A, 0x3A));
  g.setColorAt(0.55, QColor(0xE0, 0x12, 0x24));
  g.setColorAt(1.0, QColor(0x6A, 0x03, 0x0B));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(body, thick * 0.2, thick * 0.2);
  // Gold paper bands near both ends.
  QLinearGradient band(0, -thick / 2, 0, thick / 2);
  band.setColorAt(0.0, kGoldDeep);
  band.setColorAt(0.35, kGoldPale);
  band.setColorAt(1.0, kGoldDeep);
  p.setBrush(band);
  p.drawRect(QRectF(length * 0.1, -thick / 2, length * 0.1, thick));
  p.drawRect(QRectF(length * 0.8, -thick / 2, length * 0.08, thick));
  p.restore();
}

}  // namespace

void PaintFirecrackers(QPainter& p, QPointF anchor, double length, double s, Rng& rng) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  auto sway = [&](double y) { return anchor.x() + std::sin((y - anchor.y()) / (90 * s)) * 6 * s; };
  // Cord from the top edge to the knot.
  const double knotY = anchor.y() + 40 * s;
  p.setPen(QPen(kGoldDeep, 2.2 * s));
  p.drawLine(anchor, QPointF(anchor.x(), knotY));
  // Chinese knot: a gold diamond with a red heart.
  QPainterPath diamond;
  const double k = 17 * s;
  diamond.moveTo(anchor.x(), knotY - k);
  diamond.lineTo(anchor.x() + k, knotY);
  diamond.lineTo(anchor.x(), knotY + k);
  diamond.lineTo(anchor.x() - k, knotY);
  diamond.closeSubpath();
  PaintGlow(p, QPointF(anchor.x(), knotY), k * 2.2, kGold, 90);
  p.setPen(QPen(kGoldDeep, 1.2 * s));
  p.setBrush(GoldBrush(diamond.boundingRect()));
  p.drawPath(diamond);
  p.setBrush(kRed);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(anchor.x(), knotY), k * 0.38, k * 0.38);
  // The braid of crackers, alternating left and right along a gently swaying cord.
  const double start = knotY + k + 4 * s;
  const double end = anchor.y() + length;
  const double step = 10 * s;
  const double crackerLength = 30 * s;
  const double thick = 9.5 * s;
  p.setPen(QPen(QColor(0x70, 0x20, 0x10), 1.6 * s));
  QPainterPath cord;
  cord.moveTo(anchor.x(), knotY + k);
  for (double y = knotY + k; y <= end; y += 4 * s) cord.lineTo(sway(y), y);
  p.setBrush(Qt::NoBrush);
  p.drawPath(cord);
  int i = 0;
  for (double y = start; y < end; y += step, ++i) {
    const double x = sway(y);
    const double tilt = rng.Uniform(-5, 5);
    const bool left = (i % 2) == 0;
    const double angle = left ? 180 - 28 + tilt : 28 + tilt;
    PaintCracker(p, QPointF(x, y), angle, crackerLength, thick);
  }
  // The lit tip: sparks flying out of a bright core.
  const QPointF tip(sway(end), end + 12 * s);
  PaintGlow(p, tip, 70 * s, QColor(255, 220, 120), 170);
  p.setPen(Qt::NoPen);
  for (int n = 0; n < 26; ++n) {
    const double a = rng.Uniform(0, 2 * M_PI);
    const double r0 = rng.Uniform(8, 18) * s;
    const double r1 = r0 + rng.Uniform(12, 40) * s;
    QLinearGradient g(tip + QPointF(std::cos(a), std::sin(a)) * r0, tip + QPointF(std::cos(a), std::sin(a)) * r1);
    g.setColorAt(0, QColor(255, 250, 220, 255));
    g.setColorAt(1, Alpha(kGold, 0));
    p.setPen(QPen(QBrush(g), rng.Uniform(1.5, 3.2) * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tip + QPointF(std::cos(a), std::sin(a)) * r0, tip + QPointF(std::cos(a), std::sin(a)) * r1);
  }
  PaintSparkle(p, tip, 16 * s, kGoldPale);
  p.restore();
}

namespace {

// One person seen from behind: head, neck, shoulders and, when cheering, one or two raised arms.
QPainterPath Person(double x, double groundY, double r, double shoulderDrop, int arms, Rng& rng,
                    std::vector<QPointF>* hands) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  const double headY = groundY - shoulderDrop;
  path.addEllipse(QPointF(x, headY), r * 0.92, r);
  const double shoulderY = headY + r * 1.25;
  path.addRect(QRectF(x - r * 0.38, headY + r * 0.5, r * 0.76, r));
  path.addRoundedRect(QRectF(x - r * 1.95, shoulderY, r * 3.9, groundY - shoulderY + r * 4), r * 1.1, r * 1.1);
  if (arms > 0) {
    QPainterPathStroker stroker;
    stroker.setWidth(r * 0.78);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    const int first = arms == 2 ? 0 : rng.Int(0, 1);
    const int last = arms == 2 ? 1 : first;
    for (int side = first; side <= last; ++side) {
      const double dir = side == 0 ? -1.0 : 1.0;
      const QPointF shoulder(x + dir * r * 1.45, shoulderY + r * 0.45);
      const double reach = rng.Uniform(2.6, 3.6) * r;
      const double spread = rng.Uniform(0.3, 1.3) * r;
      const QPointF elbow = shoulder + QPointF(dir * (spread + r * 0.5), -reach * 0.5);
      const QPointF hand = shoulder + QPointF(dir * spread, -reach);
      QPainterPath arm;
      arm.moveTo(shoulder);
      arm.lineTo(elbow);
      arm.lineTo(hand);
      path.addPath(stroker.createStroke(arm));
      path.addEllipse(hand, r * 0.45, r * 0.5);
      if (hands) hands->push_back(hand);
    }
  }
  return path;
}

}  // namespace

std::vector<QPointF> PaintCrowd(QPainter& p, const QRectF& area, double r, Rng& rng, const QColor& backRow,
                                const QColor& frontRow, const std::function<double(double)>& raisedShare) {
  std::vector<QPointF> hands;
  const double ground = area.bottom();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  // Back row: smaller people, standing higher, lit from the glow behind.
  {
    QPainterPath row;
    row.setFillRule(Qt::WindingFill);
    for (double x = area.left() - r; x < area.right() + 2 * r; x += rng.Uniform(2.3, 3.1) * r * 0.8) {
      const double rr = r * rng.Uniform(0.7, 0.85);
      const int arms = rng.Chance(raisedShare(x)) ? (rng.Chance(0.45) ? 2 : 1) : 0;
      row.addPath(Person(x, ground, rr, rng.Uniform(3.3, 4.0) * r, arms, rng, &hands));
    }
    p.setBrush(backRow);
    p.drawPath(row.simplified());
  }
  // Front row: bigger and darker, nearer to the viewer.
  {
    QPainterPath row;
    row.setFillRule(Qt::WindingFill);
    for (double x = area.left() - r * 0.5; x < area.right() + 2 * r; x += rng.Uniform(3.2, 4.2) * r) {
      const double rr = r * rng.Uniform(0.95, 1.12);
      const int arms = rng.Chance(raisedShare(x)) ? (rng.Chance(0.5) ? 2 : 1) : 0;
      row.addPath(Person(x, ground, rr, rng.Uniform(2.1, 2.7) * r, arms, rng, &hands));
    }
    QLinearGradient g(0, area.top(), 0, ground);
    g.setColorAt(0, frontRow.lighter(120));
    g.setColorAt(1, frontRow);
    p.setBrush(g);
    p.drawPath(row.simplified());
  }
  p.restore();
  return hands;
}

void PaintOutlinedText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
                       const QColor& fill, const QColor& outline, double outlineWidth) {
  // Lay the text out once with QPainter's own alignment, then draw it as a path so the stroke hugs the glyphs.
  const QFontMetricsF fm(font);
  const QRectF bounds = fm.boundingRect(box, flags, text);
  QPainterPath path;
  const QStringList lines = text.split(QLatin1Char('\n'));
  double y = bounds.top() + fm.ascent();
  for (const QString& line : lines) {
    const double w = fm.horizontalAdvance(line);
    double x = box.left();
    if (flags & Qt::AlignHCenter) x = box.left() + (box.width() - w) / 2;
    if (flags & Qt::AlignRight) x = box.right() - w;
    path.addText(QPointF(x, y), font, line);
    y += fm.lineSpacing();
  }
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
  p.restore();
}

}  // namespace gen
