#pragma once

// The looks a roll can take besides the classic grid, and their geometry as pure functions: where the
// names of a sphere stand for an angle of its spin, and how a wall of cards fills the area. What is
// drawn is the same draw: the candidates of each tick and, at the stop, the batch's winners.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace kavrel {

enum class RollStyle {
  Classic = 0,   // the rolling grid of names
  Sphere = 1,    // a spinning globe of names; the winners come to the front at the stop
  CardWall = 2,  // a wall of name cards that flicker; the winners' cards turn over at the stop
};

// The names the operator sees ("经典", "球体", "卡片墙") and back; anything else reads as classic, so
// settings written before the styles existed keep the classic roll.
QString RollStyleName(RollStyle style);
RollStyle RollStyleFromName(const QString& name);

// `count` points spread evenly over the unit sphere (a Fibonacci lattice), from the top to the bottom.
struct SpherePoint {
  double x = 0, y = 0, z = 0;
};
std::vector<SpherePoint> SpherePoints(int count);

// A point of the sphere turned by `spin` radians about the vertical axis and tilted by `tilt` towards
// the viewer, in an area: its centre on screen, its scale (1 at the front, smaller behind) and its
// depth (0 at the back, 1 at the front).
struct SpherePlace {
  QPointF centre;
  double scale = 1;
  double depth = 0;
};
SpherePlace PlaceOnSphere(const SpherePoint& p, double spin, double tilt, QSizeF area);

// The cards of a wall: as many as fit at about `cardHeight`, with their rectangles, row by row.
struct CardWall {
  int columns = 0;
  int rows = 0;
  QSizeF card;
  double gap = 0;
  QPointF origin;
  int Count() const { return columns * rows; }
  QRectF Card(int index) const;
};
CardWall LayOutCardWall(QSizeF area, double cardHeight, double cardAspect, int maxCards);

}  // namespace kavrel
