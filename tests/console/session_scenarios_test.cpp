// The faults where the screens disagreed with the recorded results, each run through the draw session
// with every view attached: the stage (its widgets), the operator console (its labels and plan) and a
// third observer that only counts what it is told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "console/operator_console_window.h"
#include "console/stage_link.h"
#include "engine/abandon.h"
#include "engine/draw_session.h"
#include "engine/draw_texts.h"
#include "results/export/draw_history_list.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/draw_history.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/press_key.h"
#include "verify/draw_verifier.h"

namespace kavrel {
namespace {

struct CountingObserver : DrawObserver {
  void DrawChanged(const DrawSession& session, DrawChanges) override {
    ++told;
    marquee = session.Text(StageElement::Marquee);
  }
  int told = 0;
  std::string marquee;
};

class SessionScenario : public ::testing::Test {
 protected:
  void Start(int entries, const char* planUtf8) {
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(dir.EnsureConfigDir());
    std::string pool;
    for (int i = 1; i <= entries; ++i) pool += std::to_string(1000 + i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), pool));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), Gb(planUtf8)));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteBool(Gb("音效设置"), Gb("启用抽奖页面背景音乐"), false);
    // Batches of a few winners are revealed slowly on the stage; these tests are about the rest.
    settings.WriteInt(Gb("舞台效果"), Gb("揭晓秒数"), 0);
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    stage =
        std::make_unique<StageWindow>(*session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage->show();
    stage->StartUp();
    link = std::make_unique<StageLinkTo<StageWindow>>(*stage);
    console = std::make_unique<OperatorConsoleWindow>(*session, *link);
    session->AddObserver(counter);
    stage->SetOperatorWindow(console.get());  // the console's keys are the stage's keys
    console->show();
    ActivateForKeys(console.get());
    eventMarquee = Marquee();
  }
  void TearDown() override {
    if (stage) session->RemoveObserver(counter);
  }

  void Press(int qtKey) {
    PressKey(console.get(), qtKey);
    QApplication::processEvents();
  }
  // One batch: the roll starts, ticks and stops on its winners.
  void DrawBatch() {
    Press(Qt::Key_Space);
    ASSERT_TRUE(session->Draw().Rolling());
    for (int i = 0; i < 3; ++i) session->Tick();
    Press(Qt::Key_Space);
    ASSERT_TRUE(session->Draw().WinnersShown());
  }
  // What the audience and the operator read.
  QString Marquee() const { return stage->findChild<QLabel*>(QStringLiteral("标签_滚动"))->text(); }
  QString StageText(const char* name) const { return stage->findChild<QLabel*>(QString::fromUtf8(name))->text(); }
  QString ConsoleText(const char* name) const { return console->findChild<QLabel*>(QString::fromUtf8(name))->text(); }
  // The row the console marks with ▶, as "award 第b轮/共n轮".
  QString MarkedRow() const {
    QApplication::processEvents();  // the console shows a change once the handler that made it is done
    auto* plan = console->findChild<QTableWidget*>(QStringLiteral("表格_抽奖计划"));
    for (int r = 0; r < plan->rowCount(); ++r)
      if (plan->item(r, 0)->text() == QStringLiteral("▶"))
        return plan->item(r, 1)->text() + QLatin1Char(' ') + plan->item(r, 2)->text();
    return {};
  }
  // The stage's progress line and the console's agree; returns it.
  QString Progress() const {
    QApplication::processEvents();
    EXPECT_EQ(StageText("透明标签_抽奖状态"), ConsoleText("标签_进度"));
    return ConsoleText("标签_进度");
  }
  QString Congratulation(const char* award, const std::vector<std::string>& winners) const {
    QString text = QStringLiteral("恭喜：【") + QString::fromUtf8(award) + QStringLiteral("】");
    for (std::size_t i = 0; i < winners.size(); ++i) text += (i ? QStringLiteral("、") : QString()) + ToQt(winners[i]);
    return text;
  }

  QTemporaryDir tmp;
  ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  std::unique_ptr<DrawSession> session;
  std::unique_ptr<StageWindow> stage;
  std::unique_ptr<StageLink> link;
  std::unique_ptr<OperatorConsoleWindow> console;
  CountingObserver counter;
  QString eventMarquee;
};

TEST_F(SessionScenario, UndoShowsTheReadyStateOfThatBatchAtOnceAndTheMarqueeForgetsItsWinners) {
  Start(6, "一等奖,2,2,1,1,手机,,\r\n一等奖,2,2,2,1,手机,,\r\n二等奖,3,1,1,3,耳机,,\r\n");
  DrawBatch();
  EXPECT_EQ(Marquee(), Congratulation("一等奖", session->Draw().recordedEntries));
  // While its winners are on screen, the console marks the batch drawn, not the next one.
  EXPECT_EQ(MarkedRow(), QStringLiteral("一等奖 第1轮/共2轮"));
  prompter.ScriptAnswer(Answer::Ok);
  Press(Qt::Key_F2);
  // The first batch taken back: the event's own marquee, and that batch ready on every screen.
  EXPECT_EQ(Marquee(), eventMarquee);
  EXPECT_EQ(Progress(), QStringLiteral("准备抽取【一等奖】，本轮抽1名（第1轮/总2轮，已抽0名/共2名)"));
  EXPECT_EQ(MarkedRow(), QStringLiteral("一等奖 第1轮/共2轮"));

  DrawBatch();
  const std::vector<std::string> first = session->Draw().recordedEntries;
  Press(Qt::Key_Space);
  EXPECT_EQ(MarkedRow(), QStringLiteral("一等奖 第2轮/共2轮"));
  DrawBatch();
  EXPECT_EQ(Marquee(), Congratulation("一等奖", session->Draw().recordedEntries));

  const int told = counter.told;
  prompter.ScriptAnswer(Answer::Ok);
  Press(Qt::Key_F2);
  // The batch taken back is ready to be drawn again, on the stage and on the console, and the marquee
  // congratulates the winners who still stand.
  EXPECT_TRUE(session->Draw().phase == DrawPhase::Ready);
  EXPECT_EQ(StageText("透明标签_中奖号码"), QStringLiteral("按空格键开始抽取"));
  EXPECT_EQ(Progress(), QStringLiteral("准备抽取【一等奖】，本轮抽1名（第2轮/总2轮，已抽1名/共2名)"));
  EXPECT_EQ(MarkedRow(), QStringLiteral("一等奖 第2轮/共2轮"));
  EXPECT_EQ(Marquee(), Congratulation("一等奖", first));
  EXPECT_GT(counter.told, told);
  EXPECT_EQ(ToQt(counter.marquee), Marquee());
  // Space now rolls that batch: nothing of the undone winners is congratulated on the way.
  Press(Qt::Key_Space);
  EXPECT_TRUE(session->Draw().Rolling());
  EXPECT_EQ(Marquee(), Congratulation("一等奖", first));
}

TEST_F(SessionScenario, WinnersWhoGaveUpAreNoLongerCongratulated) {
  Start(9, "二等奖,3,1,1,3,耳机,,\r\n三等奖,3,1,1,3,水杯,,\r\n");
  DrawBatch();
  const std::vector<std::string> won = session->Draw().recordedEntries;
  ASSERT_EQ(won.size(), 3u);
  AbandonRequest request;
  request.awardName = Gb("二等奖");
  request.prizeName = AbandonChoice(LoadResultLog(dir)).LineOf(Gb("二等奖")).prizeName;
  request.entries = {won[1]};
  session->Abandon(request);
  EXPECT_EQ(Marquee(), Congratulation("二等奖", {won[0], won[2]}));
  EXPECT_EQ(ToQt(counter.marquee), Marquee());
  request.entries = {won[0], won[2]};
  session->Abandon(request);
  EXPECT_EQ(Marquee(), eventMarquee);
}

TEST_F(SessionScenario, AQueuedSupplementDoesNotRestartTheProgressOfTheAwardItInterrupts) {
  Start(60, "参与奖,30,3,1,10,纪念品,,\r\n参与奖,30,3,2,10,纪念品,,\r\n参与奖,30,3,3,10,纪念品,,\r\n");
  DrawBatch();
  EXPECT_EQ(Progress(), QStringLiteral("已抽取【参与奖】，本轮抽10名（第1轮/总3轮，已抽10名/共30名)"));
  session->Supplement({Gb("一等奖"), Gb("手机"), "", "2", "1"});
  EXPECT_EQ(Progress(), QStringLiteral("准备抽取【补抽一等奖】，本轮抽2名（第1轮/总1轮，已抽0名/共2名)"));
  EXPECT_EQ(MarkedRow(), QStringLiteral("补抽一等奖 第1轮/共1轮"));
  DrawBatch();
  Press(Qt::Key_Space);
  EXPECT_EQ(Progress(), QStringLiteral("准备抽取【参与奖】，本轮抽10名（第2轮/总3轮，已抽10名/共30名)"));
  DrawBatch();
  EXPECT_EQ(Progress(), QStringLiteral("已抽取【参与奖】，本轮抽10名（第2轮/总3轮，已抽20名/共30名)"));
  Press(Qt::Key_Space);
  EXPECT_EQ(Progress(), QStringLiteral("准备抽取【参与奖】，本轮抽10名（第3轮/总3轮，已抽20名/共30名)"));
  EXPECT_EQ(MarkedRow(), QStringLiteral("参与奖 第3轮/共3轮"));
  DrawBatch();
  EXPECT_EQ(Progress(), QStringLiteral("已抽取【参与奖】，本轮抽10名（第3轮/总3轮，已抽30名/共30名)"));
}

TEST_F(SessionScenario, APastDrawBroughtBackIsForViewingAndStillVerifies) {
  Start(12, "一等奖,2,1,1,2,手机,,\r\n二等奖,4,2,1,2,耳机,,\r\n二等奖,4,2,2,2,耳机,,\r\n");
  DrawBatch();
  Press(Qt::Key_Space);
  DrawBatch();
  const std::string results = ReadTextFile(dir.Path(ProgramDir::kResultDat));
  clock.now.minute += 1;
  prompter.ScriptAnswer(Answer::Ok);
  Press(Qt::Key_F1);  // a fresh draw: the one above goes to history, its receipts closed
  ASSERT_TRUE(ReadTextFile(dir.Path(ProgramDir::kResultDat)).empty());

  const std::vector<PastDraw> past = ListPastDraws(dir);
  ASSERT_GE(past.size(), 2u);
  clock.now.minute += 1;
  ASSERT_EQ(BringBackResults(dir, past[1].record, clock.Now()), BringBackOutcome::Ok);
  session->PastDrawBroughtBack();  // what the history window tells the draw

  // Continuing is refused with the reason, on every path that would change the results.
  prompter.Clear();
  Press(Qt::Key_Space);
  EXPECT_FALSE(session->Draw().Rolling());
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown().back().text, Gb(texts::kViewingPastDraw));
  Press(Qt::Key_F2);
  EXPECT_EQ(prompter.shown().back().text, Gb(texts::kViewingPastDraw));
  EXPECT_FALSE(session->CorrectionMayOpen("弃奖"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultDat)), results);
  const VerifyReport report = VerifyDraw(EvidenceIn(dir.Root()));
  EXPECT_EQ(report.outcome, VerifyOutcome::Ok) << report.problem;
  EXPECT_EQ(report.batches, 2);

  // F1 puts it aside again and draws afresh.
  clock.now.minute += 1;
  Press(Qt::Key_F1);
  DrawBatch();
  EXPECT_EQ(LoadResultLog(dir).size(), 1u);
}

}  // namespace
}  // namespace kavrel
