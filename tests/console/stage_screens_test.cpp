#include "console/stage_screens.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "console/stage_thumbnail.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/stage_settings.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

const ScreenInfo kLaptop{QStringLiteral("eDP-1"), QRect(0, 0, 1280, 800), true};
const ScreenInfo kProjector{QStringLiteral("HDMI-1"), QRect(1280, 0, 1024, 768), false};
const ScreenInfo kLedWall{QStringLiteral("DP-2"), QRect(2304, 0, 1920, 1080), false};

TEST(StageScreens, KeysTellApartScreensThatShareAName) {
  EXPECT_EQ(ScreenKey({kLaptop, kProjector}, 1), QStringLiteral("HDMI-1"));
  // Two X screens are both called "screen": their place among them tells them apart.
  const ScreenInfo a{QStringLiteral("screen"), QRect(0, 0, 1280, 800), true};
  const ScreenInfo b{QStringLiteral("screen"), QRect(0, 0, 1024, 768), false};
  EXPECT_EQ(ScreenKey({a, b}, 0), QStringLiteral("screen#1"));
  EXPECT_EQ(ScreenKey({a, b}, 1), QStringLiteral("screen#2"));
  EXPECT_EQ(ScreenKey({{QString(), QRect(0, 0, 10, 10), true}}, 0), QStringLiteral("#1"));
  EXPECT_EQ(ScreenKey({a}, 3), QString());
  EXPECT_EQ(ScreenLabel(kLaptop), QStringLiteral("eDP-1  1280×800  主屏幕"));
  EXPECT_EQ(ScreenLabel(kProjector), QStringLiteral("HDMI-1  1024×768"));
}

TEST(StageScreens, WithoutAChoiceTheStageStaysOnThePrimaryScreenAlone) {
  const StageScreenPlan plan;
  EXPECT_EQ(plan.Place({kLaptop}), (ScreenPlacement{0, -1}));
  // The second screen may be the projector: no console is put where the audience could see it.
  EXPECT_EQ(plan.Place({kProjector, kLaptop}), (ScreenPlacement{1, -1}));
  EXPECT_EQ(plan.Place({}), (ScreenPlacement{-1, -1}));
  // A remembered screen that is not there today changes nothing with one screen.
  EXPECT_EQ(StageScreenPlan(QStringLiteral("HDMI-1")).Place({kLaptop}), (ScreenPlacement{0, -1}));
}

TEST(StageScreens, TheStageFollowsItsScreenAwayAndBack) {
  StageScreenPlan plan(QStringLiteral("HDMI-1"));
  EXPECT_EQ(plan.Place({kLaptop, kProjector}), (ScreenPlacement{1, 0}));
  // The system may list the screens in another order after a change: the name finds it.
  EXPECT_EQ(plan.Place({kProjector, kLaptop}), (ScreenPlacement{0, 1}));
  // Cable pulled: the stage covers the laptop, with no console left to show.
  EXPECT_EQ(plan.Place({kLaptop}), (ScreenPlacement{0, -1}));
  // Back: the stage returns, and the choice was never changed by the move.
  EXPECT_EQ(plan.Place({kLaptop, kProjector}), (ScreenPlacement{1, 0}));
  EXPECT_EQ(plan.chosenKey(), QStringLiteral("HDMI-1"));

  // With three screens, a lost projector sends the stage to the other big screen, not the laptop.
  EXPECT_EQ(plan.Place({kLaptop, kLedWall}), (ScreenPlacement{1, 0}));
  // The stage on the primary screen by choice: the console takes the first other screen.
  plan.Choose(QStringLiteral("eDP-1"));
  EXPECT_EQ(plan.Place({kLaptop, kProjector, kLedWall}), (ScreenPlacement{0, 1}));
}

TEST(StageScreens, TheChoiceIsKeptInASectionOfItsOwn) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  ASSERT_TRUE(dir.EnsureConfigDir());
  const std::string before = Gb("[标题设置]\r\n主标题=年会\r\n[模式]\r\n文字抽奖模式=真\r\n");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kConfigIni), before));
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  EXPECT_EQ(LoadStageScreen(settings), "");
  ASSERT_TRUE(SaveStageScreen(settings, "HDMI-1"));
  ASSERT_TRUE(SaveStageScreen(settings, "screen#2"));  // rewritten in place, not added twice
  EXPECT_EQ(LoadStageScreen(settings), "screen#2");
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kConfigIni)), before + Gb("\r\n[扩展显示]\r\n舞台显示屏=screen#2\r\n"));
}

TEST(StageThumbnail, PacingKeepsTheStagesCostWithinItsBudget) {
  EXPECT_EQ(NextThumbnailDelayMs(0.1), 250);  // cheap pictures: four a second, no more
  EXPECT_EQ(NextThumbnailDelayMs(0.5), 500);
  EXPECT_EQ(NextThumbnailDelayMs(3.0), 3000);  // a slow machine: fewer pictures, never more cost
  EXPECT_EQ(NextThumbnailDelayMs(-1.0), 250);
  EXPECT_EQ(NextThumbnailDelayMs(1e9), 60000);
}

}  // namespace
}  // namespace kavrel
