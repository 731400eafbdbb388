#include "console/stage_thumbnail.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace kavrel {

namespace {

// The frame the stage last put on screen, when its window paints into an image (the raster backing
// store of every desktop platform): reading it costs the stage nothing it has not already done.
// Null while the window has painted no frame of its size yet; nullopt where there is no image to read.
std::optional<QImage> LastFrame(QWidget& stage) {
  QBackingStore* store = stage.backingStore();
  // A store never sized has not painted; Windows' then has no image at all, and its paintDevice()
  // hands out a pointer into nothing (a stage hidden behind the console from its start crashed there).
  if (!store || store->size().isEmpty()) return QImage();
  QPaintDevice* device = store->paintDevice();
  if (!device) return QImage();
  if (device->devType() != QInternal::Image) return std::nullopt;
  const QImage& frame = *static_cast<const QImage*>(device);
  const QSize shown = stage.size() * stage.devicePixelRatioF();
  if (frame.isNull() || shown.isEmpty() || frame.width() < shown.width() || frame.height() < shown.height())
    return QImage();
  // A view of the window's part of the store, without copying it.
  return QImage(frame.constBits(), shown.width(), shown.height(), frame.bytesPerLine(), frame.format());
}

}  // namespace

QImage RenderStageThumbnail(QWidget& stage, QSize size) {
  if (size.isEmpty()) return {};
  if (const std::optional<QImage> frame = LastFrame(stage)) {
    if (frame->isNull()) return {};  // nothing painted yet: the next picture will have it
    // Sampled, not smoothed: smoothing a full-size frame costs several times the stage's budget, and the
    // operator reads the picture for what is on stage, not for its text.
    return frame->scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  // No image to read (a platform painting straight to the screen): the widgets paint a small copy.
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  if (stage.width() <= 0 || stage.height() <= 0) return image;
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
