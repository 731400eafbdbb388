#include "stage/key_dispatcher.h"

#include <gtest/gtest.h>

#include <Qt>

namespace kavrel {
namespace {

TEST(KeyDispatcher, EveryKeyRunsItsCommand) {
  struct Case {
    int key;
    StageCommand command;
  };
  const Case cases[] = {
      {vk::kEscape, StageCommand::ToggleMenuBar},
      {vk::kF1, StageCommand::Restart},
      {vk::kF2, StageCommand::Undo},
      {vk::kF3, StageCommand::Abandon},
      {vk::kF4, StageCommand::Supplement},
      {vk::kF6, StageCommand::WinnerShow},
      {vk::kF7, StageCommand::LatestBatch},
      {vk::kF8, StageCommand::PrizeChange},
      {vk::kF9, StageCommand::ToggleMusic},
      {vk::kF11, StageCommand::Minimise},
      {vk::kF12, StageCommand::Quit},
  };
  for (const Case& c : cases) {
    // Apart from space, no key looks at whether candidates roll: the hotkeys stay available.
    EXPECT_EQ(DispatchKey(c.key, false), c.command) << c.key;
    EXPECT_EQ(DispatchKey(c.key, true), c.command) << c.key;
  }
}

TEST(KeyDispatcher, SpaceStopsWhileRollingAndStartsOtherwise) {
  EXPECT_EQ(DispatchKey(vk::kSpace, true), StageCommand::Stop);
  EXPECT_EQ(DispatchKey(vk::kSpace, false), StageCommand::Start);
}

TEST(KeyDispatcher, KeysWithoutCommandAreIgnored) {
  for (int key : {vk::kF5, vk::kF10, 13, 65, 0, 9, 124, -1}) {
    EXPECT_EQ(DispatchKey(key, false), StageCommand::None) << key;
    EXPECT_EQ(DispatchKey(key, true), StageCommand::None) << key;
  }
}

TEST(KeyDispatcher, QtKeysTranslateToVirtualKeys) {
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Space), 32);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Escape), 27);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F1), 112);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F9), 120);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F12), 123);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F13), 0);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_A), 0);
  EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Return), 0);
}

}  // namespace
}  // namespace kavrel
