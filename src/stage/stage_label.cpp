#include "stage/stage_label.h"

#include <QPainter>
#include <QPainterPath>

namespace kavrel {
namespace {

bool IsLight(const QColor& c) {
  return c.lightness() >= 110;
}

// Light captions get a dark-red rim, dark ones a pale rim: the stage runs from deep red to gold, and a
// caption must stay readable wherever the operator drags it.
QColor RimFor(const QColor& c) {
  return IsLight(c) ? QColor(90, 6, 14) : QColor(255, 240, 200);
}

}  // namespace

StageLabel::StageLabel(QWidget* parent) : QLabel(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
}

void StageLabel::SetTextColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void StageLabel::SetEffect(LabelEffect effect) {
  effect_ = effect;
  update();
}

void StageLabel::paintEvent(QPaintEvent*) {
  const QString caption = text();
  if (caption.isEmpty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics fm(font());
  // The caption sits inside the padding the effects need; the label is as large as the caption plus
  // that padding, so this is also its centre.
  const int x = kEffectPadding / 2;
  const int baseline = kEffectPadding / 2 + fm.ascent();
  QPainterPath path;
  path.addText(QPointF(x, baseline), font(), caption);

  const QColor rim = RimFor(colour_);
  const QPen rimPen(rim, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // The bevel of the sunken and raised looks is drawn over the rim, or the rim would hide it; at stage
  // sizes it is two pixels deep so the audience sees it from the back of the hall.
  const qreal d = fm.height() >= 40 ? 2.0 : 1.0;
  switch (effect_) {
    case LabelEffect::Plain:
      p.strokePath(path, rimPen);
      break;
    case LabelEffect::Sunken:
      // Lit from the top left: the upper edge falls into shadow, the lower edge catches the light.
      p.strokePath(path, rimPen);
      p.fillPath(path.translated(-d, -d), colour_.darker(300));
      p.fillPath(path.translated(d, d), colour_.lighter(170));
      break;
    case LabelEffect::Raised:
      p.strokePath(path, rimPen);
      p.fillPath(path.translated(d, d), colour_.darker(300));
      p.fillPath(path.translated(-d, -d), QColor(255, 255, 255, 220));
      break;
    case LabelEffect::Shadow:
      p.fillPath(path.translated(3, 3), QColor(60, 0, 6, 190));
      p.strokePath(path, rimPen);
      break;
  }
  p.fillPath(path, colour_);
}

}  // namespace kavrel
