#include "stage/key_dispatcher.h"

#include <gtest/gtest.h>

#include <Qt>

namespace kavrel {
namespace {

// Which function key runs which command is checked against the menu items that name the keys
// (menus_test.cpp).
TEST(KeyDispatcher, SpaceStopsWhileRollingAndStartsOtherwise) {
  EXPECT_EQ(DispatchKey(vk::kSpace, true), StageCommand::Stop);
  EXPECT_EQ(DispatchKey(vk::kSpace, false), StageCommand::Start);
}

// A presenter remote's buttons are the space bar; the letter B and "." arrive as plain keys from Qt.
TEST(KeyDispatcher, PresenterRemoteKeysActAsSpace) {
  for (int qtKey : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_B, Qt::Key_Period, Qt::Key_F5}) {
    const int key = VirtualKeyFromQtKey(qtKey);
    EXPECT_EQ(DispatchKey(key, true), StageCommand::Stop) << qtKey;
    EXPECT_EQ(DispatchKey(key, false), StageCommand::Start) << qtKey;
  }
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_A), 0);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Comma), 0);
}

TEST(KeyDispatcher, KeysWithoutCommandAreIgnored) {
  for (int key : {vk::kF10, 13, 65, 0, 9, 124, -1}) {
    EXPECT_EQ(DispatchKey(key, false), StageCommand::None) << key;
    EXPECT_EQ(DispatchKey(key, true), StageCommand::None) << key;
  }
}

}  // namespace
}  // namespace kavrel
