#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "storage/draw_history.h"
#include "storage/participant_store.h"
#include "storage/receipt_log.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

std::vector<std::string> Kinds(const std::vector<std::string>& lines) {
  std::vector<std::string> kinds;
  for (const auto& line : lines) {
    const auto r = ParseReceipt(line);
    kinds.push_back(r ? ReceiptKindName(r->kind) : "?");
  }
  return kinds;
}

TEST_F(VerifiedDraw, SealIsFixedBeforeTheFirstBatchOverTheListThePlanAndTheKey) {
  ctl().StartUp();
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  const auto seal = ParseReceipt(lines[0]);
  ASSERT_TRUE(seal);
  EXPECT_EQ(seal->kind, ReceiptKind::Seal);
  EXPECT_EQ(seal->format, 2);
  EXPECT_EQ(seal->poolSize, 30);
  EXPECT_EQ(seal->poolSha256, ListSha256(state.pool));
  EXPECT_EQ(seal->planSha256, ListSha256(PlanTexts(state.plan)));
  EXPECT_EQ(seal->seal, SealOf(*seal));
  EXPECT_EQ(seal->prev, "");
  const auto key = ReadDrawKey(dir.Path(ProgramDir::kReceiptsKey));
  ASSERT_TRUE(key);
  EXPECT_EQ(key->size(), 32u);
  EXPECT_EQ(seal->keySha256, Sha256Hex(*key));
  EXPECT_EQ(ctl().Receipts().Seal(), seal->seal);
  EXPECT_EQ(ShortSeal(seal->seal).size(), 16u);
  EXPECT_EQ(Read(ProgramDir::kSealedList), BuildSetDatText(state.pool));
  // Started again before the first stop (a crash, a quit) over the same list and plan: the same
  // sealed draw goes on, so restarting cannot try keys until one suits.
  Restart();
  ctl().StartUp();
  EXPECT_EQ(LogLines(), lines);
  EXPECT_EQ(ctl().Receipts().Seal(), seal->seal);
  // F1 makes a new seal and key, counted and naming the one before; so does a changed list.
  prompter.ScriptAnswer(Answer::Ok);
  ctl().RestartPressed();
  const auto again = ParseReceipt(LogLines()[0]);
  EXPECT_NE(again->keySha256, seal->keySha256);
  EXPECT_EQ(again->reseal, 1);
  EXPECT_EQ(again->previousSeal, seal->seal);
  WriteList(31);
  Restart();
  ctl().StartUp();
  EXPECT_EQ(ParseReceipt(LogLines()[0])->reseal, 2);
  EXPECT_EQ(ctl().Receipts().PreviousSeal(), again->seal);
  EXPECT_EQ(Verify().reseals, 2);
}

TEST_F(VerifiedDraw, WholeDrawWithEveryKindOfReceiptVerifies) {
  RunWholeDraw();
  const auto lines = LogLines();
  EXPECT_EQ(Kinds(lines), (std::vector<std::string>{"seal", "batch", "batch", "undo", "batch", "batch", "abandon",
                                                    "batch", "supplement", "batch", "prize_change", "batch", "close"}));
  // Each receipt chains to the one before; the first to the seal.
  const auto first = ParseReceipt(lines[1]);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->prev, ctl().Receipts().Seal());
  for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(ParseReceipt(lines[i])->prev, Sha256Hex(lines[i - 1]));
  EXPECT_EQ(ctl().Receipts().LastHash(), Sha256Hex(lines.back()));
  // The batch receipt holds what the replay needs and the winners as recorded.
  EXPECT_EQ(first->award, U("三等奖"));
  EXPECT_EQ(first->prize, U("奖品：MP4一部"));
  EXPECT_EQ(first->batchSize, 3);
  EXPECT_EQ(first->poolSize, 30);
  EXPECT_EQ(first->groupFirst, 1);
  EXPECT_EQ(first->groupLast, 30);
  EXPECT_EQ(first->time, "2026-12-09T20:00:00");
  EXPECT_EQ(first->planPosition, 1);
  EXPECT_EQ(first->planLine, U("三等奖,6,2,1,3,奖品：MP4一部,,"));
  ASSERT_EQ(first->winners.size(), 3u);
  EXPECT_GT(first->winners[0].position, first->winners[1].position);
  // The batch drawn again after the undo is the same batch's second attempt.
  const auto redrawn = ParseReceipt(lines[4]);
  EXPECT_EQ(redrawn->batchIndex, 2);
  EXPECT_EQ(redrawn->attempt, 1);
  // The plan ran out: the closing line reveals the key sealed at the start, and the key file may go.
  const auto close = ParseReceipt(lines.back());
  EXPECT_EQ(close->reason, "finished");
  EXPECT_EQ(Sha256Hex(*RawOfHex(close->drawKey)), ParseReceipt(lines[0])->keySha256);
  EXPECT_TRUE(ctl().Receipts().Closed());

  const VerifyReport report = Verify();
  EXPECT_EQ(report.outcome, VerifyOutcome::Ok) << ReportLine(report);
  EXPECT_EQ(report.batches, kBatches);
  EXPECT_EQ(report.winners, kWinners);
  EXPECT_EQ(report.gaveUp, kGaveUp);
  EXPECT_EQ(ReportLine(report), "OK: 6 batches, 11 winners, 1 gave up, seal " + ShortSeal(ctl().Receipts().Seal()) +
                                    ", closed " + ShortSeal(Sha256Hex(lines.back())));
  EXPECT_EQ(ExitStatus(report), 0);
}

TEST_F(VerifiedDraw, ReceiptsMoveToHistoryWithTheResultsAndComeBackWithThem) {
  RunWholeDraw();
  const std::string log = Read(ProgramDir::kReceiptsLog);
  prompter.ScriptAnswer(Answer::Ok);
  ctl().RestartPressed();
  const auto folders = ListHistoryFolders(dir);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(ReadTextFile(folders[0] / "receipts.log"), log);
  // The list is edited afterwards: the history folder keeps the list its seal covered.
  WriteList(40);
  const VerifyReport past = VerifyDraw(EvidenceIn(folders[0]));
  EXPECT_EQ(past.outcome, VerifyOutcome::Ok) << ReportLine(past);
  EXPECT_EQ(past.winners, kWinners);
  // The fresh draw has a seal of its own and nothing else.
  EXPECT_EQ(LogLines().size(), 1u);

  ASSERT_EQ(BringBackResults(dir, HistoryDraw(folders[0]), clock.now), BringBackOutcome::Ok);
  EXPECT_EQ(Read(ProgramDir::kReceiptsLog), log);
}

TEST_F(VerifiedDraw, ResumedDrawContinuesItsLog) {
  ctl().StartUp();
  Roll();
  Restart();  // the program went away with the winners on screen
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  ASSERT_TRUE(ctl().Receipts().Active());
  Roll();
  ctl().StartPressed();
  Roll();
  // The draw is still open: everything verifies (with the key beside the log), but nothing yet
  // proves that nothing was cut after the last line.
  const VerifyReport report = Verify();
  EXPECT_EQ(report.outcome, VerifyOutcome::NotClosed) << ReportLine(report);
  EXPECT_EQ(report.batches, 3);
  EXPECT_EQ(ExitStatus(report), 4);
}

// The last batch closes the log and reveals its key. A winner who gives up after that, or the last
// batch taken back, is still a correction the operator must be able to make: the log opens again
// under a fresh key (the revealed one would let anyone work out the redraw) and the whole evening,
// a resume in the middle included, verifies.
TEST_F(VerifiedDraw, CorrectionsAfterTheCloseReopenUnderAFreshKeyAndVerify) {
  RunWholeDraw();
  ASSERT_TRUE(ctl().Receipts().Closed());
  const std::string firstKey = ParseReceipt(LogLines().back())->drawKey;

  prompter.ScriptAnswer(Answer::Ok);
  ctl().UndoPressed();
  EXPECT_FALSE(ctl().Receipts().Closed());
  const auto reopen = ParseReceipt(LogLines()[static_cast<std::size_t>(LineOf("undo", "一等奖")) - 2]);
  ASSERT_EQ(reopen->kind, ReceiptKind::Reopen);
  ctl().StartPressed();
  const auto last = Roll();
  ASSERT_EQ(last.size(), 1u);
  ASSERT_TRUE(ctl().Receipts().Closed());
  EXPECT_NE(ParseReceipt(LogLines().back())->drawKey, firstKey);

  Abandon(U("一等奖"), last[0], U("补抽一等奖,1,1,1,1,奖品：笔记本两台,,"));
  Restart();  // the program went away before the redraw
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  ASSERT_TRUE(ctl().Receipts().Active());
  Roll();
  ASSERT_TRUE(ctl().Receipts().Closed());

  const VerifyReport report = Verify();
  EXPECT_EQ(report.outcome, VerifyOutcome::Ok) << ReportLine(report);
  EXPECT_EQ(report.reopens, 2);
  EXPECT_EQ(report.gaveUp, kGaveUp + 1);

  // Opened again after a restart's close, which never allows a correction: a forgery.
  auto lines = LogLines();
  const int k = LineOf("reopen");
  EditLine(lines, k - 1, [](Receipt& r) { r.reason = "restart"; });
  Rechain(lines, static_cast<std::size_t>(k - 1));
  WriteLogLines(lines);
  const VerifyReport forged = Verify();
  EXPECT_EQ(forged.outcome, VerifyOutcome::Mismatch);
  EXPECT_EQ(forged.line, k) << ReportLine(forged);
}

// Another draw's receipts and key put beside this draw's results: the resume says so and never
// chains this draw onto them (the record names its own seal).
TEST_F(VerifiedDraw, AnotherDrawsReceiptsAreNeverContinuedAtResume) {
  ctl().StartUp();
  Roll();
  const std::string otherLog = Read(ProgramDir::kReceiptsLog);
  const std::string otherKey = Read(ProgramDir::kReceiptsKey);
  prompter.ScriptAnswer(Answer::Ok);
  ctl().RestartPressed();
  Roll();
  Restart();
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kReceiptsLog), otherLog));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kReceiptsKey), otherKey));
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  EXPECT_TRUE(state.drawStarted);
  EXPECT_NE(LastMessage().find(Gb("是另一场抽奖的凭证（公证封印 ") +
                               ShortSeal(ParseReceipt(otherLog.substr(0, otherLog.find('\n')))->seal)),
            std::string::npos)
      << LastMessage();
  ctl().StartPressed();
  Roll();
  EXPECT_EQ(Read(ProgramDir::kReceiptsLog), otherLog);
}

// The list kept beside the receipts, damaged while the program was away: the draw goes on with its
// receipts, and the operator learns at once that checking it will need the list as it was sealed.
TEST_F(VerifiedDraw, ADamagedSealedListIsToldAtResume) {
  ctl().StartUp();
  Roll();
  Restart();
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSealedList), "garbage\r\n"));
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  EXPECT_TRUE(ctl().Receipts().Active());
  EXPECT_NE(LastMessage().find(Gb("receipts-list.dat 缺失、损坏或被改动")), std::string::npos) << LastMessage();
}

TEST_F(VerifiedDraw, KavrelVerifyPrintsTheVerdictAndExitsWithItsStatus) {
  RunWholeDraw();
  // Started directly (no shell), so the same test runs wherever the program is built.
  auto run = [this](std::string& out, QStringList args = {}, bool folder = true) {
    if (folder) args << QString::fromStdString(root.string());
    QProcess verify;
    verify.start(QStringLiteral(KAVREL_VERIFY_EXE), args);
    if (!verify.waitForFinished(120000)) return -1;
    // Windows writes its console text with CR LF.
    out += verify.readAllStandardOutput().replace("\r\n", "\n").toStdString();
    return verify.exitStatus() == QProcess::NormalExit ? verify.exitCode() : -1;
  };
  std::string out;
  EXPECT_EQ(run(out), 0);
  EXPECT_EQ(out.substr(0, out.find('\n')), ReportLine(Verify()));
  EXPECT_NE(out.find("\nseal:       " + ctl().Receipts().Seal() + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\nlist:       30 entries sealed; no repeated entries\n"), std::string::npos) << out;

  // One entrant, in the list and among the winners, with a proof checked from the seal alone.
  const auto winner = ParseReceipt(LogLines()[1])->winners[0].entry;
  const std::string proof = (root / "proof.json").string();
  out.clear();
  EXPECT_EQ(run(out, {QStringLiteral("--entrant"), QString::fromStdString(winner), QStringLiteral("--proof"),
                      QString::fromStdString(proof)}),
            0);
  EXPECT_NE(out.find("IN THE LIST: \"" + winner + "\" is in the sealed list of 30 entries"), std::string::npos) << out;
  EXPECT_NE(out.find("won \"三等奖\""), std::string::npos) << out;
  out.clear();
  EXPECT_EQ(run(out, {QStringLiteral("--check-proof"), QString::fromStdString(proof)}), 0) << out;
  EXPECT_EQ(out.rfind("OK: \"" + winner + "\" is entry ", 0), 0u) << out;
  out.clear();
  EXPECT_EQ(run(out, {QStringLiteral("--check-proof"), QString::fromStdString(proof)}, false), 3) << out;
  EXPECT_EQ(
      run(out, {QStringLiteral("--check-proof"), QString::fromStdString(proof), QStringLiteral("0123456789abcdef")},
          false),
      1)
      << out;
  out.clear();
  EXPECT_EQ(run(out, {QStringLiteral("--entrant"), QStringLiteral("999")}), 5);
  EXPECT_NE(out.find("NOT IN THE LIST: \"999\""), std::string::npos) << out;

  auto lines = LogLines();
  lines.erase(lines.begin() + 2);
  WriteLogLines(lines);
  out.clear();
  EXPECT_EQ(run(out), 1);
  EXPECT_EQ(out.rfind("MISMATCH at receipts.log line 3", 0), 0u) << out;
}

}  // namespace
}  // namespace kavrel
