// Festive motifs drawn with QPainter: light rays, confetti, sparkles, lanterns, firecracker strings and the
// cheering crowd. Every motif takes its randomness from a seeded Rng so that a rebuild gives the same files.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <random>
#include <vector>

namespace gen {

class Rng {
 public:
  explicit Rng(unsigned seed) : engine_(seed) {}
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine_); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
  bool Chance(double p) { return Uniform(0.0, 1.0) < p; }

 private:
  std::mt19937 engine_;
};

// The CJK face every picture uses for its own words.
QFont CjkFont(double pixelSize, bool bold);

// Colour with a given alpha, for the many translucent layers.
QColor Alpha(const QColor& c, int alpha);

// Soft light rays fanning out of origin; they fade out towards radius.
void PaintRays(QPainter& p, const QRectF& area, QPointF origin, int count, double radius, const QColor& colour,
               int alpha);

// A soft round glow (a radial gradient from colour to transparent).
void PaintGlow(QPainter& p, QPointF centre, double radius, const QColor& colour, int alpha);

// Gold confetti over area; density(point) in 0..1 thins it out where text has to stay readable.
void PaintConfetti(QPainter& p, const QRectF& area, int count, Rng& rng, const std::function<double(QPointF)>& density,
                   double scale = 1.0);

// A four-pointed glint with a soft halo.
void PaintSparkle(QPainter& p, QPointF centre, double radius, const QColor& colour);

// A red lantern hanging on a cord from anchor; width is the lantern body's width.
void PaintLantern(QPainter& p, QPointF anchor, double cordLength, double width, const QString& glyph = {});

// A string of firecrackers hanging from anchor with a bursting tip.
void PaintFirecrackers(QPainter& p, QPointF anchor, double length, double scale, Rng& rng);

// A cheering crowd seen from behind, standing on the bottom edge of area. Two rows: the back row lighter.
// raisedShare(x) is the share of people at x who raise their hands. Returns the points of the raised hands (for
// glow sticks and sparkles).
std::vector<QPointF> PaintCrowd(QPainter& p, const QRectF& area, double headRadius, Rng& rng, const QColor& backRow,
                                const QColor& frontRow, const std::function<double(double)>& raisedShare);

// Text with an outline, the way the stage draws its titles (fill over a darker stroke).
void PaintOutlinedText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
                       const QColor& fill, const QColor& outline, double outlineWidth);

// A rounded gold frame line (gradient from light to deep gold).
QBrush GoldBrush(const QRectF& box, bool vertical = true);

}  // namespace gen
