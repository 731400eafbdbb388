#include "platform/system_cameras.h"

namespace kavrel {

// Built without Qt Multimedia: no camera to offer.
CameraFactory SystemCameras() {
  return {};
}

}  // namespace kavrel
