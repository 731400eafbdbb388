#include "results/winner_show_scroll.h"

#include <gtest/gtest.h>

namespace kavrel {
namespace {

TEST(WinnerShowScroll, StartsAtTheAreaBottomAndComesBackFromTheScreenBottom) {
  WinnerShowScroll scroll(1080, 100);
  EXPECT_EQ(scroll.top(), 930);
  scroll.Tick();
  EXPECT_EQ(scroll.top(), 929);
  // Rising until its lower edge reaches the top of the area: 930 + 100 ticks.
  for (int i = 1; i < 930 + 99; ++i) scroll.Tick();
  EXPECT_EQ(scroll.top(), -99);
  scroll.Tick();
  EXPECT_EQ(scroll.top(), 1080);
  // Every later pass is 1080 + 100 ticks long.
  for (int i = 0; i < 1080 + 100; ++i) scroll.Tick();
  EXPECT_EQ(scroll.top(), 1080);
}

TEST(WinnerShowScroll, AnEmptyListWrapsAtOnceInsteadOfDriftingAway) {
  WinnerShowScroll scroll(768, 0);
  for (int i = 0; i < 617; ++i) scroll.Tick();
  EXPECT_EQ(scroll.top(), 1);
  scroll.Tick();
  EXPECT_EQ(scroll.top(), 768);
}

}  // namespace
}  // namespace kavrel
