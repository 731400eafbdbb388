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

TEST(KeyDispatcher, KeysWithoutCommandAreIgnored) {
  for (int key : {vk::kF5, vk::kF10, 13, 65, 0, 9, 124, -1}) {
    EXPECT_EQ(DispatchKey(key, false), StageCommand::None) << key;
    EXPECT_EQ(DispatchKey(key, true), StageCommand::None) << key;
  }
}

}  // namespace
}  // namespace kavrel
