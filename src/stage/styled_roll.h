#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <vector>

#include "stage/roll_styles.h"

class QPainter;

namespace kavrel {

// Paints the sphere and the card wall for the rolling panel: the names of the pool (a sample of them)
// moving while the batch rolls, the candidates of the tick lit among them, and after the stop the
// backdrop over which the panel brings the winners forward. Names are rendered once into small
// pictures and only blitted per frame.
class StyledRoll {
 public:
  // The sphere shows at most this many names: more would only blur into each other on any screen.
  static constexpr int kMaxSphereNames = 800;
  // How long the winners take to come forward after the stop.
  static constexpr int kRevealMs = 900;

  // `names`: the pool's names (the panel takes a sample of them); `face` gives face and weight.
  void Prepare(RollStyle style, const QStringList& names, QSize area, const QFont& face, const QColor& colour);
  RollStyle Style() const { return style_; }
  bool Active() const { return style_ != RollStyle::Classic; }

  // One frame while rolling, `ms` after the roll began; `candidates` are the tick's.
  void PaintRolling(QPainter& p, const QStringList& candidates, qint64 ms);
  // The frame behind the winners after the stop, `t` (0 to 1) into the reveal.
  void PaintBackdrop(QPainter& p, qint64 stoppedAtMs, double t);
  // Where a winner comes from when the reveal begins: its place on the globe or its card.
  QPointF RevealOrigin(const QString& winner, qint64 stoppedAtMs) const;

  int NameCount() const { return static_cast<int>(names_.size()); }

 private:
  struct Name {
    QString text;
    QPixmap picture;
  };
  const QPixmap& PictureOf(int index);
  QPixmap Render(const QString& text, const QFont& font, const QColor& colour) const;
  int IndexOf(const QString& text) const;
  double Spin(qint64 ms) const;
  void PaintSphere(QPainter& p, const QStringList& lit, qint64 ms, double dim);
  void PaintCards(QPainter& p, const QStringList& lit, qint64 ms, double dim, bool frozen);
  int CardName(int card, qint64 ms) const;

  RollStyle style_ = RollStyle::Classic;
  QSize area_;
  QFont font_;
  QFont litFont_;
  QColor colour_;
  std::vector<Name> names_;
  QHash<QString, int> index_;
  std::vector<SpherePoint> points_;
  CardWall wall_;
  QPixmap card_, litCard_;
  QHash<QString, QPixmap> litPictures_;
};

}  // namespace kavrel
