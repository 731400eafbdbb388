#pragma once

#include <QCameraDevice>
#include <QImage>
#include <QList>
#include <QMediaCaptureSession>
#include <QObject>
#include <QVideoSink>
#include <memory>

#include "platform/camera.h"

class QCamera;

namespace kavrel {

// The camera over Qt Multimedia: the devices of QMediaDevices, a QCamera in a capture session whose
// video sink hands every frame to the live area and keeps the latest one for the shot.
class QtCamera : public QObject, public Camera {
 public:
  QtCamera();
  ~QtCamera() override;

  std::vector<std::string> DeviceNames() override;
  void Select(int index) override;
  void Start(FrameHandler onFrame) override;
  bool GrabFrame(const QString& path) override;
  void Close() override;

 private:
  QList<QCameraDevice> devices_;
  int selected_ = -1;
  std::unique_ptr<QCamera> camera_;
  QMediaCaptureSession session_;
  QVideoSink sink_;
  QImage latest_;
  FrameHandler onFrame_;
};

}  // namespace kavrel
