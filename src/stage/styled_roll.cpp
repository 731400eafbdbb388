#include "stage/styled_roll.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace kavrel {
namespace {

const QColor kLit(0xFF, 0xF3, 0xC4);
const QColor kRim(70, 0, 8, 210);

// A stable small number for a text, so a candidate lands on the same card or place every time.
int Spread(const QString& text, int count) {
  return count > 0 ? static_cast<int>(qHash(text) % static_cast<uint>(count)) : 0;
}

// 0 to 1, the same for the same inputs: the flicker of a card.
double Flicker(int card, qint64 step) {
  const double v = std::sin(card * 12.9898 + static_cast<double>(step) * 78.233) * 43758.5453;
  return v - std::floor(v);
}

QPixmap CardPicture(QSizeF size, bool lit) {
  const QSize s = size.toSize().expandedTo(QSize(4, 4));
  QPixmap card(s);
  card.fill(Qt::transparent);
  QPainter p(&card);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, s.height());
  if (lit) {
    g.setColorAt(0, QColor(0xFF, 0xE0, 0x8A));
    g.setColorAt(1, QColor(0xF2, 0xB6, 0x32));
  } else {
    g.setColorAt(0, QColor(0x9E, 0x10, 0x20));
    g.setColorAt(1, QColor(0x5A, 0x05, 0x0E));
  }
  const double r = s.height() * 0.14;
  p.setBrush(g);
  p.setPen(QPen(QColor(0xF2, 0xB6, 0x32, lit ? 255 : 150), std::max(1.0, s.height() * 0.04)));
  p.drawRoundedRect(QRectF(1, 1, s.width() - 2, s.height() - 2), r, r);
  return card;
}

}  // namespace

void StyledRoll::Prepare(RollStyle style, const QStringList& names, QSize area, const QFont& face,
                         const QColor& colour) {
  style_ = style;
  area_ = area;
  colour_ = colour;
  names_.clear();
  index_.clear();
  litPictures_.clear();
  points_.clear();
  if (!Active() || area.isEmpty()) return;
  // An even sample of the pool: the same names for the whole roll.
  const int limit = style == RollStyle::Sphere ? kMaxSphereNames : 400;
  const int n = static_cast<int>(std::min<qsizetype>(names.size(), limit));
  const double step = n > 0 ? static_cast<double>(names.size()) / n : 1;
  names_.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const QString& text = names[static_cast<qsizetype>(i * step)];
    index_.insert(text, i);
    names_.push_back({text, {}});
  }
  font_ = face;
  litFont_ = face;
  if (style == RollStyle::Sphere) {
    points_ = SpherePoints(n);
    font_.setPixelSize(std::max(8, area.height() / 24));
    litFont_.setPixelSize(std::max(10, area.height() / 11));
  } else {
    wall_ = LayOutCardWall(QSizeF(area), std::max(24.0, area.height() / 8.0), 2.8, std::max(1, n));
    font_.setPixelSize(std::max(8, static_cast<int>(wall_.card.height() * 0.42)));
    litFont_ = font_;
    card_ = CardPicture(wall_.card, false);
    litCard_ = CardPicture(wall_.card, true);
  }
}

QPixmap StyledRoll::Render(const QString& text, const QFont& font, const QColor& colour) const {
  const QFontMetrics fm(font);
  const QSize size(fm.horizontalAdvance(text) + 4, fm.height() + 2);
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setFont(font);
  p.setPen(kRim);
  for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
    p.drawText(QPoint(2, fm.ascent() + 1) + d, text);
  p.setPen(colour);
  p.drawText(QPoint(2, fm.ascent() + 1), text);
  return picture;
}

const QPixmap& StyledRoll::PictureOf(int index) {
  Name& name = names_[static_cast<std::size_t>(index)];
  if (name.picture.isNull()) name.picture = Render(name.text, font_, colour_);
  return name.picture;
}

int StyledRoll::IndexOf(const QString& text) const {
  const auto it = index_.constFind(text);
  return it != index_.constEnd() ? it.value() : Spread(text, NameCount());
}

double StyledRoll::Spin(qint64 ms) const {
  return ms * 0.0021;  // about one turn in three seconds
}

void StyledRoll::PaintRolling(QPainter& p, const QStringList& candidates, qint64 ms) {
  if (style_ == RollStyle::Sphere)
    PaintSphere(p, candidates, ms, 0);
  else if (style_ == RollStyle::CardWall)
    PaintCards(p, candidates, ms, 0, false);
}

void StyledRoll::PaintBackdrop(QPainter& p, qint64 stoppedAtMs, double t) {
  // The globe keeps turning slowly behind the winners; the cards stand still.
  if (style_ == RollStyle::Sphere)
    PaintSphere(p, {}, stoppedAtMs + static_cast<qint64>(t * 300), t);
  else if (style_ == RollStyle::CardWall)
    PaintCards(p, {}, stoppedAtMs, t, true);
}

void StyledRoll::PaintSphere(QPainter& p, const QStringList& lit, qint64 ms, double dim) {
  const int n = NameCount();
  if (n == 0) return;
  const double spin = Spin(ms);
  constexpr double kTilt = 0.28;
  struct Placed {
    int index;
    SpherePlace place;
  };
  std::vector<Placed> placed;
  placed.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    placed.push_back({i, PlaceOnSphere(points_[static_cast<std::size_t>(i)], spin, kTilt, QSizeF(area_))});
  // Back to front, so the front names cover the ones behind.
  std::sort(placed.begin(), placed.end(),
            [](const Placed& a, const Placed& b) { return a.place.depth < b.place.depth; });
  const double fade = 1.0 - 0.75 * dim;
  for (const Placed& pl : placed) {
    const QPixmap& picture = PictureOf(pl.index);
    const QSizeF size = QSizeF(picture.size()) * pl.place.scale;
    p.setOpacity((0.25 + 0.75 * pl.place.depth) * fade);
    p.drawPixmap(QRectF(pl.place.centre - QPointF(size.width() / 2, size.height() / 2), size), picture,
                 QRectF(picture.rect()));
  }
  p.setOpacity(1);
  // The tick's candidates light up where they stand on the globe.
  for (const QString& c : lit) {
    const SpherePlace place = PlaceOnSphere(points_[static_cast<std::size_t>(IndexOf(c))], spin, kTilt, QSizeF(area_));
    auto it = litPictures_.find(c);
    if (it == litPictures_.end()) {
      if (litPictures_.size() > 4000) litPictures_.clear();
      it = litPictures_.insert(c, Render(c, litFont_, kLit));
    }
    const QSizeF size = QSizeF(it->size()) * std::max(0.6, place.scale);
    p.drawPixmap(QRectF(place.centre - QPointF(size.width() / 2, size.height() / 2), size), *it, QRectF(it->rect()));
  }
}

int StyledRoll::CardName(int card, qint64 ms) const {
  const int n = NameCount();
  // Each card changes name at its own pace, so the wall never ticks in step.
  const qint64 step = ms / (70 + (card % 5) * 23);
  return static_cast<int>((card * 131 + step * (7 + card % 11)) % n);
}

void StyledRoll::PaintCards(QPainter& p, const QStringList& lit, qint64 ms, double dim, bool frozen) {
  const int n = NameCount();
  if (n == 0) return;
  const int cards = wall_.Count();
  std::vector<int> litCard(static_cast<std::size_t>(cards), -1);
  for (int i = 0; i < static_cast<int>(lit.size()); ++i) litCard[static_cast<std::size_t>(Spread(lit[i], cards))] = i;
  const qint64 step = ms / 90;
  for (int c = 0; c < cards; ++c) {
    const QRectF r = wall_.Card(c);
    const int litIndex = litCard[static_cast<std::size_t>(c)];
    if (litIndex >= 0) {
      p.setOpacity(1);
      p.drawPixmap(r.topLeft(), litCard_);
      auto it = litPictures_.find(lit[litIndex]);
      if (it == litPictures_.end()) {
        if (litPictures_.size() > 4000) litPictures_.clear();
        it = litPictures_.insert(lit[litIndex], Render(lit[litIndex], font_, QColor(0x5A, 0x05, 0x0E)));
      }
      const QPixmap& name = *it;
      const double s = std::min(1.0, (r.width() - 8) / std::max(1, name.width()));
      const QSizeF size = QSizeF(name.size()) * s;
      p.drawPixmap(QRectF(r.center() - QPointF(size.width() / 2, size.height() / 2), size), name, QRectF(name.rect()));
      continue;
    }
    const double glow = frozen ? 0.6 : 0.45 + 0.55 * Flicker(c, step);
    p.setOpacity(glow * (1.0 - 0.7 * dim));
    p.drawPixmap(r.topLeft(), card_);
    const QPixmap& name = PictureOf(CardName(c, frozen ? 0 : ms));
    const double s = std::min(1.0, (r.width() - 8) / std::max(1, name.width()));
    const QSizeF size = QSizeF(name.size()) * s;
    p.drawPixmap(QRectF(r.center() - QPointF(size.width() / 2, size.height() / 2), size), name, QRectF(name.rect()));
  }
  p.setOpacity(1);
}

QPointF StyledRoll::RevealOrigin(const QString& winner, qint64 stoppedAtMs) const {
  if (style_ == RollStyle::Sphere && NameCount() > 0)
    return PlaceOnSphere(points_[static_cast<std::size_t>(IndexOf(winner))], Spin(stoppedAtMs), 0.28, QSizeF(area_))
        .centre;
  if (style_ == RollStyle::CardWall && wall_.Count() > 0) return wall_.Card(Spread(winner, wall_.Count())).center();
  return {area_.width() / 2.0, area_.height() / 2.0};
}

}  // namespace kavrel
