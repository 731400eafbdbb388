// What the draw does around the stage's windows: the reload a window asks for when it closes, and
// the stage music's rules.
#include "engine_fixture.h"
#include "storage/draw_history.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

class AfterWindows : public EngineFixture {
 protected:
  AfterWindows() {
    WriteList(6);
    WritePlan({"一等奖,2,1,1,2,奖品：甲,,", "二等奖,2,1,1,2,奖品：乙,,"});
  }
  std::vector<std::string> SoundCalls() {
    auto calls = sound.calls;
    sound.calls.clear();
    return calls;
  }
  std::string Music() const { return dir.Resolve("\\wav\\bg2.mp3"); }
};

TEST_F(AfterWindows, AWindowRestartsADrawUnderWayOnlyWhenItSaysSo) {
  ctl().StartUp();
  Roll();
  ctl().StartPressed();  // the next batch is announced
  ASSERT_TRUE(state.drawStarted);
  const std::string results = Read(ProgramDir::kResultDat);
  WriteList(9);  // the list saved in the window

  // Closed without a restart: the draw under way goes on with its own pool.
  ctl().AfterListEditor();
  ctl().AfterAwardSettings(false);
  EXPECT_TRUE(state.drawStarted);
  EXPECT_EQ(state.pool.size(), 4u);
  EXPECT_EQ(Read(ProgramDir::kResultDat), results);
  EXPECT_TRUE(Exists(ProgramDir::kExitIni));

  // The operator agreed to start over: the draw is rebuilt from the saved list, the winners kept in history.
  ctl().AfterListEditor(true);
  EXPECT_FALSE(state.drawStarted);
  EXPECT_EQ(state.pool.size(), 9u);
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));
  EXPECT_FALSE(Exists(ProgramDir::kExitIni));
  const auto folders = ListHistoryFolders(dir);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(ReadTextFile(folders[0] / "result.dat"), results);
  EXPECT_EQ(ReadHistoryNote(HistoryDraw(folders[0])).reason, HistoryReason::ListOrAwardsSaved);
  EXPECT_EQ(Status(), U("准备抽取【一等奖】，本轮抽2名（第1轮/总1轮，已抽0名/共2名)"));

  // The same from the award settings, however that window closed.
  Roll();
  ctl().AfterAwardSettings(false, true);
  EXPECT_FALSE(state.drawStarted);
  EXPECT_EQ(state.pool.size(), 9u);
  EXPECT_EQ(ListHistoryFolders(dir).size(), 2u);
}

TEST_F(AfterWindows, StageMusicStartsPausesAroundWindowsAndTogglesOnF9) {
  sound.stageMusicFile = Music();  // the port's resume plays it
  ctl().StartUp();
  EXPECT_EQ(SoundCalls(), std::vector<std::string>{"resume"});
  EXPECT_TRUE(ctl().Music().Playing());
  ctl().Music().StartOnStage();
  EXPECT_TRUE(SoundCalls().empty()) << "already playing";

  // The start sound ends the music, which still counts as playing: a window that silenced
  // everything brings it back, one that must be quiet stops it for good until it closes.
  ctl().StartPressed();
  Tick();
  ctl().StopPressed();
  SoundCalls();
  EXPECT_TRUE(ctl().Music().Playing());
  ctl().Music().AfterSilencingWindow();
  EXPECT_EQ(SoundCalls(), std::vector<std::string>{"resume"});
  ctl().SuspendStageMusic();
  EXPECT_FALSE(ctl().Music().Playing());
  ctl().Music().AfterSilencingWindow();
  EXPECT_EQ(SoundCalls(), std::vector<std::string>{"suspend"}) << "not playing: it stays quiet";
  ctl().AfterListEditor();
  EXPECT_EQ(SoundCalls(), std::vector<std::string>{"resume"});

  // F9 stops the music, and plays it again from the beginning.
  ctl().Music().Toggle();
  ctl().Music().Toggle();
  EXPECT_EQ(SoundCalls(), (std::vector<std::string>{"stop", "play " + Music() + " loop"}));
  EXPECT_TRUE(ctl().Music().Playing());

  // Switched off in the sound settings: F9 does nothing at all.
  WriteConfig("音效设置", "启用抽奖页面背景音乐", "假");
  ctl().AfterSoundSettings();
  SoundCalls();
  ctl().Music().Toggle();
  EXPECT_TRUE(SoundCalls().empty());
}

}  // namespace
}  // namespace kavrel
