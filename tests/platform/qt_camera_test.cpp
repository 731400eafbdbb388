// The Qt Multimedia camera where no camera is connected (a build machine, a virtual display): it lists
// nothing, and starting, grabbing and closing are harmless.
#include "platform/qt_camera.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace kavrel {
namespace {

TEST(QtCamera, WithoutADeviceNothingStartsAndNothingIsGrabbed) {
  QtCamera camera;
  if (!camera.DeviceNames().empty()) GTEST_SKIP() << "a camera is connected to this machine";
  camera.Select(0);
  int frames = 0;
  camera.Start([&](const QImage&) { ++frames; });
  QTemporaryDir dir;
  EXPECT_FALSE(camera.GrabFrame(dir.filePath(QStringLiteral("temp.bmp"))));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("temp.bmp"))));
  camera.Close();
  camera.Close();
  EXPECT_EQ(frames, 0);
}

}  // namespace
}  // namespace kavrel
