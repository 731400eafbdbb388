#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>

#include "engine/start_from.h"
#include "engine_fixture.h"
#include "storage/draw_history.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

const char* const kR1 = "准备抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽0名/共4名)";
const char* const kR2 = "准备抽取【三等奖】，本轮抽2名（第2轮/总2轮，已抽2名/共4名)";
const char* const kR3 = "准备抽取【一等奖】，本轮抽1名（第1轮/总1轮，已抽0名/共1名)";

class Recovery : public EngineFixture {
 protected:
  void SetUp() override {
    WriteList(10);
    WritePlan(
        {"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本一台,,"});
    WriteConfig("标题设置", "中奖名额", "5");
  }
  // Presses until the plan is drawn and the last winners are on screen.
  void FinishDraw() {
    for (int guard = 0; guard < 20 && !(state.plan.empty() && state.WinnersShown()); ++guard) {
      if (state.WinnersShown())
        ctl().StartPressed();
      else
        Roll();
    }
  }
  std::vector<std::string> AllWinners() {
    std::vector<std::string> all;
    for (const auto& line : LoadResultLog(dir)) all.insert(all.end(), line.winners.begin(), line.winners.end());
    return all;
  }
};

// A crash (no stage destruction, no quit) after each step of a whole draw: the next start offers
// to resume, and the finished draw has every batch once, every winner once, nobody lost.
TEST_F(Recovery, CrashAtEveryStepLosesNothingAndDrawsNothingTwice) {
  using Step = std::function<void()>;
  const Step start = [this] { ctl().StartPressed(); };
  const Step tick = [this] { Tick(); };
  const Step stop = [this] { ctl().StopPressed(); };
  const std::vector<Step> script = {start, tick, stop, start, start, tick, stop, start, start, tick, stop};
  // crashAt == script.size() crashes after the last stop, with the whole plan drawn.
  for (std::size_t crashAt = 0; crashAt <= script.size(); ++crashAt) {
    SCOPED_TRACE("crash after step " + std::to_string(crashAt));
    std::filesystem::remove_all(root / "config");
    std::filesystem::remove_all(root / "history");
    std::filesystem::remove(root / "result.txt");
    std::filesystem::create_directories(root / "config");
    SetUp();
    Restart();
    ctl().StartUp();
    for (std::size_t i = 0; i < crashAt; ++i) script[i]();
    const std::size_t recorded = LoadResultLog(dir).empty() ? 0 : AllWinners().size();
    const bool last = crashAt == script.size();

    Restart();
    prompter.Clear();
    ctl().StartUp();  // the unscripted question answers Yes
    const bool asked = !prompter.shown().empty();
    EXPECT_EQ(asked, recorded > 0 && !last);
    if (asked) {
      EXPECT_EQ(prompter.shown()[0].text, U("上次程序退出前还有未抽取完成的奖项，是否要继续上次的抽奖，按【是】继续完成"
                                            "上次未完成的抽奖，按【否】将重新开始新一轮的抽奖！"));
      EXPECT_EQ(prompter.shown()[0].caption, U("开始抽奖前确认信息："));
      EXPECT_EQ(prompter.shown()[0].buttons, Buttons::YesNo);
    }
    if (last) {
      // The whole plan was drawn: nothing to resume, the next start begins a new draw and the
      // finished one's results are kept in history.
      EXPECT_EQ(Status(), U(kR1));
      EXPECT_TRUE(AllWinners().empty());
      const std::string kept = Read("\\history\\20261209-200000\\result.dat");
      int keptWinners = 0;
      for (int i = 1; i <= 10; ++i) {
        char entry[8];
        std::snprintf(entry, sizeof entry, "-%03d-", i);
        keptWinners += kept.find(entry) != std::string::npos ? 1 : 0;
      }
      EXPECT_EQ(keptWinners, 5) << kept;
    } else {
      const char* expectedReady = recorded == 0 ? kR1 : recorded == 2 ? kR2 : kR3;
      EXPECT_EQ(Status(), U(expectedReady));
      EXPECT_EQ(AllWinners().size(), recorded) << "the result files survive the crash";
    }

    FinishDraw();
    const auto log = LoadResultLog(dir);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].awardName, U("三等奖"));
    EXPECT_EQ(log[0].winners.size(), 4u);
    EXPECT_EQ(log[1].awardName, U("一等奖"));
    EXPECT_EQ(log[1].winners.size(), 1u);
    auto everyone = AllWinners();
    everyone.insert(everyone.end(), state.pool.begin(), state.pool.end());
    std::sort(everyone.begin(), everyone.end());
    EXPECT_EQ(everyone.size(), 10u);
    EXPECT_EQ(std::set<std::string>(everyone.begin(), everyone.end()).size(), 10u) << "nobody drawn twice or lost";
  }
}

// Power lost after a stop wrote the result files but before it rewrote the resume record: the record
// still holds that batch's winners in its pool, so the resume takes the batch out of the result files
// and it is drawn again; nobody appears twice.
TEST_F(Recovery, PowerLossBetweenResultsAndRecordDrawsThatBatchAgain) {
  ctl().StartUp();
  ctl().StartPressed();
  Tick();
  ctl().StopPressed();
  const std::string recordAfterFirst = Read(ProgramDir::kExitIni);
  const std::string datAfterFirst = Read(ProgramDir::kResultDat);
  const std::string txtAfterFirst = Read("\\result.txt");
  ctl().StartPressed();
  ctl().StartPressed();
  Tick();
  ctl().StopPressed();
  ASSERT_NE(Read(ProgramDir::kResultDat), datAfterFirst);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kExitIni), recordAfterFirst));

  Restart();
  ctl().StartUp();  // the unscripted question answers Yes
  EXPECT_EQ(Read(ProgramDir::kResultDat), datAfterFirst);
  EXPECT_EQ(Read("\\result.txt"), txtAfterFirst);
  EXPECT_EQ(Status(), U(kR2));
  FinishDraw();
  auto everyone = AllWinners();
  EXPECT_EQ(everyone.size(), 5u);
  everyone.insert(everyone.end(), state.pool.begin(), state.pool.end());
  EXPECT_EQ(std::set<std::string>(everyone.begin(), everyone.end()).size(), 10u) << "nobody drawn twice or lost";
}

TEST_F(Recovery, ExitRecordFollowsEveryChange) {
  ctl().StartUp();
  EXPECT_FALSE(Exists(ProgramDir::kExitIni)) << "nothing recorded yet";
  Roll();
  ASSERT_TRUE(Exists(ProgramDir::kExitIni));
  auto record = ReadExitRecord(dir);
  EXPECT_EQ(record->pool, state.pool);
  EXPECT_EQ(record->plan.size(), 2u);
  EXPECT_EQ(record->lastAwardName, U("三等奖"));
  EXPECT_EQ(record->batchNo, 1);
  EXPECT_EQ(record->drawnInAward, 2);
  ctl().UndoPressed();
  record = ReadExitRecord(dir);
  EXPECT_EQ(record->pool.size(), 10u);
  EXPECT_EQ(record->plan.size(), 3u);
  EXPECT_EQ(record->lastAwardName, "");
  FinishDraw();
  EXPECT_FALSE(Exists(ProgramDir::kExitIni)) << "nothing left to draw";
  ctl().UndoPressed();
  EXPECT_TRUE(Exists(ProgramDir::kExitIni)) << "the undone batch is to be drawn again";
}

TEST_F(Recovery, UndoOfAFirstBatchOnceOnly) {
  ctl().StartUp();
  prompter.Clear();
  ctl().UndoPressed();
  EXPECT_EQ(LastMessage(), U("还未开始抽奖，无法撤销！"));
  EXPECT_EQ(prompter.shown().back().caption, U("操作提示："));
  const auto w1 = Descending(Roll());
  const auto poolAfterStop = state.pool;
  ctl().UndoPressed();
  EXPECT_EQ(prompter.shown().back().text, U("确认要撤销上轮【三等奖第1轮】的抽奖结果吗？"));
  EXPECT_EQ(prompter.shown().back().buttons, Buttons::OkCancel);
  EXPECT_EQ(Read(ProgramDir::kResultDat), "");
  std::string separatorOnly = "\r\n\r\n";
  for (int i = 0; i < 10; ++i) separatorOnly += "-----------";
  EXPECT_EQ(Read(ProgramDir::kResultTxt), separatorOnly);
  ASSERT_EQ(state.pool.size(), 10u);
  EXPECT_EQ(state.pool[8], w1[1]) << "the last recorded comes back first";
  EXPECT_EQ(state.pool[9], w1[0]);
  EXPECT_EQ(state.plan.size(), 3u);
  EXPECT_EQ(state.plan[0], U("三等奖,4,2,1,2,奖品：MP4一部,,"));
  EXPECT_EQ(stage.Text(StageElement::StartButton), U("开始")) << "the batch taken back is ready at once";
  EXPECT_EQ(Status(), U(kR1));

  const auto before = state.pool;
  ctl().UndoPressed();
  EXPECT_EQ(LastMessage(), U("上一批的抽奖结果已经撤销，每批只能撤销一次！"));
  EXPECT_EQ(state.pool, before);
  EXPECT_EQ(state.plan.size(), 3u);

  ctl().StartPressed();
  EXPECT_EQ(Status(), U(kR1)) << "the same batch again, as batch 1";
  ctl().UndoPressed();
  EXPECT_EQ(LastMessage(), U("请在本轮抽奖开始前进行撤销操作！"));
}

TEST_F(Recovery, UndoOfASecondBatchKeepsTheAwardLine) {
  ctl().StartUp();
  const auto w1 = Descending(Roll());
  ctl().StartPressed();
  Roll();
  prompter.ScriptAnswer(Answer::Cancel);
  ctl().UndoPressed();
  EXPECT_EQ(state.pool.size(), 6u) << "cancelled";
  ctl().UndoPressed();
  EXPECT_EQ(prompter.shown().back().text, U("确认要撤销上轮【三等奖第2轮】的抽奖结果吗？"));
  std::string line = U("三等奖-奖品：MP4一部-");
  for (const auto& w : w1) line += w + "-";
  EXPECT_EQ(Read(ProgramDir::kResultDat), line);
  EXPECT_EQ(state.pool.size(), 8u);
  ctl().StartPressed();
  EXPECT_EQ(Status(), U(kR2));
  Roll();
  EXPECT_EQ(LoadResultLog(dir).at(0).winners.size(), 4u);
}

// After a resume the counters name the next batch; undo of that batch still takes back only its
// own winners, judged from the result line.
TEST_F(Recovery, UndoAfterResumeTakesBackOnlyThatBatch) {
  ctl().StartUp();
  Roll();
  Restart();
  ctl().StartUp();
  EXPECT_EQ(Status(), U(kR2));
  Roll();
  ctl().UndoPressed();
  ASSERT_EQ(LoadResultLog(dir).size(), 1u);
  EXPECT_EQ(LoadResultLog(dir)[0].winners.size(), 2u);
  EXPECT_EQ(state.pool.size(), 8u);
  ctl().StartPressed();
  EXPECT_EQ(Status(), U(kR2));
}

// A window that reselects the current line while the winners are shown (award settings OK, a
// prize change) does not change what undo takes back.
TEST_F(Recovery, UndoTakesBackTheRecordedLine) {
  ctl().StartUp();
  Roll();
  ctl().StartPressed();
  Roll();  // 三等奖 batch 2; the plan now holds only 一等奖
  ctl().AfterAwardSettings(true);
  EXPECT_EQ(state.currentLine.award, U("一等奖"));
  ctl().UndoPressed();
  EXPECT_EQ(prompter.shown().back().text, U("确认要撤销上轮【三等奖第2轮】的抽奖结果吗？"));
  EXPECT_EQ(state.plan.front(), U("三等奖,4,2,2,2,奖品：MP4一部,,"));
  EXPECT_EQ(LoadResultLog(dir).at(0).winners.size(), 2u);
}

TEST_F(Recovery, StartFromDrawsTheChosenLineOnce) {
  ctl().StartUp();
  Roll();
  ctl().StartPressed();
  StartFromChoice choice(state.plan);
  ASSERT_EQ(choice.Items().size(), 3u);
  EXPECT_EQ(choice.Items()[2].text, U("一等奖第1批"));
  EXPECT_EQ(choice.Confirm(2, state, prompter), StartFromChoice::Outcome::Close);
  ctl().ShowReadyState();
  EXPECT_EQ(Status(), U(kR3));
  Roll();
  EXPECT_FALSE(state.startFromActive);
  ctl().StartPressed();
  EXPECT_EQ(Status(), U(kR2)) << "the award goes on where it stood, whatever was drawn in between";
  Roll();
  const auto log = LoadResultLog(dir);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].awardName, U("一等奖"));
  EXPECT_EQ(log[2].awardName, U("三等奖"));
}

TEST_F(Recovery, RestartWhileRollingAsksThenResetsAndKeepsTheOldResults) {
  ctl().StartUp();
  Roll();
  const std::string firstResults = Read(ProgramDir::kResultDat);
  ctl().StartPressed();
  ctl().StartPressed();
  Tick();
  prompter.ScriptAnswer(Answer::Cancel);
  ctl().RestartPressed();
  EXPECT_EQ(prompter.shown().back().text, U("是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"));
  EXPECT_EQ(prompter.shown().back().caption, U("提示信息："));
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  ctl().RestartPressed();
  EXPECT_NE(state.phase, DrawPhase::Rolling);
  EXPECT_FALSE(state.Rolling());
  EXPECT_FALSE(state.drawStarted);
  EXPECT_EQ(Number(), U("按空格键开始抽取"));
  EXPECT_FALSE(stage.IsVisible(StageElement::RollingPanel));
  EXPECT_EQ(Status(), U(kR1));
  EXPECT_EQ(state.pool.size(), 10u);
  EXPECT_EQ(state.plan.size(), 3u);
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));
  EXPECT_FALSE(Exists(ProgramDir::kExitIni));
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), firstResults);
  EXPECT_FALSE(Exists("\\history\\20261209-200000\\config"));
  // The history window tells why the results were put aside.
  EXPECT_EQ(ReadHistoryNote(HistoryDraw(dir.Path(ProgramDir::kHistoryDir) / "20261209-200000")).reason,
            HistoryReason::Restart);
}

// A quit with batches left keeps the draw, as a crash would: the next start offers to continue it,
// and the batch that was rolling at the quit rolls again.
TEST_F(Recovery, QuitWithBatchesLeftSaysWhatItDoesAndKeepsTheDraw) {
  ctl().StartUp();
  Roll();
  ctl().StartPressed();
  ctl().StartPressed();
  Tick();  // the second batch rolls
  const auto poolAtQuit = state.pool;
  prompter.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(ctl().QuitPressed());
  EXPECT_EQ(prompter.shown().back().text,
            U("奖项还未抽取完毕，确定要退出吗？\n\n已抽出的中奖结果和抽奖进度会保留，下次启动时可以选择继续本次抽奖"
              "（正在滚动的这一批不算抽出）。"));
  EXPECT_EQ(prompter.shown().back().caption, U("退出提示："));
  EXPECT_EQ(prompter.shown().back().icon, Icon::Information);
  EXPECT_EQ(state.phase, DrawPhase::Rolling) << "cancelled: the roll goes on";
  EXPECT_TRUE(ctl().QuitPressed());
  EXPECT_NE(state.phase, DrawPhase::Rolling);
  ctl().StageDestroyed(true);
  EXPECT_EQ(Settings(dir.Path(ProgramDir::kConfigIni)).ReadText(U("模式"), U("文字抽奖模式")), U("真"));

  Restart();
  prompter.Clear();
  ctl().StartUp();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].buttons, Buttons::YesNo) << "the resume question";
  EXPECT_EQ(state.pool, poolAtQuit);
  EXPECT_EQ(Status(), U(kR2)) << "the batch rolling at the quit is drawn again";
  EXPECT_EQ(LoadResultLog(dir).at(0).winners.size(), 2u);
}

TEST_F(Recovery, QuitWithoutBatchesLeftAndOtherCloses) {
  ctl().StartUp();
  prompter.Clear();
  EXPECT_TRUE(ctl().QuitPressed()) << "nothing drawn yet: no question";
  EXPECT_TRUE(prompter.shown().empty());

  Roll();
  ctl().StageDestroyed(false);  // a system close with batches left keeps the record
  EXPECT_TRUE(Exists(ProgramDir::kExitIni));
  EXPECT_EQ(Settings(dir.Path(ProgramDir::kConfigIni)).ReadText(U("模式"), U("文字抽奖模式")), U("假"));

  FinishDraw();
  prompter.Clear();
  EXPECT_TRUE(ctl().QuitPressed());
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(Recovery, ResetWithoutAListKeepsTheEditorTable) {
  std::filesystem::remove(dir.Path(ProgramDir::kSetDat));
  std::ofstream(dir.Path(ProgramDir::kImDataDat)) << "table";
  ctl().StartUp();
  EXPECT_EQ(LastMessage(), U("暂无数据，请先导入抽奖名单！"));
  EXPECT_EQ(prompter.shown().back().caption, U("提示信息："));
  EXPECT_TRUE(Exists(ProgramDir::kImDataDat));
  ctl().StartPressed();
  EXPECT_EQ(LastMessage(), U("无数据，请先导入抽奖名单！"));
  EXPECT_FALSE(state.Rolling());
}

// The mode switch puts the list aside during a draw: the draw ends anyway, so nothing of it can be
// resumed into an empty pool later, and its results are kept in history.
TEST_F(Recovery, DiscardWithoutAListEndsTheDraw) {
  ctl().StartUp();
  Roll();
  const std::string results = Read(ProgramDir::kResultDat);
  std::filesystem::remove(dir.Path(ProgramDir::kSetDat));
  prompter.Clear();
  ctl().DiscardDraw();
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_FALSE(state.drawStarted);
  EXPECT_TRUE(state.pool.empty());
  EXPECT_EQ(state.plan.size(), 3u);
  EXPECT_EQ(Status(), U(kR1));
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));
  EXPECT_FALSE(Exists(ProgramDir::kExitIni));
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), results);
  EXPECT_FALSE(Exists("\\history\\20261209-200000\\config"));
  EXPECT_EQ(ReadHistoryNote(HistoryDraw(dir.Path(ProgramDir::kHistoryDir) / "20261209-200000")).reason,
            HistoryReason::ModeSwitch);
  ctl().StageDestroyed(false);
  EXPECT_FALSE(Exists(ProgramDir::kExitIni)) << "nothing to resume";
}

// What the audience sees behind the resume question after a crash: the event's titles, and no
// snapshot of the roll the crash interrupted once the draw continues.
TEST_F(Recovery, ResumeQuestionShowsTheEventAndDropsTheCrashedSnapshot) {
  struct TitleAtQuestion : ScriptedPrompter {
    RecordingStageHooks* hooks = nullptr;
    std::string title;
    Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) override {
      if (title.empty()) title = hooks->Text(StageElement::MainTitle);
      return ScriptedPrompter::Message(text, caption, buttons, icon);
    }
  };
  WriteConfig("标题设置", "主标题", "年会抽奖");
  ctl().StartUp();
  Roll();
  ctl().StartPressed();
  ctl().StartPressed();
  Tick();
  ASSERT_TRUE(stage.snapshotTaken);
  Restart();  // the crash: no quit, no stage destruction
  stage.snapshotTaken = true;
  TitleAtQuestion asking;
  asking.hooks = &stage;
  asking.ScriptAnswer(Answer::Yes);
  DrawController resumed(state, options, mode, stage, asking, sound, clock, dir);
  resumed.StartUp();
  ASSERT_EQ(asking.shown().size(), 1u);
  EXPECT_EQ(asking.title, U("年会抽奖"));
  EXPECT_FALSE(stage.snapshotTaken);
  EXPECT_EQ(Status(), U(kR2));
}

TEST_F(Recovery, ResetAndResumeEndStartFromAndGroups) {
  ctl().StartUp();
  Roll();
  state.startFromActive = true;
  state.startFromIndex = 2;
  state.groupActive = true;
  Restart();
  state.startFromActive = true;
  state.groupActive = true;
  ctl().StartUp();
  EXPECT_FALSE(state.startFromActive);
  EXPECT_FALSE(state.groupActive);
  state.groupActive = true;
  ctl().ResetDraw();
  EXPECT_FALSE(state.groupActive);
}

}  // namespace
}  // namespace kavrel
