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

// A presenter remote's "next" and "back" are the space bar; its "blank screen" (the letter B or ".",
// plain keys from Qt) blacks the stage out whether or not a roll is under way.
TEST(KeyDispatcher, PresenterRemoteKeysActAsSpaceOrBlankTheStage) {
  for (int qtKey : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_F5}) {
    const int key = VirtualKeyFromQtKey(qtKey);
    EXPECT_EQ(DispatchKey(key, true), StageCommand::Stop) << qtKey;
    EXPECT_EQ(DispatchKey(key, false), StageCommand::Start) << qtKey;
  }
  for (int qtKey : {Qt::Key_B, Qt::Key_Period}) {
    const int key = VirtualKeyFromQtKey(qtKey);
    EXPECT_EQ(DispatchKey(key, true), StageCommand::BlankScreen) << qtKey;
    EXPECT_EQ(DispatchKey(key, false), StageCommand::BlankScreen) << qtKey;
  }
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_A), 0);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Comma), 0);
}

TEST(KeyDispatcher, KeysWithoutCommandAreIgnored) {
  EXPECT_EQ(DispatchKey(vk::kF10, false), StageCommand::WinnersWall);
  for (int key : {13, 65, 0, 9, 124, -1}) {
    EXPECT_EQ(DispatchKey(key, false), StageCommand::None) << key;
    EXPECT_EQ(DispatchKey(key, true), StageCommand::None) << key;
  }
}

}  // namespace
}  // namespace kavrel
