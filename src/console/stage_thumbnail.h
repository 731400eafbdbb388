#pragma once

#include <QImage>
#include <QSize>

class QWidget;

namespace kavrel {

// A small picture of the stage as the audience sees it, painted by the stage's own widgets straight
// into an image of `size` (no full-size grab in between, so its cost follows the small size).
QImage RenderStageThumbnail(QWidget& stage, QSize size);

// How long to wait before the next thumbnail so that drawing them never costs the stage more than
// `budgetMsPerSecond` of each second, and never more often than every `minIntervalMs`.
int NextThumbnailDelayMs(double lastCostMs, int minIntervalMs = 250, double budgetMsPerSecond = 1.0);

}  // namespace kavrel
