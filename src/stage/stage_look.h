#pragma once

// Default fonts, colours and effects of the stage's captions, and caption measuring.

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

#include "stage/stage_label.h"
#include "stage/stage_layout.h"

class QLabel;

namespace kavrel {

// Face names as the design gives them; start-up maps them to installed CJK fonts.
inline const QString kFaceYaHei = QStringLiteral("微软雅黑");
inline const QString kFaceSong = QStringLiteral("宋体");

struct LabelLook {
  QString face;
  int pointSize = 0;
  bool bold = false;
  QColor colour;
  LabelEffect effect = LabelEffect::Plain;
};

// The look an element has at start-up (and, except for the point size, after "恢复默认字体和颜色"):
// main title yellow with a shadow, subtitle yellow, award pale gold raised, prize name yellow, centre
// caption yellow, marquee yellow 宋体 on red, rolling area yellow: each at least 4.5:1 against the part of
// the stage behind it. The drawer and status captions sit where the picture turns from red to gold,
// and where depends on the screen: they take pale gold or deep red, whichever stands out (see
// TakesAutoColour).
LabelLook DefaultLook(StageElement element);

// Whether the element's default colour is chosen by the background behind it.
bool TakesAutoColour(StageElement element);

// A font of the given face, point size and weight, falling back through the installed CJK faces.
QFont StageFont(const QString& face, int pointSize, bool bold);

// Texts from the settings and the plan are not trusted to be short: a 100,000-character title would
// be measured and painted (as a path) at every fit. What the stage shows is cut to these lengths,
// with "…" at the end; no event needs more.
inline constexpr int kMaxCaptionLength = 100;
inline constexpr int kMaxMarqueeLength = 1500;  // about the widest label the window system draws
QString CappedCaption(const QString& text, int maxLength = kMaxCaptionLength);

// CappedCaption, then elided with "…" to `maxWidth` pixels in `font`: a caption wider than the
// screen would be cut at both edges instead.
QString ElidedCaption(const QString& text, const QFont& font, int maxWidth);

// Width and height in pixels of `text` in `font` (horizontal advance and line height), the way the
// stage measures its captions.
QSize MeasureCaption(const QFont& font, const QString& text);

// The caption of `label` in the label's face, size and weight.
QSize MeasureCaption(const QLabel* label);

}  // namespace kavrel
