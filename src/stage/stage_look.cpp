#include "stage/stage_look.h"

#include <QFontMetrics>
#include <QLabel>

namespace kavrel {

LabelLook DefaultLook(StageElement element) {
  const QColor yellow(255, 255, 0);
  switch (element) {
    case StageElement::MainTitle:
      return {kFaceYaHei, 36, true, yellow, LabelEffect::Shadow};
    case StageElement::SubTitle:
      return {kFaceYaHei, 36, true, yellow, LabelEffect::Plain};
    case StageElement::AwardLabel:
      return {kFaceYaHei, 28, true, kPaleCaption, LabelEffect::Raised};
    case StageElement::PrizeLabel:
      return {kFaceYaHei, 18, true, yellow, LabelEffect::Plain};
    case StageElement::NumberLabel:
      return {kFaceYaHei, 36, false, yellow, LabelEffect::Plain};
    case StageElement::DrawerLabel:
      return {kFaceYaHei, 18, true, kPaleCaption, LabelEffect::Plain};
    case StageElement::StatusLabel:
      return {kFaceYaHei, 16, true, kPaleCaption, LabelEffect::Plain};
    case StageElement::Marquee:
      return {kFaceSong, 16, false, yellow, LabelEffect::Plain};
    case StageElement::RollingPanel:
      return {kFaceYaHei, 36, true, yellow, LabelEffect::Plain};
    case StageElement::StartButton:
    case StageElement::StopButton:
      return {kFaceYaHei, 14, true, QColor(255, 236, 140), LabelEffect::Plain};
    default:
      return {kFaceYaHei, 12, false, yellow, LabelEffect::Plain};
  }
}

bool TakesAutoColour(StageElement element) {
  return element == StageElement::DrawerLabel || element == StageElement::StatusLabel;
}

QFont StageFont(const QString& face, int pointSize, bool bold) {
  QFont font(face);
  // The design's Windows faces rarely exist here; list the installed CJK faces after them so text
  // never falls back to a face without Chinese glyphs. Song (宋体) is a serif face.
  if (face == kFaceSong) {
    font.setFamilies({face, QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei")});
  } else {
    font.setFamilies({face, QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
  }
  font.setPointSize(std::max(1, pointSize));
  font.setBold(bold);
  return font;
}

QString CappedCaption(const QString& text, int maxLength) {
  if (text.size() <= maxLength) return text;
  qsizetype keep = std::max(0, maxLength - 1);
  // Never half a character beyond the Basic Multilingual Plane.
  if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;
  return text.left(keep) + QChar(0x2026);
}

QString ElidedCaption(const QString& text, const QFont& font, int maxWidth) {
  return QFontMetrics(font).elidedText(CappedCaption(text), Qt::ElideRight, std::max(1, maxWidth));
}

QSize MeasureCaption(const QFont& font, const QString& text) {
  const QFontMetrics fm(font);
  return {fm.horizontalAdvance(text), fm.height()};
}

QSize MeasureCaption(const QLabel* label) {
  return MeasureCaption(label->font(), label->text());
}

}  // namespace kavrel
