// The stage and the console on a laptop with a projector: an offscreen platform with two screens
// (two_screens.json), the projector remembered as the stage's screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <filesystem>

#include "console/operator_console_window.h"
#include "console/stage_display.h"
#include "console/stage_screen_window.h"
#include "results/result_window.h"
#include "stage/lock_window.h"
#include "stage/stage_menus.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/stage_settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/press_key.h"
#include "support/stage_parts.h"
#include "support/when_shown.h"

namespace kavrel {
namespace {

class TwoScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::screens().size(), 2) << "run with the two-screen offscreen configuration";
    laptop = QGuiApplication::screens().at(0);
    projector = QGuiApplication::screens().at(1);
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(dir.EnsureConfigDir());
    std::string pool;
    for (int i = 1; i <= 9; ++i) pool += "000" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), Gb("一等奖,3,1,1,3,手机,,\r\n")));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteBool(Gb("音效设置"), Gb("启用抽奖页面背景音乐"), false);
    SaveStageScreen(settings, "PROJECTOR");
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage =
        std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    link = std::make_unique<StageLinkTo<StageWindow>>(*stage);
    display =
        std::make_unique<StageDisplay>(*link, *session, prompter, dir, [this](QWidget* w) { operatorParent = w; });
    display->Start();
    stage->show();
    stage->StartUp();
  }
  void TearDown() override {
    display.reset();
    stage.reset();
  }

  QScreen* laptop = nullptr;
  QScreen* projector = nullptr;
  QTemporaryDir tmp;
  ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
  std::unique_ptr<StageLink> link;
  std::unique_ptr<StageDisplay> display;
  QWidget* operatorParent = nullptr;
};

TEST_F(TwoScreensTest, StageOnTheProjectorConsoleOnTheLaptopAndBackAfterACablePull) {
  EXPECT_EQ(stage->geometry(), projector->geometry());
  ASSERT_NE(display->console(), nullptr);
  EXPECT_TRUE(display->console()->isVisible());
  EXPECT_TRUE(laptop->geometry().contains(display->console()->geometry()));
  EXPECT_EQ(operatorParent, display->console());
  EXPECT_EQ(stage->OperatorWindow(), display->console());

  // Mid-roll, the projector's cable is pulled: the stage covers the laptop at once, the roll goes on.
  stage->RunCommand(StageCommand::Start);
  session->Tick();
  const std::vector<int> picked = session->Draw().batchWinners;
  display->Place({laptop});
  EXPECT_EQ(stage->geometry(), laptop->geometry());
  EXPECT_FALSE(display->console()->isVisible());
  EXPECT_EQ(operatorParent, stage.get());
  EXPECT_EQ(stage->OperatorWindow(), stage.get());
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_EQ(session->Draw().batchWinners, picked);
  // The rolling area shows the stage behind it at its new size: no band left black by the old picture.
  session->Tick();
  const QImage moved = stage->grab().toImage();
  const QRect area = stage->findChild<QWidget*>(QStringLiteral("画板_滚动"))->geometry();
  EXPECT_NE(moved.pixel(area.right() - 2, area.center().y()), qRgb(0, 0, 0));

  // Plugged back in: the stage returns to the projector and the console to the laptop.
  display->Place({laptop, projector});
  EXPECT_EQ(stage->geometry(), projector->geometry());
  EXPECT_TRUE(display->console()->isVisible());
  EXPECT_EQ(operatorParent, display->console());
  stage->RunCommand(StageCommand::Stop);
  EXPECT_TRUE(session->Draw().WinnersShown());
  // The remembered choice was never touched by the moves.
  EXPECT_EQ(LoadStageScreen(Settings(dir.Path(ProgramDir::kConfigIni))), "PROJECTOR");

  // The operator closes the console: boxes and keys belong to the stage again, the draw goes on.
  display->console()->close();
  EXPECT_EQ(operatorParent, stage.get());
  EXPECT_EQ(stage->OperatorWindow(), stage.get());
  EXPECT_TRUE(stage->isVisible());
}

TEST_F(TwoScreensTest, ChoosingTheLaptopSwapsTheWindowsAndIsRemembered) {
  WhenShown<StageScreenWindow>([](StageScreenWindow* window) {
    auto* list = window->findChild<QListWidget*>(QStringLiteral("列表_显示屏"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1.  LAPTOP  1280×800  主屏幕"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2.  PROJECTOR  1024×768  （舞台当前所在）"));
    EXPECT_EQ(list->currentRow(), 1);
    list->setCurrentRow(0);
    window->findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
  });
  stage->RunCommand(StageCommand::ExtendedDisplay);
  EXPECT_EQ(stage->geometry(), laptop->geometry());
  EXPECT_TRUE(projector->geometry().contains(display->console()->geometry()));
  EXPECT_EQ(LoadStageScreen(Settings(dir.Path(ProgramDir::kConfigIni))), "LAPTOP");

  // Cancelled: nothing moves and nothing is written.
  WhenShown<StageScreenWindow>([](StageScreenWindow* window) {
    window->findChild<QListWidget*>(QStringLiteral("列表_显示屏"))->setCurrentRow(1);
    window->findChild<QPushButton*>(QStringLiteral("按钮_取消"))->click();
  });
  stage->RunCommand(StageCommand::ExtendedDisplay);
  EXPECT_EQ(stage->geometry(), laptop->geometry());
  EXPECT_EQ(LoadStageScreen(Settings(dir.Path(ProgramDir::kConfigIni))), "LAPTOP");
}

// The audience's windows cover the projector, full screen, although the console has the keyboard on
// the laptop: the winner show (F6) and the lock.
TEST_F(TwoScreensTest, TheWinnerShowAndTheLockCoverTheStagesScreen) {
  struct Seen {
    QScreen* screen = nullptr;
    QRect geometry;
    bool fullScreen = false;
  };
  auto look = [](QWidget* window) { return Seen{window->screen(), window->geometry(), window->isFullScreen()}; };
  auto expectOnProjector = [&](const Seen& seen, const char* what) {
    EXPECT_EQ(seen.screen, projector) << what;
    EXPECT_EQ(seen.geometry, projector->geometry()) << what;
    EXPECT_TRUE(seen.fullScreen) << what;
  };

  Seen show;
  WhenShown<ResultWindow>([&](ResultWindow* window) {
    show = look(window);
    window->close();
  });
  stage->RunCommand(StageCommand::WinnerShow);
  expectOnProjector(show, "winner show");

  Seen lock;
  WhenShown<LockWindow>([&](LockWindow* window) {
    lock = look(window);
    window->TryUnlock();  // no password set: the empty box unlocks
  });
  stage->RunCommand(StageCommand::LockScreen);
  expectOnProjector(lock, "lock");
}

// With the console up, ESC (on either window) opens the stage's menus on the console: the projector
// never shows the bar. Once the console is gone the stage has its own bar again, hidden.
TEST_F(TwoScreensTest, EscapeShowsTheMenuOnTheConsoleNeverOnTheProjector) {
  OperatorConsoleWindow* console = display->console();
  ASSERT_NE(console, nullptr);
  QMenuBar* bar = console->menuBar();
  auto escape = [](QWidget* target) { PressKey(target, Qt::Key_Escape); };
  EXPECT_FALSE(bar->isVisible());

  escape(console);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(MenuBarOf(*stage)->isVisible());
  EXPECT_FALSE(MenusOf(*stage)->action(StageCommand::ToggleMenuBar)->isChecked()) << "the bar is shown";
  // The stage's own menus, opened on the laptop.
  ASSERT_EQ(bar->actions().size(), 4);
  EXPECT_EQ(bar->actions().at(2)->text(), QStringLiteral("功能"));
  bar->setActiveAction(bar->actions().at(0));
  QMenu* opened = MenusOf(*stage)->menu(StageMenus::kInterface);
  ASSERT_TRUE(opened->isVisible());
  EXPECT_EQ(opened->screen(), laptop);
  opened->close();

  escape(stage.get());  // ESC on the stage hides the console's bar again
  EXPECT_FALSE(bar->isVisible());
  EXPECT_FALSE(MenuBarOf(*stage)->isVisible());
  escape(console);
  EXPECT_TRUE(bar->isVisible());

  // The projector's cable is pulled: no console, and the stage's bar stays hidden until ESC.
  display->Place({laptop});
  EXPECT_FALSE(stage->menuBarShown());
  EXPECT_FALSE(MenuBarOf(*stage)->isVisible());
  escape(stage.get());
  EXPECT_TRUE(MenuBarOf(*stage)->isVisible());
  // Plugged back in: the stage's bar leaves the projector, the console's starts hidden.
  display->Place({laptop, projector});
  EXPECT_FALSE(MenuBarOf(*stage)->isVisible());
  EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace kavrel
