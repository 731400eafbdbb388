#include "platform/system_cameras.h"

#include "platform/qt_camera.h"

namespace kavrel {

CameraFactory SystemCameras() {
  return [] { return std::make_unique<QtCamera>(); };
}

}  // namespace kavrel
