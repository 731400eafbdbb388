// The stage's font, sound and lock commands end to end: the menu item opens the window modally, the
// window is used from inside its own event loop, and the stage is checked once it has closed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "settings/sound_settings_window.h"
#include "stage/font_color_window.h"
#include "stage/lock_window.h"
#include "stage/stage_menus.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/press_key.h"
#include "support/stage_parts.h"
#include "support/widget_lookup.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

// Runs `act` on the modal window of type W once it is open; `done` tells whether it ran.
template <typename W>
void OnceOpen(bool& done, std::function<void(W*)> act) {
  QTimer::singleShot(0, [&done, act] {
    auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    act(window);
    done = true;
  });
}

class StageStylingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.EnsureConfigDir());
    std::string pool;
    for (int i = 1; i <= 10; ++i) pool += "00" + std::to_string(10 + i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                              Gb("一等奖,3,1,1,3,奖品：手机,,\r\n二等奖,2,1,1,2,奖品：耳机,,\r\n")));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteText(Gb("标题设置"), Gb("中奖名额"), "5");
    fs::create_directories(dir.Root() / "wav");
    WriteTextFile(dir.Root() / "wav" / "bg2.mp3", "x");
    WriteTextFile(dir.Root() / "wav" / "new.mp3", "x");
    sound.stageMusicFile = "bg2.mp3";
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage =
        std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage->show();
    ActivateForKeys(stage.get());
    stage->StartUp();
  }
  void Press(int qtKey) { PressKey(stage.get(), qtKey); }
  void Run(StageCommand c) { MenusOf(*stage)->action(c)->trigger(); }

  QTemporaryDir tmp;
  ProgramDir dir{fs::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
};

TEST_F(StageStylingTest, FontWindowRestylesAtOnceAndRestoringKeepsTheChosenSize) {
  const StageElements e = StageElementsOf(*stage);
  bool done = false;
  OnceOpen<FontColorWindow>(done, [&](FontColorWindow* window) {
    // The real font dialog, answered from inside its own loop.
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      QFont f(QStringLiteral("Noto Serif CJK SC"));
      f.setPointSize(20);
      dialog->setCurrentFont(f);
      dialog->accept();
    });
    Find<QToolButton>(window, "超级按钮_奖项")->click();
    EXPECT_EQ(e.award->font().pointSize(), 20);  // at once, before the window closes
    Find<QComboBox>(window, "组合框_奖项")->setCurrentIndex(3);
    Find<QComboBox>(window, "组合框_抽奖人")->setCurrentIndex(1);
    Find<ColourPicker>(window, "颜色选择器_抽奖状态")->SetColour(QColor(255, 128, 0));
    Find<ColourPicker>(window, "颜色选择器_滚动中奖区")->SetColour(QColor(0, 255, 255));
    Find<QPushButton>(window, "按钮_关闭")->click();
  });
  Run(StageCommand::FontsAndColours);
  ASSERT_TRUE(done);
  EXPECT_EQ(e.award->Effect(), LabelEffect::Shadow);
  EXPECT_EQ(e.drawer->Effect(), LabelEffect::Sunken);
  EXPECT_EQ(e.status->TextColour(), QColor(255, 128, 0));
  EXPECT_FALSE(e.award->font().bold());
  // Laid out again for the new font: the award label fits its caption and stays centred.
  const int screenWidth = stage->ScreenRect().width();
  EXPECT_EQ(e.award->x(), (screenWidth - e.award->width()) / 2);

  // The rolling colour is taken when the next roll starts.
  Press(Qt::Key_Space);
  EXPECT_EQ(e.rolling->RollColour(), QColor(0, 255, 255));
  session->Tick();
  Press(Qt::Key_Space);  // stop
  Press(Qt::Key_Space);  // the next batch

  Run(StageCommand::RestoreDefaultLook);
  EXPECT_EQ(e.award->font().pointSize(), 20);
  EXPECT_TRUE(e.award->font().bold());
  EXPECT_EQ(e.award->Effect(), LabelEffect::Raised);
  EXPECT_EQ(e.drawer->Effect(), LabelEffect::Plain);
  EXPECT_TRUE(e.status->AutoColour()) << "the default follows the background again";
  Press(Qt::Key_Space);
  ASSERT_TRUE(session->Draw().Rolling());
  EXPECT_EQ(e.rolling->RollColour(), QColor(255, 255, 0));
}

TEST_F(StageStylingTest, SoundSettingsReloadAndResumeTheStageMusic) {
  sound.calls.clear();
  bool done = false;
  OnceOpen<SoundSettingsWindow>(done, [](SoundSettingsWindow* window) {
    Find<QComboBox>(window, "组合框_抽奖页面背景音乐")->setCurrentIndex(1);  // \wav\new.mp3
    Find<QPushButton>(window, "按钮_确定")->click();
  });
  Run(StageCommand::SoundSettings);
  ASSERT_TRUE(done);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"suspend", "resume"}));
  EXPECT_EQ(session->Sounds().stageMusicFile, dir.Resolve(Gb("\\wav\\new.mp3")));

  // Switched off: the stage stays quiet and F9 does nothing.
  done = false;
  OnceOpen<SoundSettingsWindow>(done, [](SoundSettingsWindow* window) {
    Find<QCheckBox>(window, "选择框_抽奖页面背景音乐")->setChecked(false);
    Find<QPushButton>(window, "按钮_确定")->click();
  });
  Run(StageCommand::SoundSettings);
  ASSERT_TRUE(done);
  EXPECT_FALSE(session->Sounds().stageMusicOn);
  sound.calls.clear();
  Press(Qt::Key_F9);
  EXPECT_TRUE(sound.calls.empty());
}

TEST_F(StageStylingTest, TheLockKeepsKeysFromTheStageUntilUnlocked) {
  bool done = false;
  OnceOpen<LockWindow>(done, [&](LockWindow* lock) {
    EXPECT_EQ(lock->geometry(), stage->ScreenRect());
    // Space and F1 pressed while locked reach the lock, not the draw.
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(lock, &space);
    EXPECT_FALSE(session->Draw().Rolling());
    EXPECT_TRUE(lock->RowShown());
    auto* hide = lock->findChild<QWidget*>(QStringLiteral("透明标签_隐藏"));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), hide->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(hide, &release);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(lock, &enter);
  });
  Run(StageCommand::LockScreen);
  ASSERT_TRUE(done);
  EXPECT_FALSE(session->Draw().Rolling());
  EXPECT_TRUE(prompter.shown().empty());
  Press(Qt::Key_Space);
  EXPECT_TRUE(session->Draw().Rolling());
}

}  // namespace
}  // namespace kavrel
