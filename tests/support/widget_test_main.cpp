#include <gtest/gtest.h>

#include <QApplication>

// Widget tests need a QApplication; it is created here, after gtest has parsed its flags,
// never at static initialisation.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
