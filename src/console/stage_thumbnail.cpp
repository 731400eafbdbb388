#include "console/stage_thumbnail.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kavrel {

QImage RenderStageThumbnail(QWidget& stage, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  if (stage.width() <= 0 || stage.height() <= 0 || size.isEmpty()) return image;
  QPainter painter(&image);
  painter.scale(static_cast<double>(size.width()) / stage.width(), static_cast<double>(size.height()) / stage.height());
  stage.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return image;
}

int NextThumbnailDelayMs(double lastCostMs, int minIntervalMs, double budgetMsPerSecond) {
  const double cost = std::max(0.0, lastCostMs);
  // A render of c ms every d ms costs c * 1000 / d ms per second: d = c * 1000 / budget keeps it there.
  const double delay = budgetMsPerSecond > 0 ? cost * 1000.0 / budgetMsPerSecond : 0.0;
  return static_cast<int>(std::clamp(std::ceil(delay), static_cast<double>(minIntervalMs), 60000.0));
}

}  // namespace kavrel
