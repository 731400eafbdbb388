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
  switch (effect_) {
    case LabelEffect::Plain:
      break;
    case LabelEffect::Sunken:
      // Lit from the top left: the upper edge falls into shadow, the lower edge catches the light.
      p.fillPath(path.translated(-1, -1), colour_.darker(300));
      p.fillPath(path.translated(1, 1), colour_.lighter(160));
      break;
    case LabelEffect::Raised:
      p.fillPath(path.translated(-1, -1), QColor(255, 255, 255, 200));
      p.fillPath(path.translated(2, 2), colour_.darker(300));
      break;
    case LabelEffect::Shadow:
      p.fillPath(path.translated(3, 3), QColor(60, 0, 6, 190));
      break;
  }
  p.strokePath(path, QPen(rim, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.fillPath(path, colour_);
}

}  // namespace kavrel
