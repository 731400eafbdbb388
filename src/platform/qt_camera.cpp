#include "platform/qt_camera.h"

#include <QCamera>
#include <QMediaDevices>
#include <QVideoFrame>

#include "storage/codec.h"

namespace kavrel {

QtCamera::QtCamera() {
  session_.setVideoSink(&sink_);
  connect(&sink_, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
    if (!camera_ || !frame.isValid()) return;
    latest_ = frame.toImage();
    if (onFrame_ && !latest_.isNull()) onFrame_(latest_);
  });
}

QtCamera::~QtCamera() {
  Close();
  // The session would otherwise outlive the sink it points to by a moment.
  session_.setVideoSink(nullptr);
}

std::vector<std::string> QtCamera::DeviceNames() {
  devices_ = QMediaDevices::videoInputs();
  std::vector<std::string> names;
  for (const QCameraDevice& d : devices_) names.push_back(FromQt(d.description()));
  return names;
}

void QtCamera::Select(int index) {
  selected_ = (index >= 0 && index < devices_.size()) ? index : -1;
}

void QtCamera::Start(FrameHandler onFrame) {
  Close();
  if (selected_ < 0) return;
  onFrame_ = std::move(onFrame);
  camera_ = std::make_unique<QCamera>(devices_[selected_]);
  session_.setCamera(camera_.get());
  camera_->start();
}

bool QtCamera::GrabFrame(const QString& path) {
  if (latest_.isNull()) return false;
  return latest_.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

void QtCamera::Close() {
  onFrame_ = nullptr;
  if (!camera_) return;
  camera_->stop();
  session_.setCamera(nullptr);
  camera_.reset();
  latest_ = QImage();
}

}  // namespace kavrel
