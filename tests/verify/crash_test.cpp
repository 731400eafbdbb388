// A crash while a draw moves into history never costs its receipts: the next start finishes the
// move, and a new seal never replaces receipts that have not reached history.
#include "storage/draw_history.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

std::size_t haltAt = 0;

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
