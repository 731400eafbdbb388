#include <gtest/gtest.h>

#include <map>

#include "stage/winners_wall_layout.h"

namespace kavrel {
namespace {

// Names of three CJK characters: 3 px wide per pixel of font size.
int Widest(int px) {
  return px * 3;
}

TEST(WinnersWallLayout, EveryWinnerOnceReadableAndInsideThePage) {
  // Six awards of an evening, 489 winners, on a 1080p projector.
  const std::vector<int> winners{1, 3, 10, 25, 50, 400};
  const QSize area(1728, 853);
  const WallLayout layout = LayOutWall(winners, area, 1080, Widest);
  EXPECT_GE(layout.pixelSize * kWallInkPerPixel / 1080, kWallMinGlyphShare);
  EXPECT_GT(layout.pages.size(), 1u);
  std::map<std::pair<int, int>, int> seen;
  for (const auto& page : layout.pages) {
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page.front().winner, -1) << "every page starts with a heading";
    for (const WallItem& item : page) {
      EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(item.rect)) << item.group << "/" << item.winner;
      if (item.winner >= 0) ++seen[{item.group, item.winner}];
    }
  }
  int total = 0;
  for (const auto& [key, times] : seen) {
    EXPECT_EQ(times, 1);
    ++total;
  }
  EXPECT_EQ(total, 489);
  // The 400 winners of the last award run over a page: its heading comes again, marked as continued.
  bool continued = false;
  for (const auto& page : layout.pages) continued |= page.front().continued;
  EXPECT_TRUE(continued);
}

TEST(WinnersWallLayout, AFewWinnersAreShownLargerOnOnePage) {
  const QSize area(870, 610);
  const WallLayout few = LayOutWall({1, 3, 0}, area, 768, Widest);
  ASSERT_EQ(few.pages.size(), 1u);
  EXPECT_GT(few.pixelSize * kWallInkPerPixel / 768, 0.05);
  for (const WallItem& item : few.pages[0]) EXPECT_NE(item.group, 2) << "an award without winners is left out";
  EXPECT_TRUE(LayOutWall({}, area, 768, Widest).pages.empty());
  // Names too wide for two columns still get one each, at the readable size.
  const WallLayout wide = LayOutWall({40}, {300, 600}, 768, [](int px) { return px * 30; });
  EXPECT_GE(wide.pixelSize * kWallInkPerPixel / 768, kWallMinGlyphShare);
  for (const auto& page : wide.pages)
    for (const WallItem& item : page) EXPECT_TRUE(QRect(0, 0, 300, 600).contains(item.rect));
}

}  // namespace
}  // namespace kavrel
