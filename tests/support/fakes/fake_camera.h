#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "platform/camera.h"

namespace kavrel {

// Test double of Camera: the devices a test names, and frames the test hands in with Yield().
class FakeCamera : public Camera {
 public:
  std::vector<std::string> devices;
  int selected = -2;  // -2: never selected
  int starts = 0;
  int closes = 0;
  QImage latest;

  // One frame from the device, as the live view receives it.
  void Yield(const QImage& frame) {
    latest = frame;
    if (onFrame_) onFrame_(frame);
  }

  std::vector<std::string> DeviceNames() override { return devices; }
  void Select(int index) override { selected = index; }
  void Start(FrameHandler onFrame) override {
    ++starts;
    onFrame_ = std::move(onFrame);
  }
  bool GrabFrame(const QString& path) override { return !latest.isNull() && latest.save(path, "BMP"); }
  void Close() override {
    ++closes;
    onFrame_ = nullptr;
  }

 private:
  FrameHandler onFrame_;
};

}  // namespace kavrel
