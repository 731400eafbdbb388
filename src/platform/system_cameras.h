#pragma once

#include "platform/camera.h"

namespace kavrel {

// The cameras of this system for the camera window: Qt Multimedia's, or none at all in a build made
// without Qt Multimedia (the camera window then finds no device).
CameraFactory SystemCameras();

}  // namespace kavrel
