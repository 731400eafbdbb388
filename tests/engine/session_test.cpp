// The draw as the program owns it: commands sent to the session, with no window in between, and a
// stage that may come and go.
#include <utility>

#include "engine/abandon.h"
#include "engine/audience_notes.h"
#include "engine/draw_session.h"
#include "engine_fixture.h"
#include "storage/receipt_log.h"
#include "storage/result_store.h"

namespace kavrel {
namespace {

struct NoWindows : ModeSwitchHost {
  void OpenListEditor() override {}
  void SetModeChecks(bool) override {}
};

struct CountingView : DrawObserver {
  int told = 0;
  DrawChanges changes;  // all the notices said since the test last looked
  void DrawChanged(const DrawSession&, DrawChanges said) override {
    ++told;
    changes |= said;
  }
  DrawChanges Take() { return std::exchange(changes, DrawChanges()); }
};

class SessionTest : public EngineFixture {
 protected:
  SessionTest() {
    WriteList(10);
    WritePlan(
        {"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本一台,,"});
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    session->AttachStage(stage, windows);
    session->AddObserver(view);
  }
  ~SessionTest() override {
    session->RemoveObserver(view);
    session->DetachStage();
  }
  void RollBatch() {
    session->Start();
    for (int i = 0; i < 3; ++i) {
      clock.ms += 1;
      session->Tick();
    }
    session->Stop();
  }
  std::string NextBatchNumber() const { return session->Draw().plan.at(0).batchNumber; }

  NoWindows windows;
  CountingView view;
  std::unique_ptr<DrawSession> session;
};

// A window that may change what the roll draws from never opens over a roll, and the draw order it
// chose is the one the draw under way follows afterwards, however the window closed.
TEST_F(SessionTest, AnEditingWindowEndsTheRollAndItsDrawOrderIsTaken) {
  session->StartUp();
  RollBatch();
  session->Start();  // the next batch is announced
  session->Start();
  session->Tick();
  ASSERT_EQ(session->Draw().phase, DrawPhase::Rolling);
  bool rollingInside = true;
  session->EditAwards([&](DrawOptions& edited, bool drawStarted) {
    rollingInside = session->Draw().RollUnderWay();
    EXPECT_TRUE(drawStarted);
    edited.forwardOrder = false;  // stored the moment it was chosen, then the window was cancelled
    return DrawSession::Edited{};
  });
  EXPECT_FALSE(rollingInside) << "the roll ended before the window opened";
  EXPECT_NE(session->Draw().phase, DrawPhase::Rolling);
  EXPECT_EQ(LoadResultLog(dir).size(), 1u) << "nothing recorded for the roll";
  EXPECT_FALSE(session->Rules().forwardOrder);
  EXPECT_NE(Status().find(U("【一等奖】")), std::string::npos) << "the reversed order's next batch is announced";
}

// A notice says what changed, so a view that shows part of the draw can let the rest go: a roll's
// start changes where the draw stands and what the stage says, not the winners; its stop records them.
TEST_F(SessionTest, ANoticeSaysWhichPartsOfTheDrawChanged) {
  session->StartUp();
  view.Take();
  session->Start();
  const DrawChanges started = view.Take();
  EXPECT_TRUE(started.Any(DrawChange::Phase));
  EXPECT_FALSE(started.Any(DrawChange::Winners));
  EXPECT_FALSE(started.Any(DrawChange::Plan));
  EXPECT_FALSE(started.Any(DrawChange::Receipts));
  EXPECT_FALSE(started.Any(DrawChange::Rules));
  session->Tick();
  session->Stop();
  const DrawChanges stopped = view.Take();
  EXPECT_TRUE(stopped.Any(DrawChange::Winners));
  EXPECT_TRUE(stopped.Any(DrawChange::Plan)) << "the batch's line left the plan";
  EXPECT_TRUE(stopped.Any(DrawChange::Receipts));
  EXPECT_TRUE(stopped.Any(DrawChange::Progress)) << "the winners left the pool";
  session->SetAwardGroup(std::make_pair(1, 2));
  EXPECT_TRUE(view.Take().Only(DrawChange::Plan));
}

// Start-from and the award group are commands: the next batch takes both, the views are told, and
// the group ends with that batch.
TEST_F(SessionTest, TheNextBatchIsDrawnFromTheLineAndRowsChosen) {
  session->StartUp();
  const int told = view.told;
  session->SetAwardGroup(std::make_pair(9, 10));
  EXPECT_EQ(view.told, told + 1);
  session->StartFrom(2);
  RollBatch();
  const auto log = LoadResultLog(dir);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(Descending(log[0].winners), (std::vector<std::string>{"010", "009"}));
  EXPECT_FALSE(session->Draw().groupActive) << "a group limits one batch";
  ASSERT_EQ(session->Draw().plan.size(), 2u);
  EXPECT_EQ(NextBatchNumber(), "1") << "the second line was drawn, the first is left";
}

// The room sees the seal before the first batch, and every choice that changes who can win the
// batch announced: the rows it is drawn from, the line chosen, the attempt after undos.
TEST_F(SessionTest, TheRoomSeesTheSealAndEveryChoiceThatChangesWhoCanWin) {
  session->StartUp();
  auto notes = [this] {
    const AudienceNotes n = NotesForAudience(session->Draw(), session->Receipts());
    std::string all;
    for (const auto& line : n.lines) all += line + "|";
    return std::make_pair(n.seal, all);
  };
  EXPECT_EQ(notes().first, session->Receipts().Seal());
  EXPECT_NE(notes().second.find(Gb("公证封印 ") + ShortSeal(session->Receipts().Seal())), std::string::npos);
  session->SetAwardGroup(std::make_pair(9, 10));
  session->StartFrom(2);
  EXPECT_NE(notes().second.find(Gb("本批从第9–10行产生（共2人）")), std::string::npos) << notes().second;
  EXPECT_NE(notes().second.find(Gb("奖项计划第2行")), std::string::npos);
  RollBatch();
  prompter.ScriptAnswer(Answer::Ok);
  session->Undo();
  EXPECT_EQ(notes().first, "") << "the seal is shown until a batch is drawn under it";
  EXPECT_EQ(notes().second, Gb("第2次抽取（已撤销1次）|"));
}

// The program's draw does not depend on a window: with the stage gone it goes on, records, and a
// stage attached again takes over where it stands.
TEST_F(SessionTest, TheDrawGoesOnWithNoStageAttached) {
  session->DetachStage();
  session->StartUp();
  RollBatch();
  EXPECT_EQ(LoadResultLog(dir).size(), 1u);
  EXPECT_EQ(session->Draw().phase, DrawPhase::WinnersShown);
  EXPECT_TRUE(stage.calls.empty()) << "nothing reached a stage that was not there";
  session->AttachStage(stage, windows);
  session->Start();  // the next batch is announced on the stage
  EXPECT_EQ(stage.Text(StageElement::NumberLabel), U("按空格键开始抽取"));
}

// The views list the winners the draw keeps in memory: after every command that changes the result
// files, they are what the files hold, and a resume starts from what the files hold.
TEST_F(SessionTest, TheWinnersTheViewsListAreThoseOnFileAfterEveryCommand) {
  auto onFile = [this] { return ResultLogText(LoadResultLog(dir)); };
  auto kept = [this] { return ResultLogText(session->Winners()); };
  session->StartUp();
  EXPECT_TRUE(session->Winners().empty());
  RollBatch();
  EXPECT_EQ(kept(), onFile());
  session->Start();
  RollBatch();  // the award's second batch joins its line
  ASSERT_EQ(session->Winners().size(), 1u);
  EXPECT_EQ(kept(), onFile());
  prompter.ScriptAnswer(Answer::Ok);
  session->Undo();
  EXPECT_EQ(kept(), onFile());
  RollBatch();
  AbandonRequest gaveUp;
  gaveUp.awardName = session->Winners().back().awardName;
  gaveUp.entries = {session->Winners().back().winners.back()};
  session->Abandon(gaveUp);
  ASSERT_NE(kept().find(AbandonedMark()), std::string::npos);
  EXPECT_EQ(kept(), onFile());

  session->RemoveObserver(view);
  session->DetachStage();
  session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
  session->AttachStage(stage, windows);
  session->AddObserver(view);
  prompter.ScriptAnswer(Answer::Yes);  // the draw is resumed
  session->StartUp();
  EXPECT_EQ(kept(), onFile());
  ASSERT_FALSE(session->Winners().empty());
  prompter.ScriptAnswer(Answer::Ok);
  session->Restart();  // F1: the draw goes into history
  EXPECT_TRUE(session->Winners().empty());
  EXPECT_EQ(kept(), onFile());
}

}  // namespace
}  // namespace kavrel
