#include "stage/stage_window.h"
#include "settings/roll_style_setting.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "results/result_window.h"
#include "settings/award_settings_window.h"
#include "stage/stage_menus.h"
#include "stage/start_from_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/press_key.h"
#include "support/stage_parts.h"
#include "support/when_shown.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

// A whole small event in a temporary program folder: ten participants, a first prize of three in
// one batch and a second prize of two in one batch.
class StageWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(dir.EnsureConfigDir());
    std::string pool;
    for (int i = 1; i <= 10; ++i) pool += "00" + std::to_string(10 + i) + Gb("  选手") + std::to_string(i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                              Gb("一等奖,3,1,1,3,奖品：手机,,\r\n二等奖,2,1,1,2,奖品：耳机,,\r\n")));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteText(Gb("标题设置"), Gb("主标题"), Gb("年会抽奖"));
    settings.WriteText(Gb("标题设置"), Gb("中奖名额"), "5");
    settings.WriteBool(Gb("音效设置"), Gb("启用抽奖页面背景音乐"), musicOn);
    // Batches of a few winners are revealed slowly on the stage; these tests are about the rest (one turns it on).
    settings.WriteInt(Gb("舞台效果"), Gb("揭晓秒数"), 0);
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage = std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, [this](const std::string& p) {
      opened.push_back(p);
      return true;
    });
    stage->show();
    ActivateForKeys(stage.get());
    stage->StartUp();
  }

  void Press(int qtKey, QWidget* target = nullptr) { PressKey(target ? target : stage.get(), qtKey); }
  // What the draw timer does, without waiting for it.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) session->Tick();
  }
  QString Text(QLabel* label) const { return label->text(); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const std::string& t : prompter.MessageTexts()) out.push_back(ToQt(t).toStdString());
    return out;
  }

  bool musicOn = false;
  QTemporaryDir tmp;
  ProgramDir dir{fs::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::vector<std::string> opened;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
};

TEST_F(StageWindowTest, SpacePressesRunAWholeBatch) {
  const StageElements e = StageElementsOf(*stage);
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_EQ(Text(e.centre), QStringLiteral("按空格键开始抽取"));
  EXPECT_EQ(Text(e.award), QStringLiteral("一等奖"));
  EXPECT_EQ(Text(e.mainTitle), QStringLiteral("年会抽奖"));
  EXPECT_EQ(e.startButton->text(), QStringLiteral("开始"));
  EXPECT_TRUE(Text(e.status).startsWith(QStringLiteral("准备抽取【一等奖】"))) << Text(e.status).toStdString();
  EXPECT_TRUE(e.rolling->isHidden());
  EXPECT_FALSE(stage->menuBarShown());
  // The stage covers the screen, and no button can take the space bar away from the start/stop key.
  EXPECT_EQ(stage->geometry(), stage->ScreenRect());
  EXPECT_EQ(e.startButton->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(e.stopButton->focusPolicy(), Qt::NoFocus);

  Press(Qt::Key_Space);  // start rolling
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_TRUE(DrawTimerOf(*stage)->isActive());
  EXPECT_EQ(DrawTimerOf(*stage)->timerType(), Qt::PreciseTimer);
  EXPECT_FALSE(e.rolling->isHidden());
  EXPECT_TRUE(e.centre->isHidden());
  // The snapshot reaches the disk with the first painted tick: its file means the candidates roll.
  EXPECT_FALSE(FileExists(dir.Path(ProgramDir::kStageSnapshot)));
  Ticks(1);
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kStageSnapshot)));
  Ticks(4);
  EXPECT_EQ(e.rolling->Candidates().size(), 3);

  Press(Qt::Key_Space);  // stop: the batch's committed winners replace the last tick's candidates
  const QStringList onScreen = e.rolling->Candidates();
  EXPECT_EQ(onScreen.size(), 3);
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_TRUE(session->Draw().WinnersShown());
  EXPECT_FALSE(DrawTimerOf(*stage)->isActive());
  EXPECT_EQ(e.startButton->text(), QStringLiteral("准备"));
  EXPECT_TRUE(Text(e.status).startsWith(QStringLiteral("已抽取【一等奖】"))) << Text(e.status).toStdString();
  EXPECT_TRUE(e.marquee->text().startsWith(QStringLiteral("恭喜：【一等奖】")));
  EXPECT_EQ(session->Draw().pool.size(), 7u);
  const QString record = ToQt(ReadTextFile(dir.Path(ProgramDir::kResultDat)));
  EXPECT_TRUE(record.startsWith(QStringLiteral("一等奖-奖品：手机-"))) << record.toStdString();
  for (const QString& winner : onScreen) {
    EXPECT_TRUE(record.contains(winner)) << winner.toStdString();
    EXPECT_TRUE(e.marquee->text().contains(winner));
    EXPECT_TRUE(e.rolling->accessibleName().contains(winner));
  }
  EXPECT_TRUE(ToQt(ReadTextFile(dir.Path(ProgramDir::kResultTxt))).contains(QStringLiteral("【一等奖】")));

  Press(Qt::Key_Space);  // announce the next batch
  EXPECT_FALSE(session->Draw().WinnersShown());
  EXPECT_FALSE(e.centre->isHidden());
  EXPECT_TRUE(e.rolling->isHidden());
  EXPECT_EQ(Text(e.centre), QStringLiteral("按空格键开始抽取"));
  EXPECT_EQ(Text(e.award), QStringLiteral("二等奖"));
  EXPECT_EQ(e.startButton->text(), QStringLiteral("开始"));
  EXPECT_TRUE(Text(e.status).startsWith(QStringLiteral("准备抽取【二等奖】")));
  EXPECT_TRUE(prompter.shown().empty());

  // The buttons do what the space bar does.
  e.startButton->click();
  EXPECT_TRUE(session->Draw().Rolling());
  Ticks(1);
  e.stopButton->click();
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_EQ(session->Draw().pool.size(), 5u);
  Press(Qt::Key_Space);
  EXPECT_EQ(Text(e.centre), QStringLiteral("抽奖完毕！"));
}

// A presenter remote's "blank screen" blacks the whole stage out and brings it back as it was. A roll
// under way goes on unseen; while the stage is black no press starts, stops or announces anything.
// A batch of the evening's highlight (or of a few winners) is recorded at the press and then
// revealed: the stage covers itself while the names slow down and come forward, the other views
// wait for it, and a press skips it rather than announcing the next batch.
TEST_F(StageWindowTest, AHighlightsBatchIsRevealedAndAPressSkipsTheReveal) {
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  settings.WriteInt(Gb("舞台效果"), Gb("揭晓秒数"), 10);
  settings.WriteInt(Gb("舞台效果"), Gb("揭晓人数"), 0);  // by size alone, no batch would be
  ASSERT_TRUE(SaveHighlight(settings, Gb("一等奖"), true));
  Press(Qt::Key_Space);
  Ticks(3);
  Press(Qt::Key_Space);
  ASSERT_TRUE(session->Draw().WinnersShown());
  EXPECT_EQ(LoadResultLog(dir).size(), 1u) << "recorded at the press";
  auto* reveal = stage->findChild<QWidget*>(QStringLiteral("画板_揭晓"));
  ASSERT_NE(reveal, nullptr);
  for (int i = 0; i < 50 && !session->Revealing(); ++i) QApplication::processEvents();
  EXPECT_TRUE(session->Revealing());
  EXPECT_TRUE(reveal->isVisible());

  Press(Qt::Key_Space);  // skips to the end
  EXPECT_FALSE(session->Revealing());
  EXPECT_FALSE(reveal->isVisible());
  EXPECT_TRUE(session->Draw().WinnersShown()) << "the press skipped the reveal, it announced nothing";
  Press(Qt::Key_Space);
  EXPECT_EQ(session->Draw().phase, DrawPhase::Ready);
  Press(Qt::Key_Space);  // 二等奖, no highlight
  Ticks(3);
  Press(Qt::Key_Space);
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  EXPECT_FALSE(session->Revealing());
}

TEST_F(StageWindowTest, BlankScreenKeysBlackOutTheStageAndBringItBackUntouched) {
  auto allBlack = [](const QImage& image) {
    for (int y = 0; y < image.height(); y += 5)
      for (int x = 0; x < image.width(); x += 5)
        if ((image.pixel(x, y) & 0xFFFFFFu) != 0) return false;
    return !image.isNull();
  };
  // The stage as painted once its captions' effects have settled (a changed caption's first paint
  // differs from the next in a few edge pixels).
  auto picture = [this] {
    stage->grab();
    return stage->grab().toImage();
  };
  const QImage ready = picture();
  Press(Qt::Key_B);
  EXPECT_TRUE(allBlack(stage->grab().toImage()));
  Press(Qt::Key_Space);  // the stage comes back; the roll does not start unseen
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_EQ(picture(), ready);

  Press(Qt::Key_Space);
  Ticks(2);
  Press(Qt::Key_Period);
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_TRUE(DrawTimerOf(*stage)->isActive());
  Ticks(2);  // the candidates go on rolling under the cover
  EXPECT_TRUE(allBlack(stage->grab().toImage()));

  Press(Qt::Key_PageDown);  // back, still rolling: nothing was recorded
  EXPECT_FALSE(stage->blanked());
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_FALSE(FileExists(dir.Path(ProgramDir::kResultDat)));
  Ticks(1);
  Press(Qt::Key_Space);
  ASSERT_TRUE(session->Draw().WinnersShown());

  const QImage winners = picture();
  Press(Qt::Key_B);
  EXPECT_TRUE(allBlack(stage->grab().toImage()));
  Press(Qt::Key_Period);
  EXPECT_EQ(picture(), winners);
  EXPECT_TRUE(session->Draw().WinnersShown());
}

TEST_F(StageWindowTest, FunctionKeysRunOnceWhicheverControlHasTheFocus) {
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);  // one batch recorded: the restart asks first
  ASSERT_TRUE(session->Draw().drawStarted);

  prompter.ScriptAnswer(Answer::Cancel);
  Press(Qt::Key_F1, StageElementsOf(*stage).startButton);
  EXPECT_EQ(Messages(), std::vector<std::string>{"是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"});
  EXPECT_TRUE(session->Draw().drawStarted);

  prompter.Clear();
  prompter.ScriptAnswer(Answer::Cancel);
  Press(Qt::Key_F1, MenuBarOf(*stage)->button(StageMenus::kFunctions));
  EXPECT_EQ(prompter.shown().size(), 1u);

  // The menu item runs the same command, once.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Ok);
  MenusOf(*stage)->action(StageCommand::Restart)->trigger();
  EXPECT_EQ(prompter.shown().size(), 1u);
  EXPECT_FALSE(session->Draw().drawStarted);
  EXPECT_EQ(session->Draw().pool.size(), 10u);

  // Letters without a command do nothing.
  prompter.Clear();
  Press(Qt::Key_A, StageElementsOf(*stage).stopButton);
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(StageWindowTest, TheWinnersWallShowsEveryWinnerAndTakesTheClicker) {
  Press(Qt::Key_Space);
  Ticks(2);
  Press(Qt::Key_Space);  // three winners of 一等奖 recorded
  const QStringList winners = StageElementsOf(*stage).rolling->Candidates();
  Press(Qt::Key_F10);
  auto* wall = stage->findChild<QWidget*>(QStringLiteral("画板_中奖墙"));
  ASSERT_NE(wall, nullptr);
  EXPECT_TRUE(wall->isVisible());
  EXPECT_EQ(wall->geometry(), stage->rect());
  for (const QString& w : winners) EXPECT_TRUE(wall->accessibleName().contains(w)) << w.toStdString();
  // The clicker's keys are the wall's: no batch is announced behind it.
  Press(Qt::Key_PageDown);
  Press(Qt::Key_PageUp);
  EXPECT_TRUE(session->Draw().WinnersShown());
  // Escape closes the wall; the stage stands as it was.
  Press(Qt::Key_Escape);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return stage->findChild<QWidget*>(QStringLiteral("画板_中奖墙")) == nullptr; }, 5000));
  EXPECT_FALSE(stage->menuBarShown());
  // A start press while the wall is up brings the stage back instead of drawing unseen.
  stage->RunCommand(StageCommand::WinnersWall);
  Press(Qt::Key_Space);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return stage->findChild<QWidget*>(QStringLiteral("画板_中奖墙")) == nullptr; }, 5000));
  EXPECT_TRUE(session->Draw().WinnersShown());
}

TEST_F(StageWindowTest, ResultCommandsOpenTheResultWindowModally) {
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);  // the first prize is recorded
  struct Seen {
    ResultViewMode mode;
    QString title;
    QRect geometry;
  };
  std::vector<Seen> seen;
  // Each opening blocks in the window's own event loop; it is looked at and closed from there.
  auto closeOnceOpen = [&] {
    WhenShown<ResultWindow>([&](ResultWindow* window) {
      seen.push_back({window->mode(), window->windowTitle(), window->geometry()});
      window->close();
    });
  };
  closeOnceOpen();
  Press(Qt::Key_F6, StageElementsOf(*stage).startButton);
  closeOnceOpen();
  Press(Qt::Key_F7);
  closeOnceOpen();
  MenusOf(*stage)->action(StageCommand::WinnerList)->trigger();
  closeOnceOpen();
  MenusOf(*stage)->action(StageCommand::NonWinnerList)->trigger();
  closeOnceOpen();
  stage->ShowWinnerShow();  // what the draw controller calls once every award is drawn
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].mode, ResultViewMode::WinnerShow);
  EXPECT_EQ(seen[1].mode, ResultViewMode::LatestAward);
  EXPECT_EQ(seen[2].mode, ResultViewMode::WinnerList);
  EXPECT_EQ(seen[2].title, QStringLiteral("查看中奖名单"));
  EXPECT_EQ(seen[3].mode, ResultViewMode::NonWinnerList);
  EXPECT_EQ(seen[3].title, QStringLiteral("查看未中奖名单"));
  EXPECT_EQ(seen[4].mode, ResultViewMode::WinnerShow);
  EXPECT_EQ(seen[0].geometry, stage->ScreenRect());
  // The result music played in every view but the non-winner list, and every close stopped it.
  int plays = 0;
  for (const auto& call : sound.calls)
    plays += call.rfind("play ", 0) == 0 && call.find("bg4.mp3") != std::string::npos;
  EXPECT_EQ(plays, 4);
  EXPECT_EQ(sound.calls.back(), "stop");

  // Stage music that counted as playing comes back once the window is closed.
  sound.stageMusicFile = "bg2.mp3";
  sound.SetStageMusicPlaying(true);
  closeOnceOpen();
  Press(Qt::Key_F7);
  EXPECT_EQ(sound.calls.back(), "resume");
  EXPECT_TRUE(sound.StageMusicPlaying());
}

TEST_F(StageWindowTest, F6BeforeTheFirstWinnerOffersTheDrawPutAsideLast) {
  const fs::path past = dir.Path(ProgramDir::kHistoryDir) / "20261209-193000";
  fs::create_directories(past);
  ASSERT_TRUE(WriteTextFile(past / "result.dat", Gb("一等奖-奖品-001-002-")));
  fs::create_directories(dir.Path(ProgramDir::kHistoryDir) / "20261209-194500");  // a list put aside, no winners
  bool listShown = false;
  auto closeOnceOpen = [&] {
    WhenShown<ResultWindow>([&](ResultWindow* window) {
      listShown = window->findChild<QWidget*>(QStringLiteral("透明标签2")) != nullptr;
      window->close();
    });
  };

  prompter.ScriptAnswer(Answer::Yes);
  closeOnceOpen();
  Press(Qt::Key_F6);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "本次抽奖还没有中奖结果。\n是否展示上一次抽奖（2026-12-09 19:30:00，2 名中奖人员）的中奖名单？");
  EXPECT_TRUE(listShown) << "the past draw's winners scroll";

  prompter.Clear();
  prompter.ScriptAnswer(Answer::No);
  closeOnceOpen();
  Press(Qt::Key_F6);
  EXPECT_FALSE(listShown) << "the current draw's empty show";

  // Once the fresh draw has a winner, F6 shows it without asking.
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  prompter.Clear();
  closeOnceOpen();
  Press(Qt::Key_F6);
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_TRUE(listShown);
}

TEST_F(StageWindowTest, ExportAndHistoryItemsOpenTheirWindows) {
  QStringList openedWindows;
  auto closeOnceOpen = [&] {
    QTimer::singleShot(0, [&] {
      QWidget* window = QApplication::activeModalWidget();
      ASSERT_NE(window, nullptr);
      openedWindows << window->objectName() + QLatin1Char(':') + window->windowTitle();
      window->close();
    });
  };
  closeOnceOpen();
  MenusOf(*stage)->action(StageCommand::ExportWinners)->trigger();
  closeOnceOpen();
  MenusOf(*stage)->action(StageCommand::DrawHistory)->trigger();
  EXPECT_EQ(openedWindows, (QStringList{"WinnerExportWindow:导出中奖名单", "HistoryWindow:历史抽奖记录"}));
}

TEST_F(StageWindowTest, EscapeTwiceRestoresTheStartUpLook) {
  QAction* hide = MenusOf(*stage)->action(StageCommand::ToggleMenuBar);
  EXPECT_TRUE(hide->isChecked());
  EXPECT_TRUE(MenuBarOf(*stage)->isHidden());
  Press(Qt::Key_Escape);
  EXPECT_TRUE(stage->menuBarShown());
  EXPECT_FALSE(MenuBarOf(*stage)->isHidden());
  EXPECT_FALSE(hide->isChecked());
  hide->trigger();  // the item is the same toggle
  EXPECT_FALSE(stage->menuBarShown());
  EXPECT_TRUE(MenuBarOf(*stage)->isHidden());
  EXPECT_TRUE(hide->isChecked());
}

TEST_F(StageWindowTest, MusicKeyDoesNothingWhenStageMusicIsOff) {
  sound.calls.clear();
  Press(Qt::Key_F9);
  EXPECT_TRUE(sound.calls.empty());
}

class StageMusicTest : public StageWindowTest {
 protected:
  StageMusicTest() { musicOn = true; }
};

TEST_F(StageMusicTest, MusicKeyAlternatesStopAndPlayFromTheStart) {
  sound.SetStageMusicPlaying(true);
  sound.calls.clear();
  Press(Qt::Key_F9);
  Press(Qt::Key_F9);
  const std::string music = dir.Resolve("\\wav\\bg2.mp3");
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"stop", "play " + music + " loop"}));
  EXPECT_TRUE(sound.StageMusicPlaying());
}

TEST_F(StageWindowTest, SwitchingModeWhileRollingStopsTheRollAndKeepsTheList) {
  Press(Qt::Key_Space);
  Ticks(2);
  prompter.ScriptAnswer(Answer::Ok);  // discard the list
  prompter.ScriptAnswer(Answer::No);  // no pictures: back to text mode
  MenusOf(*stage)->action(StageCommand::PictureMode)->trigger();
  EXPECT_FALSE(DrawTimerOf(*stage)->isActive());
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_TRUE(session->Draw().pool.empty());
  EXPECT_TRUE(MenusOf(*stage)->action(StageCommand::TextMode)->isChecked());
  EXPECT_FALSE(FileExists(dir.Path(ProgramDir::kSetDat)));
  // The list went to history/, named by the time of the switch.
  EXPECT_TRUE(FileExists(dir.Root() / "history" / "20261209-200000" / "set.dat"));
  // Nothing was recorded for the abandoned roll.
  EXPECT_FALSE(FileExists(dir.Path(ProgramDir::kResultDat)));
}

TEST_F(StageWindowTest, AltDigitsOpenTheMenuBarsPopupsWhileTheBarIsShown) {
  stage->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(stage.get()));
  QMenu* settingsMenu = MenusOf(*stage)->menu(StageMenus::kSettings);
  QTest::keyClick(stage.get(), Qt::Key_2, Qt::AltModifier);
  EXPECT_FALSE(settingsMenu->isVisible()) << "the bar is hidden during a show";
  Press(Qt::Key_Escape);
  ASSERT_TRUE(stage->menuBarShown());
  QTest::keyClick(stage.get(), Qt::Key_2, Qt::AltModifier);
  QTRY_VERIFY_WITH_TIMEOUT(settingsMenu->isVisible(), 5000);
  EXPECT_EQ(settingsMenu->pos(), MenuBarOf(*stage)->PopupPosition(StageMenus::kSettings));
  settingsMenu->close();
}

TEST_F(StageWindowTest, LayoutEditModeTogglesWithItsMark) {
  QAction* item = MenusOf(*stage)->action(StageCommand::ToggleLayoutEdit);
  item->trigger();
  EXPECT_TRUE(item->isChecked());
  EXPECT_EQ(Messages(), std::vector<std::string>{"直接单击左键拖动要移动的内容，完成后再次点击'更改界面位置'退出"});
  EXPECT_TRUE(StageElementsOf(*stage).rolling->EditBorder());
  item->trigger();  // leaving the mode says nothing
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(StageElementsOf(*stage).rolling->EditBorder());
  EXPECT_EQ(prompter.shown().size(), 1u);
}

TEST_F(StageWindowTest, QuitAsksWhileBatchesRemain) {
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  prompter.ScriptAnswer(Answer::Cancel);
  Press(Qt::Key_F12);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"奖项还未抽取完毕，确定要退出吗？\n\n已抽出的中奖结果和抽奖进度会保留，"
                                     "下次启动时可以选择继续本次抽奖（正在滚动的这一批不算抽出）。"});
  EXPECT_TRUE(stage->isVisible());
  prompter.ScriptAnswer(Answer::Ok);
  Press(Qt::Key_F12);
  EXPECT_FALSE(stage->isVisible());
  // A confirmed quit keeps the resume record, and the mode is remembered.
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kExitIni)));
  EXPECT_TRUE(Settings(dir.Path(ProgramDir::kConfigIni)).ReadBool(Gb("模式"), Gb("文字抽奖模式"), false));
}

TEST_F(StageWindowTest, StartFromShowsTheChosenLineReady) {
  // The window is modal: answer it from inside its own event loop.
  WhenShown<StartFromWindow>([](StartFromWindow* window) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("从指定奖项抽"));
    QComboBox* combo = window->combo();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("请选择"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("二等奖第1批"));
    combo->setCurrentIndex(2);
    window->findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
  });
  stage->RunCommand(StageCommand::StartFrom);
  EXPECT_TRUE(session->Draw().startFromActive);
  EXPECT_EQ(Text(StageElementsOf(*stage).award), QStringLiteral("二等奖"));
  EXPECT_EQ(Text(StageElementsOf(*stage).centre), QStringLiteral("按空格键开始抽取"));
  EXPECT_TRUE(Text(StageElementsOf(*stage).status).startsWith(QStringLiteral("准备抽取【二等奖】")));
}

// Answers the award settings window from inside its own event loop.
void OnAwardSettings(std::function<void(AwardSettingsWindow*)> act) {
  WhenShown<AwardSettingsWindow>(act);
}

TEST_F(StageWindowTest, AwardSettingsReturnStepsReloadTheStageAndRestartOnlyWhenAsked) {
  const StageElements e = StageElementsOf(*stage);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QLineEdit*>(QStringLiteral("编辑框_主标题"))->setText(QStringLiteral("新年会"));
    w->findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
  });
  sound.calls.clear();
  stage->RunCommand(StageCommand::AwardSettings);
  EXPECT_EQ(Text(e.mainTitle), QStringLiteral("新年会")) << "OK reloads the stage settings";
  ASSERT_FALSE(sound.calls.empty());
  EXPECT_EQ(sound.calls.front(), "suspend");
  EXPECT_EQ(sound.calls.back(), "resume");

  // One batch drawn: the draw is under way.
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kAwardTableDat),
                            Gb("一等奖,3,1,3,奖品：手机,,\r\n二等奖,2,1,2,奖品：耳机,,\r\n")));
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  ASSERT_TRUE(session->Draw().drawStarted);
  prompter.Clear();

  // Changing the order and answering Cancel keeps the running draw.
  prompter.ScriptAnswer(Answer::Cancel);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QComboBox*>(QStringLiteral("组合框_抽奖顺序"))->setCurrentIndex(1);
    w->findChild<QPushButton*>(QStringLiteral("按钮_取消"))->click();
  });
  stage->RunCommand(StageCommand::AwardSettings);
  EXPECT_EQ(Messages(), std::vector<std::string>{"是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"});
  EXPECT_TRUE(session->Draw().drawStarted);
  EXPECT_EQ(session->Draw().pool.size(), 7u);
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kResultDat)));

  // OK restarts: the draw is rebuilt from the files once the window has closed.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Ok);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QComboBox*>(QStringLiteral("组合框_抽奖顺序"))->setCurrentIndex(0);
    w->findChild<QPushButton*>(QStringLiteral("按钮_取消"))->click();
  });
  stage->RunCommand(StageCommand::AwardSettings);
  EXPECT_FALSE(session->Draw().drawStarted);
  EXPECT_EQ(session->Draw().pool.size(), 10u);
  EXPECT_EQ(Text(e.award), QStringLiteral("一等奖"));
  EXPECT_TRUE(Text(e.status).startsWith(QStringLiteral("准备抽取【一等奖】"))) << Text(e.status).toStdString();
}

TEST_F(StageWindowTest, AwardSettingsOpenedDuringARollEndTheRollWithNothingRecorded) {
  const StageElements e = StageElementsOf(*stage);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kAwardTableDat),
                            Gb("一等奖,3,1,3,奖品：手机,,\r\n二等奖,2,1,2,奖品：耳机,,\r\n")));
  Press(Qt::Key_Space);  // the first batch, drawn: a draw is under way
  Ticks(1);
  Press(Qt::Key_Space);
  Press(Qt::Key_Space);  // announce 二等奖
  ASSERT_TRUE(
      WriteTextFile(dir.Path(ProgramDir::kAwardTableDat),
                    Gb("一等奖,3,1,3,奖品：手机,,\r\n二等奖,2,1,2,奖品：耳机,,\r\n三等奖,1,1,1,奖品：杯子,,\r\n")));
  Press(Qt::Key_Space);  // 二等奖 rolls
  Ticks(3);
  ASSERT_TRUE(session->Draw().Rolling());
  const std::string resultsBefore = ReadTextFile(dir.Path(ProgramDir::kResultDat));

  // The operator reverses the order, keeps the running draw (Cancel) and confirms the window.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Cancel);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QComboBox*>(QStringLiteral("组合框_抽奖顺序"))->setCurrentIndex(1);
    w->findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
  });
  stage->RunCommand(StageCommand::AwardSettings);
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_FALSE(DrawTimerOf(*stage)->isActive());
  EXPECT_TRUE(e.rolling->isHidden());
  EXPECT_EQ(Text(e.centre), QStringLiteral("按空格键开始抽取"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultDat)), resultsBefore) << "the aborted roll recorded something";
  EXPECT_EQ(session->Draw().pool.size(), 7u);

  // The next roll is a whole batch of the line the stage now announces, recorded under that award.
  Press(Qt::Key_Space);
  ASSERT_TRUE(session->Draw().Rolling());
  Ticks(2);
  const QString award = Text(e.award);
  const int size = session->Draw().batchSize;
  Press(Qt::Key_Space);
  EXPECT_EQ(e.rolling->Candidates().size(), size);
  EXPECT_TRUE(Text(e.status).startsWith(QStringLiteral("已抽取【") + award + QStringLiteral("】")))
      << Text(e.status).toStdString();
  const QString record = ToQt(ReadTextFile(dir.Path(ProgramDir::kResultDat)));
  EXPECT_TRUE(record.contains(QStringLiteral("\r\n") + award + QStringLiteral("-"))) << record.toStdString();
  EXPECT_EQ(session->Draw().pool.size(), 7u - static_cast<std::size_t>(size));
}

TEST_F(StageWindowTest, ADrawOrderChangedWithTheNextBatchAnnouncedAnnouncesTheLineThatWillBeDrawn) {
  const StageElements e = StageElementsOf(*stage);
  ASSERT_TRUE(
      WriteTextFile(dir.Path(ProgramDir::kAwardTableDat),
                    Gb("一等奖,3,1,3,奖品：手机,,\r\n二等奖,2,1,2,奖品：耳机,,\r\n三等奖,1,1,1,奖品：杯子,,\r\n")));
  ASSERT_TRUE(WriteTextFile(
      dir.Path(ProgramDir::kBatchPlanDat),
      Gb("一等奖,3,1,1,3,奖品：手机,,\r\n二等奖,2,1,1,2,奖品：耳机,,\r\n三等奖,1,1,1,1,奖品：杯子,,\r\n")));
  stage->RunCommand(StageCommand::Restart);  // nothing drawn yet: a fresh draw from the files
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  Press(Qt::Key_Space);  // 二等奖 announced
  ASSERT_EQ(Text(e.award), QStringLiteral("二等奖"));

  // The order is reversed and the running draw kept; the window is left with 取消.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Cancel);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QComboBox*>(QStringLiteral("组合框_抽奖顺序"))->setCurrentIndex(1);
    w->findChild<QPushButton*>(QStringLiteral("按钮_取消"))->click();
  });
  stage->RunCommand(StageCommand::AwardSettings);
  ASSERT_TRUE(session->Draw().drawStarted);
  EXPECT_EQ(Text(e.award), QStringLiteral("三等奖"));
  EXPECT_EQ(Text(e.prizeName), QStringLiteral("奖品：杯子"));
  EXPECT_TRUE(Text(e.status).startsWith(QStringLiteral("准备抽取【三等奖】"))) << Text(e.status).toStdString();

  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  const QString record = ToQt(ReadTextFile(dir.Path(ProgramDir::kResultDat)));
  EXPECT_TRUE(record.contains(QStringLiteral("\r\n三等奖-奖品：杯子-"))) << record.toStdString();
  EXPECT_FALSE(record.contains(QStringLiteral("三等奖-奖品：耳机"))) << record.toStdString();

  // Only the title changed: the announced batch stays as it was.
  Press(Qt::Key_Space);  // 二等奖 announced (the last line left)
  const QString status = Text(e.status);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QLineEdit*>(QStringLiteral("编辑框_主标题"))->setText(QStringLiteral("新年会"));
    w->findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
  });
  stage->RunCommand(StageCommand::AwardSettings);
  EXPECT_EQ(Text(e.mainTitle), QStringLiteral("新年会"));
  EXPECT_EQ(Text(e.status), status);
}

TEST_F(StageWindowTest, ADrawOrderChangedBetweenBatchesOfOneAwardKeepsItsWinnersOnOneLine) {
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kAwardTableDat), Gb("二等奖,3,3,1+1+1,奖品：耳机,,\r\n")));
  ASSERT_TRUE(WriteTextFile(
      dir.Path(ProgramDir::kBatchPlanDat),
      Gb("二等奖,3,3,1,1,奖品：耳机,,\r\n二等奖,3,3,2,1,奖品：耳机,,\r\n二等奖,3,3,3,1,奖品：耳机,,\r\n")));
  stage->RunCommand(StageCommand::Restart);
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  Press(Qt::Key_Space);  // the second batch announced
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Cancel);
  OnAwardSettings([](AwardSettingsWindow* w) {
    w->findChild<QComboBox*>(QStringLiteral("组合框_抽奖顺序"))->setCurrentIndex(1);
    w->findChild<QPushButton*>(QStringLiteral("按钮_确定"))->click();
  });
  stage->RunCommand(StageCommand::AwardSettings);
  Press(Qt::Key_Space);
  Ticks(1);
  Press(Qt::Key_Space);
  const QString record = ToQt(ReadTextFile(dir.Path(ProgramDir::kResultDat)));
  EXPECT_EQ(record.count(QStringLiteral("二等奖-")), 1) << record.toStdString();
  EXPECT_EQ(record.split(u'-', Qt::SkipEmptyParts).size(), 4) << record.toStdString();
}

TEST_F(StageWindowTest, NoticesAndHelp) {
  stage->RunCommand(StageCommand::ExtendedDisplay);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(ToQt(prompter.shown()[0].caption), QStringLiteral("提示信息："));
  const QString notice = ToQt(prompter.shown()[0].text);
  EXPECT_TRUE(notice.startsWith(
      QStringLiteral("此功能为存在多个屏幕输出时直接显示到扩展屏幕而电脑主屏不显示，此功能暂未开放，目前可以实现电"
                     "脑主屏与扩展屏同时显示，如需要此项功能请与开发人员联系，")));
  EXPECT_TRUE(notice.endsWith(QStringLiteral("谢谢！")));

  // The manual: the HTML pages, or the compiled help file when one lies beside the program.
  EXPECT_EQ(HelpTipsWindow::ManualPath(dir), dir.Root() / "manual" / "index.html");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kHelpFile), "chm"));
  EXPECT_EQ(HelpTipsWindow::ManualPath(dir), dir.Path(ProgramDir::kHelpFile));
}

TEST_F(StageWindowTest, HelpWindowLayout) {
  HelpTipsWindow help(QPixmap(796, 520), dir, [this](const std::string& p) {
    opened.push_back(p);
    return false;
  });
  EXPECT_EQ(help.windowTitle(), QStringLiteral("操作提示"));
  EXPECT_EQ(help.size(), QSize(800, 600));
  auto* tip = help.findChild<QLabel*>(QStringLiteral("标签_操作要领"));
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->text(), QStringLiteral("操作要领：主菜单(ESC键显示和隐藏主菜单) + 快捷键操作"));
  EXPECT_EQ(tip->geometry(), QRect(348, 534, 440, 32));
  auto* manual = help.findChild<QPushButton*>(QStringLiteral("按钮_使用说明书"));
  ASSERT_NE(manual, nullptr);
  EXPECT_EQ(manual->geometry(), QRect(58, 532, 100, 32));
  manual->click();
  EXPECT_EQ(opened, std::vector<std::string>{GbPath(dir.Root() / "manual" / "index.html")});
}

}  // namespace
}  // namespace kavrel

namespace kavrel {
namespace {

// Picture mode: the entries are photo names in a folder.
class PictureStageTest : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& entries, const std::vector<std::string>& withPhoto) {
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(dir.EnsureConfigDir());
    const fs::path photos = dir.Root() / "photos";
    fs::create_directories(photos);
    for (const std::string& e : withPhoto) {
      QImage img(80, 60, QImage::Format_RGB32);
      img.fill(Qt::darkRed);
      ASSERT_TRUE(img.save(QString::fromStdString((photos / (e + ".jpg")).string())));
    }
    std::string pool;
    for (const std::string& e : entries) pool += Gb(e) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), Gb("一等奖,2,1,1,2,奖品：手机,,\r\n")));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteText(Gb("标题设置"), Gb("中奖名额"), "2");
    settings.WriteBool(Gb("模式"), Gb("文字抽奖模式"), false);
    settings.WriteInt(Gb("舞台效果"), Gb("揭晓秒数"), 0);
    settings.WriteText(Gb("图片路径"), Gb("图片前缀"), GbPath(photos));
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage = std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, nullptr);
    stage->show();
    ActivateForKeys(stage.get());
    stage->StartUp();
  }

  QTemporaryDir tmp;
  ProgramDir dir{fs::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
};

TEST_F(PictureStageTest, PhotosRollWithTheirNames) {
  Start({"zhang", "wang", "li"}, {"zhang", "wang", "li"});
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_FALSE(session->Mode().textMode);
  EXPECT_TRUE(MenusOf(*stage)->action(StageCommand::PictureMode)->isChecked());
  stage->RunCommand(StageCommand::Start);
  ASSERT_TRUE(session->Draw().Rolling());
  for (int i = 0; i < 20; ++i) session->Tick();
  EXPECT_EQ(StageElementsOf(*stage).rolling->Candidates().size(), 2);
  StageElementsOf(*stage).rolling->grab();  // photos are read when a frame is painted
  EXPECT_EQ(StageElementsOf(*stage).rolling->CachedPhotoCount(), 2);
  stage->RunCommand(StageCommand::Stop);
  EXPECT_TRUE(session->Draw().WinnersShown());
}

TEST_F(PictureStageTest, AMissingFirstPhotoKeepsTheList) {
  Start({"zhang", "wang", "li"}, {"li"});
  stage->RunCommand(StageCommand::Start);
  ASSERT_EQ(prompter.shown().size(), 1u);
  const QString text = ToQt(prompter.shown()[0].text);
  EXPECT_TRUE(text.startsWith(QStringLiteral("图片不存在，请先添加图片！"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("zhang.jpg、wang.jpg"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("li.jpg")));
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_EQ(session->Draw().pool.size(), 3u);
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kSetDat)));
}

}  // namespace
}  // namespace kavrel
