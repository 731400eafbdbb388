#include <gtest/gtest.h>

#include "stage/stage_layout.h"

namespace kavrel {
namespace {

using E = StageElement;

// Synthetic caption sizes: no font metrics involved.
CaptionSizes Captions() {
  CaptionSizes c;
  c.mainTitle = {600, 60};
  c.subtitle = {500, 60};
  c.award = {200, 48};
  c.marquee = {400, 24};
  c.status = {700, 30};
  c.drawer = {150, 32};
  c.centre = {420, 60};
  return c;
}

TEST(LayoutStage, FirstPassOn1024x768ReadsDesignPositionsOfMarqueeAndTitle) {
  const StageGeometry g = LayoutStage(DesignGeometry(), Captions(), {1024, 768});
  EXPECT_EQ(g.window, QRect(0, 0, 1024, 768));
  // Buttons: 50 px either side of the centre line, 20 px above the design marquee top (552).
  EXPECT_EQ(g[E::StartButton], QRect(333, 482, 129, 50));
  EXPECT_EQ(g[E::StopButton], QRect(562, 482, 129, 50));
  // Menu bar under the design main title (top 32, height 60).
  EXPECT_EQ(g[E::MenuBar], QRect(30, 92, 160, 22));
  EXPECT_EQ(g[E::MainTitle], QRect(212, 8, 600, 60));
  EXPECT_EQ(g[E::SubTitle], QRect(262, 68, 500, 60));
  EXPECT_EQ(g[E::AwardLabel], QRect(412, 128, 200, 48));
  EXPECT_EQ(g[E::Marquee], QRect(500, 738, 400, 24));
  EXPECT_EQ(g[E::StatusLabel], QRect(162, 447, 700, 30));
  EXPECT_EQ(g[E::DrawerLabel], QRect(437, 410, 150, 32));
  EXPECT_EQ(g[E::NumberLabel], QRect(302, 354, 420, 60));
  EXPECT_EQ(g[E::PrizeLabel], QRect(719, 370, 300, 30));
  EXPECT_EQ(g[E::PrizePicture], QRect(859, 405, 160, 120));
  EXPECT_EQ(g[E::RollingPanel], QRect(100, 181, 824, 224));
}

TEST(LayoutStage, SecondPassOn1024x768SettlesOnItsOwnPositions) {
  const StageGeometry first = LayoutStage(DesignGeometry(), Captions(), {1024, 768});
  const StageGeometry g = LayoutStage(first, Captions(), {1024, 768});
  EXPECT_EQ(g[E::StartButton], QRect(333, 668, 129, 50));
  EXPECT_EQ(g[E::StopButton], QRect(562, 668, 129, 50));
  // Symmetric about the centre line: 50 px gap to it on both sides.
  EXPECT_EQ(512 - (g[E::StartButton].left() + g[E::StartButton].width()), 50);
  EXPECT_EQ(g[E::StopButton].left() - 512, 50);
  EXPECT_EQ(g[E::Marquee].top() - (g[E::StopButton].top() + 50), 20);
  EXPECT_EQ(g[E::MenuBar].topLeft(), QPoint(30, 68));
  EXPECT_EQ(g[E::MainTitle].topLeft(), QPoint(212, 8));
  EXPECT_EQ(g[E::StatusLabel].topLeft(), QPoint(162, 633));
  EXPECT_EQ(g[E::DrawerLabel].topLeft(), QPoint(437, 596));
  EXPECT_EQ(g[E::PrizeLabel].topLeft(), QPoint(719, 556));
  EXPECT_EQ(g[E::PrizePicture], QRect(859, 591, 160, 120));
  EXPECT_EQ(g[E::RollingPanel], QRect(100, 181, 824, 410));
  EXPECT_EQ(LayoutStage(g, Captions(), {1024, 768}), g) << "a third pass changes nothing";
}

// A prize name that reaches in under the rolling area's right part ends the area above it, so the
// last row of winners cannot run into the prize text; a short one or none leaves the area whole.
TEST(LayoutStage, TheRollingAreaEndsAboveALongPrizeName) {
  CaptionSizes captions = Captions();
  captions.prizeName = {300, 30};
  StageGeometry g = LayoutStage(DesignGeometry(), captions, {1024, 768});
  g = LayoutStage(g, captions, {1024, 768});
  EXPECT_EQ(g[E::PrizeLabel], QRect(719, 556, 300, 30));
  EXPECT_EQ(g[E::RollingPanel], QRect(100, 181, 824, 370));
  EXPECT_FALSE(g[E::RollingPanel].intersects(g[E::PrizeLabel]));

  // Right of the area (1024 - 60 - 5 = 959 > 924): nothing to avoid.
  EXPECT_EQ(RollingArea(1024, 176, 596, QRect(959, 556, 60, 30)), QRect(100, 181, 824, 410));
  EXPECT_EQ(RollingArea(1024, 176, 596, QRect()), QRect(100, 181, 824, 410));
  // A prize name taller than the room left gives no negative height.
  EXPECT_EQ(RollingArea(1024, 176, 596, QRect(500, 150, 500, 400)).height(), 0);
}

TEST(LayoutStage, On800x600ThePrizePictureShrinksAfterItsLeftEdgeIsComputed) {
  const StageGeometry first = LayoutStage(DesignGeometry(), Captions(), {800, 600});
  // Left edge from the 160-wide picture, then the size becomes 120 x 90.
  EXPECT_EQ(first[E::PrizePicture].size(), QSize(120, 90));
  EXPECT_EQ(first[E::PrizePicture].left(), 800 - 160 - 5);

  const StageGeometry g = LayoutStage(first, Captions(), {800, 600});
  EXPECT_EQ(g[E::Marquee], QRect(500, 570, 400, 24));
  EXPECT_EQ(g[E::StartButton], QRect(221, 500, 129, 50));
  EXPECT_EQ(g[E::StopButton], QRect(450, 500, 129, 50));
  EXPECT_EQ(g[E::MenuBar].topLeft(), QPoint(30, 68));
  EXPECT_EQ(g[E::MainTitle].topLeft(), QPoint(100, 8));
  EXPECT_EQ(g[E::SubTitle].topLeft(), QPoint(150, 68));
  EXPECT_EQ(g[E::AwardLabel].topLeft(), QPoint(300, 128));
  EXPECT_EQ(g[E::StatusLabel].topLeft(), QPoint(50, 465));
  EXPECT_EQ(g[E::DrawerLabel].topLeft(), QPoint(325, 428));
  EXPECT_EQ(g[E::NumberLabel].topLeft(), QPoint(190, 270));
  EXPECT_EQ(g[E::PrizeLabel].topLeft(), QPoint(495, 388));
  EXPECT_EQ(g[E::PrizePicture], QRect(675, 423, 120, 90));
  EXPECT_EQ(g[E::RollingPanel], QRect(100, 181, 600, 242));
}

TEST(LayoutStage, On1920x1080TheTallPictureKeepsItsSize) {
  StageGeometry g = LayoutStage(DesignGeometry(), Captions(), {1920, 1080});
  g = LayoutStage(g, Captions(), {1920, 1080});
  EXPECT_EQ(g.window, QRect(0, 0, 1920, 1080));
  EXPECT_EQ(g[E::StartButton], QRect(781, 980, 129, 50));
  EXPECT_EQ(g[E::StopButton], QRect(1010, 980, 129, 50));
  EXPECT_EQ(g[E::MenuBar].topLeft(), QPoint(30, 68));
  EXPECT_EQ(g[E::MainTitle].topLeft(), QPoint(660, 8));
  EXPECT_EQ(g[E::SubTitle].topLeft(), QPoint(710, 68));
  EXPECT_EQ(g[E::AwardLabel].topLeft(), QPoint(860, 128));
  EXPECT_EQ(g[E::Marquee].topLeft(), QPoint(500, 1050));
  EXPECT_EQ(g[E::StatusLabel].topLeft(), QPoint(610, 945));
  EXPECT_EQ(g[E::DrawerLabel].topLeft(), QPoint(885, 908));
  EXPECT_EQ(g[E::NumberLabel].topLeft(), QPoint(750, 510));
  EXPECT_EQ(g[E::PrizeLabel].topLeft(), QPoint(1615, 868));
  EXPECT_EQ(g[E::PrizePicture], QRect(1755, 903, 160, 120));
  EXPECT_EQ(g[E::RollingPanel], QRect(100, 181, 1720, 722));
}

TEST(LayoutStage, OddWidthsTruncateAndTinyScreensGiveNoNegativeArea) {
  StageGeometry g = LayoutStage(DesignGeometry(), Captions(), {1365, 768});
  EXPECT_EQ(g[E::StartButton].left(), 503);  // 682.5 - 129 - 50
  EXPECT_EQ(g[E::StopButton].left(), 732);   // 682.5 + 50
  EXPECT_EQ(g[E::MainTitle].left(), 382);    // (1365 - 600) / 2 = 382.5

  g = LayoutStage(LayoutStage(DesignGeometry(), Captions(), {320, 240}), Captions(), {320, 240});
  EXPECT_EQ(g[E::RollingPanel].height(), 0);
  EXPECT_EQ(g[E::RollingPanel].width(), 120);
}

TEST(FitTitleFontSizes, ShrinksTwoAndOnePointUntilTheMainTitleFits) {
  // A title 30 "ems" wide: 36 pt -> 1080, 34 -> 1020, 32 -> 960 <= 1024 - 50.
  const TitleFontSizes fitted = FitTitleFontSizes({}, 1024, [](int pt) { return pt * 30; });
  EXPECT_EQ(fitted, (TitleFontSizes{32, 32, 24, 16, 14, 16}));
  // A title that fits is left alone.
  EXPECT_EQ(FitTitleFontSizes({}, 1920, [](int pt) { return pt * 30; }), TitleFontSizes{});
  // A title that never fits stops at the smallest size instead of looping forever.
  const TitleFontSizes floor = FitTitleFontSizes({}, 100, [](int) { return 100000; });
  EXPECT_EQ(floor.mainTitle, 1);
  EXPECT_EQ(floor.status, 1);
  EXPECT_GE(floor.award, 1);
}

TEST(FitPrizeNameSize, LosesOnePointAtATimeUntilRightOfTheDrawerCaption) {
  auto widthAt = [](int pt) { return pt * 20; };
  // Fits at once: left = 1024 - 360 - 5.
  PrizeNameFit fit = FitPrizeNameSize(18, 1024, 600, widthAt);
  EXPECT_EQ(fit.pointSize, 18);
  EXPECT_EQ(fit.left, 659);
  // 25 pt would overlap; 20 pt is the first that leaves the left edge at or right of 600.
  fit = FitPrizeNameSize(25, 1024, 600, widthAt);
  EXPECT_EQ(fit.pointSize, 20);
  EXPECT_EQ(fit.width, 400);
  EXPECT_EQ(fit.left, 619);
  EXPECT_GE(fit.left, 600);
  // Exactly touching counts as fitting.
  EXPECT_EQ(FitPrizeNameSize(20, 1024, 619, widthAt).pointSize, 20);
  // Never fits: stops at 1 point.
  EXPECT_EQ(FitPrizeNameSize(18, 1024, 5000, widthAt).pointSize, 1);
}

}  // namespace
}  // namespace kavrel
