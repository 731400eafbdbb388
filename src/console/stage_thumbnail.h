#pragma once

#include <QImage>
#include <QSize>

class QWidget;

namespace kavrel {

// A small picture of the stage as the audience sees it: the stage's last painted frame scaled down,
// or, where the window keeps no frame to read, the stage's widgets painting straight into an image of
// `size` (no full-size grab in between). Null while the stage has not painted a frame yet.
QImage RenderStageThumbnail(QWidget& stage, QSize size);

// How long to wait before the next thumbnail so that drawing them never costs the stage more than
// `budgetMsPerSecond` of each second, and never more often than every `minIntervalMs`.
int NextThumbnailDelayMs(double lastCostMs, int minIntervalMs = 250, double budgetMsPerSecond = 1.0);

}  // namespace kavrel
