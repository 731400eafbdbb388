// A crash while a draw moves into history never costs its receipts: the next start finishes the
// move, and a new seal never replaces receipts that have not reached history.
#include "engine/draw_session.h"
#include "storage/draw_history.h"
#include "storage/file_step.h"
#include "storage/result_store.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

std::size_t haltAt = 0;

struct Crash {};
struct CrashAtResumeRecord : DrawFiles {
  bool armed = false;
  bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record) override {
    if (armed) throw Crash{};
    return DrawFiles::WriteExitRecord(dir, record);
  }
};

// A winner gives up with a redraw (弃奖): the mark goes into the result files, a receipt into the log,
// the redraw line into the resume record. The program dies before the last of them: the next start
// resumes the draw as it was before the correction, which the operator can simply make again, and
// the folder verifies in between.
TEST_F(VerifiedDraw, ACrashInsideACorrectionResumesTheDrawAsItWasBeforeIt) {
  CrashAtResumeRecord files;
  auto session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
  session->UseFiles(files);
  session->StartUp();
  for (int batch = 0; batch < 2; ++batch) {
    session->Start();
    if (batch) session->Start();  // the press that announced the batch, then the one that starts it
    clock.ms += 1;
    session->Tick();
    session->Stop();
  }
  const auto before = ReadTextFile(dir.Path(ProgramDir::kResultDat));
  const std::string winner = LoadResultLog(dir).back().winners.front();
  files.armed = true;
  EXPECT_THROW(session->Abandon({.awardName = U("三等奖"),
                                 .prizeName = U("奖品：MP4一部"),
                                 .entries = {winner},
                                 .redraw = true,
                                 .quotaText = "1",
                                 .batchText = "1"}),
               Crash);
  session.reset();
  ASSERT_NE(ReadTextFile(dir.Path(ProgramDir::kResultDat)), before) << "the crash came after the mark";
  const VerifyReport cut = Verify();
  EXPECT_EQ(cut.outcome, VerifyOutcome::NotClosed) << ReportLine(cut);

  prompter.Clear();
  prompter.ScriptAnswer(Answer::Yes);
  session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
  session->StartUp();
  EXPECT_TRUE(session->Draw().drawStarted) << LastMessage();
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kResultDat)), before);
  EXPECT_EQ(Verify().batches, 2);
  EXPECT_EQ(Verify().outcome, VerifyOutcome::NotClosed);
}

// A stop appends its batch to the result files and its receipt to the log, then writes the resume
// record; the program dies at the record. The appends landed in the files the step keeps (hard links
// of the same files): the verifier reads the draw as it stood before the stop, and the next start cuts
// every file back to the byte.
TEST_F(VerifiedDraw, ACrashInsideAStopLeavesEveryFileAsItWasBeforeIt) {
  CrashAtResumeRecord files;
  auto session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
  session->UseFiles(files);
  session->StartUp();
  auto drawBatch = [&](bool first) {
    session->Start();
    if (!first) session->Start();
    clock.ms += 1;
    session->Tick();
    session->Stop();
  };
  drawBatch(true);
  drawBatch(false);
  const std::vector<std::string_view> suffixes = {ProgramDir::kResultDat, ProgramDir::kResultTxt,
                                                  ProgramDir::kReceiptsLog};
  std::vector<std::string> before;
  for (auto suffix : suffixes) before.push_back(ReadTextFile(dir.Path(suffix)));
  files.armed = true;
  EXPECT_THROW(drawBatch(false), Crash);
  session.reset();
  for (std::size_t i = 0; i < suffixes.size(); ++i)
    ASSERT_GT(ReadTextFile(dir.Path(suffixes[i])).size(), before[i].size()) << suffixes[i];
  const VerifyReport cut = Verify();
  EXPECT_EQ(cut.batches, 2) << ReportLine(cut);
  EXPECT_EQ(cut.outcome, VerifyOutcome::NotClosed) << ReportLine(cut);

  // What the start does first (the resume would also take back a batch the record never confirmed,
  // but through history/, and only for the result files it knows the sizes of).
  ASSERT_TRUE(RollBackInterruptedStep(dir));
  for (std::size_t i = 0; i < suffixes.size(); ++i) EXPECT_EQ(ReadTextFile(dir.Path(suffixes[i])), before[i]);
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Yes);
  session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
  session->StartUp();
  EXPECT_TRUE(session->Draw().drawStarted) << LastMessage();
  EXPECT_EQ(Verify().batches, 2);
}

TEST_F(VerifiedDraw, ACrashAtAnyFileOfTheMoveIntoHistoryLeavesTheDrawWholeThere) {
  for (std::size_t at = 0; at < 5; ++at) {
    Restart();
    RunWholeDraw();
    const std::string seal = ParseReceipt(LogLines().front())->seal;
    // F1 puts the finished draw aside; the program dies inside the move, at file `at`.
    haltAt = at;
    detail::SetHistoryMoveProbe(
        [](std::size_t i) { return i == haltAt ? detail::MoveStep::Halt : detail::MoveStep::Go; });
    prompter.ScriptAnswer(Answer::Ok);
    ctl().RestartPressed();
    detail::SetHistoryMoveProbe(nullptr);
    // Checked before the next start finishes the move: the draw is half in each place, not forged.
    const VerifyReport halfway = Verify();
    EXPECT_EQ(halfway.outcome, VerifyOutcome::Ok) << "halted at file " << at << ": " << ReportLine(halfway);
    Restart();
    prompter.Clear();
    ctl().StartUp();

    EXPECT_FALSE(Exists(kHistoryMoveJournal)) << at;
    const auto folders = ListHistoryFolders(dir);
    ASSERT_EQ(folders.size(), at + 1) << "the draw is in one history folder, halted at file " << at;
    const VerifyReport kept = VerifyDraw(EvidenceIn(folders.front()));
    EXPECT_EQ(kept.outcome, VerifyOutcome::Ok) << "halted at file " << at << ": " << ReportLine(kept);
    EXPECT_EQ(kept.seal, seal);
    // The program folder holds the new draw's seal alone.
    const auto now = LogLines();
    ASSERT_EQ(now.size(), 1u) << at;
    EXPECT_NE(ParseReceipt(now.front())->seal, seal);
  }
}

TEST_F(VerifiedDraw, ReceiptsWhoseResultsAreGoneGoIntoHistoryBeforeANewSeal) {
  RunWholeDraw();
  const auto old = LogLines();
  // What a move cut short by an older version left: the results gone, the receipts still in place.
  ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kResultDat)));
  ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kResultTxt)));
  Restart();
  ctl().StartUp();
  const auto folders = ListHistoryFolders(dir);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(ReadReceiptLines(folders.front() / "receipts.log").lines, old);
  EXPECT_TRUE(FileExists(folders.front() / "receipts-key.dat") || FileExists(folders.front() / "receipts-list.dat"));
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_NE(LogLines().front(), old.front());
}

}  // namespace
}  // namespace kavrel
