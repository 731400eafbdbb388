#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavrel {

// A video camera as the camera window uses it: list the devices, choose one, start it (every new
// frame is handed to the live area), grab the current frame into a file, close it. Failures give no
// error of their own: they show as an empty device list, no frames, or a grab that returns false.
class Camera {
 public:
  using FrameHandler = std::function<void(const QImage&)>;

  virtual ~Camera() = default;

  // The names of the video devices present, in the system's order (GB18030).
  virtual std::vector<std::string> DeviceNames() = 0;
  // Chooses the device by its position in DeviceNames(); -1 chooses none.
  virtual void Select(int index) = 0;
  // Starts the chosen device; `onFrame` receives every frame on the UI thread until Close().
  virtual void Start(FrameHandler onFrame) = 0;
  // Writes the latest frame to `path` as a bitmap file; false when there is no frame yet or the
  // file could not be written.
  virtual bool GrabFrame(const QString& path) = 0;
  // Stops the device; harmless when nothing runs.
  virtual void Close() = 0;
};

// Makes the camera each opening of the camera window uses.
using CameraFactory = std::function<std::unique_ptr<Camera>()>;

}  // namespace kavrel
