#include "stage/roll_styles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavrel {

QString RollStyleName(RollStyle style) {
  switch (style) {
    case RollStyle::Sphere:
      return QStringLiteral("球体");
    case RollStyle::CardWall:
      return QStringLiteral("卡片墙");
    case RollStyle::Classic:
      break;
  }
  return QStringLiteral("经典");
}

RollStyle RollStyleFromName(const QString& name) {
  const QString n = name.trimmed();
  if (n == RollStyleName(RollStyle::Sphere)) return RollStyle::Sphere;
  if (n == RollStyleName(RollStyle::CardWall)) return RollStyle::CardWall;
  return RollStyle::Classic;
}

std::vector<SpherePoint> SpherePoints(int count) {
  std::vector<SpherePoint> points;
  if (count <= 0) return points;
  points.reserve(static_cast<std::size_t>(count));
  const double golden = std::numbers::pi * (3.0 - std::sqrt(5.0));
  for (int i = 0; i < count; ++i) {
    const double y = count == 1 ? 0 : 1.0 - 2.0 * (i + 0.5) / count;
    const double r = std::sqrt(std::max(0.0, 1.0 - y * y));
    const double a = golden * i;
    points.push_back({r * std::cos(a), y, r * std::sin(a)});
  }
  return points;
}

SpherePlace PlaceOnSphere(const SpherePoint& p, double spin, double tilt, QSizeF area) {
  // Turn about the vertical axis, then tilt about the horizontal one.
  const double cs = std::cos(spin), ss = std::sin(spin);
  const double x1 = p.x * cs + p.z * ss;
  const double z1 = -p.x * ss + p.z * cs;
  const double ct = std::cos(tilt), st = std::sin(tilt);
  const double y2 = p.y * ct - z1 * st;
  const double z2 = p.y * st + z1 * ct;
  // A gentle perspective: the viewer stands three radii in front of the centre.
  constexpr double kViewer = 3.0;
  const double perspective = kViewer / (kViewer - z2);
  // The globe is a little wider than high, as a projector screen is.
  const double rx = area.width() * 0.36;
  const double ry = area.height() * 0.42;
  SpherePlace place;
  place.centre = QPointF(area.width() / 2 + x1 * rx * perspective, area.height() / 2 + y2 * ry * perspective);
  place.scale = perspective * 0.75;
  place.depth = (z2 + 1) / 2;
  return place;
}

QRectF CardWall::Card(int index) const {
  const int row = columns > 0 ? index / columns : 0;
  const int column = columns > 0 ? index % columns : 0;
  return {origin.x() + column * (card.width() + gap), origin.y() + row * (card.height() + gap), card.width(),
          card.height()};
}

CardWall LayOutCardWall(QSizeF area, double cardHeight, double cardAspect, int maxCards) {
  CardWall wall;
  if (area.isEmpty() || cardHeight <= 0 || maxCards <= 0) return wall;
  const double gap = std::max(2.0, cardHeight * 0.12);
  const double cardWidth = cardHeight * cardAspect;
  wall.columns = std::max(1, static_cast<int>((area.width() + gap) / (cardWidth + gap)));
  wall.rows = std::max(1, static_cast<int>((area.height() + gap) / (cardHeight + gap)));
  // Fewer names than places: fewer rows, so the wall stays whole.
  while (wall.rows > 1 && wall.columns * (wall.rows - 1) >= maxCards) --wall.rows;
  // The cards stretch to use the whole width and height.
  const double w = (area.width() - (wall.columns - 1) * gap) / wall.columns;
  const double h = std::min(cardHeight * 1.6, (area.height() - (wall.rows - 1) * gap) / wall.rows);
  wall.card = QSizeF(w, h);
  wall.gap = gap;
  const double blockHeight = wall.rows * h + (wall.rows - 1) * gap;
  wall.origin = QPointF(0, (area.height() - blockHeight) / 2);
  return wall;
}

}  // namespace kavrel
