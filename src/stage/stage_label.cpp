#include "stage/stage_label.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

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

double Channel(int v) {
  const double c = v / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(const QColor& c) {
  return 0.2126 * Channel(c.red()) + 0.7152 * Channel(c.green()) + 0.0722 * Channel(c.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double MeanLuminance(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  int n = 0;
  for (int y = 0; y < rgb.height(); y += 2) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); x += 2) {
      sum += RelativeLuminance(QColor(line[x]));
      ++n;
    }
  }
  return n ? sum / n : 0;
}

QColor ContrastingCaptionColour(const QImage& behind) {
  const double l = MeanLuminance(behind);
  const auto ratio = [l](const QColor& c) {
    const double lc = RelativeLuminance(c);
    return (std::max(l, lc) + 0.05) / (std::min(l, lc) + 0.05);
  };
  return ratio(kPaleCaption) >= ratio(kDarkCaption) ? kPaleCaption : kDarkCaption;
}

StageLabel::StageLabel(QWidget* parent) : QLabel(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
}

void StageLabel::SetTextColour(const QColor& colour) {
  colour_ = colour;
  autoColour_ = false;
  update();
}

void StageLabel::SetAutoColour() {
  autoColour_ = true;
}

void StageLabel::MatchBackground(const QImage& behind) {
  if (!autoColour_ || behind.isNull()) return;
  const QColor c = ContrastingCaptionColour(behind);
  if (c == colour_) return;
  colour_ = c;
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
