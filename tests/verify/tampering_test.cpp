#include "storage/receipt_log.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

class Tampering : public VerifiedDraw {
 protected:
  void SetUp() override {
    VerifiedDraw::SetUp();
    RunWholeDraw();
    ASSERT_EQ(Verify().outcome, VerifyOutcome::Ok);
  }
  void ExpectMismatch(int line, const std::string& named) {
    const VerifyReport r = Verify();
    EXPECT_EQ(r.outcome, VerifyOutcome::Mismatch) << ReportLine(r);
    EXPECT_EQ(r.line, line) << ReportLine(r);
    EXPECT_NE(ReportLine(r).find(named), std::string::npos) << ReportLine(r);
    EXPECT_EQ(ExitStatus(r), 1);
  }
};

// After the close the key is public, so a closing line made again verifies on its own. The phones
// kept the hashes they were shown while the draw went on: one the log no longer holds names the
// rewrite, and those it still holds prove it only grew at its end.
TEST_F(Tampering, ARecordRewrittenAfterThePhonesSawItFailsWithWhatTheySaw) {
  auto lines = LogLines();
  const std::string seenMid = Sha256Hex(lines[3]).substr(0, 16);
  const std::string seenClose = Sha256Hex(lines.back());
  EditLine(lines, static_cast<int>(lines.size()), [](Receipt& r) { r.time = "2026-12-09T23:59:59"; });
  WriteLogLines(lines);
  ASSERT_EQ(Verify().outcome, VerifyOutcome::Ok);
  DrawEvidence evidence = EvidenceIn(root);
  evidence.seen = {seenMid, seenClose};
  const VerifyReport caught = VerifyDraw(evidence);
  EXPECT_EQ(caught.outcome, VerifyOutcome::Mismatch);
  EXPECT_NE(ReportLine(caught).find("the record was rewritten: chain hash " + seenClose), std::string::npos)
      << ReportLine(caught);
  evidence.seen = {seenMid};
  const VerifyReport grown = VerifyDraw(evidence);
  EXPECT_EQ(grown.outcome, VerifyOutcome::Ok) << ReportLine(grown);
  EXPECT_EQ(grown.seenChecked, 1);
}

TEST_F(Tampering, EditedWinnerEntryIsNamed) {
  auto lines = LogLines();
  const int k = LineOf("batch", "二等奖");
  auto r = *ParseReceipt(lines[static_cast<std::size_t>(k) - 1]);
  const std::string real = r.winners[0].entry;
  r.winners[0].entry = real == "001" ? "002" : "001";
  lines[static_cast<std::size_t>(k) - 1] = FormatReceipt(r);
  WriteLogLines(lines);
  ExpectMismatch(k, "winner 1 was edited");
}

TEST_F(Tampering, EditedTimeBreaksTheChain) {
  auto lines = LogLines();
  auto r = *ParseReceipt(lines[2]);
  r.time = "2026-12-09T19:59:59";
  lines[2] = FormatReceipt(r);
  WriteLogLines(lines);
  ExpectMismatch(3, "line 3 was edited");
}

TEST_F(Tampering, RemovedLineIsNamed) {
  auto lines = LogLines();
  lines.erase(lines.begin() + 3);
  WriteLogLines(lines);
  ExpectMismatch(4, "a line was removed before line 4");
}

TEST_F(Tampering, LastBatchReceiptRemovedIsCaughtByTheResultsAndTheClosingLine) {
  const auto original = LogLines();
  auto lines = original;
  lines.erase(lines.end() - 2, lines.end());  // the last batch and the closing line after it
  WriteLogLines(lines);
  ExpectMismatch(0, "no receipt accounts for");
  // With the closing line kept and chained again, it says the draw finished with a plan line left.
  lines = original;
  lines.erase(lines.end() - 2);
  Rechain(lines, lines.size());
  WriteLogLines(lines);
  ExpectMismatch(static_cast<int>(lines.size()), "the closing line says the draw finished, but 1 plan lines are left");
}

TEST_F(Tampering, ReorderedLinesAreNamed) {
  auto lines = LogLines();
  std::swap(lines[4], lines[5]);
  WriteLogLines(lines);
  ExpectMismatch(5, "reordered");
}

TEST_F(Tampering, ChangedListIsNamed) {
  std::string list = Read(ProgramDir::kSetDat);
  list.replace(list.find("017"), 3, "071");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list));
  ExpectMismatch(0, "config\\set.dat has changed since the seal: entry 17 is \"071\", the sealed list has \"017\"");
  // The sealed copy beside the log is held to the seal too.
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSealedList), list));
  ExpectMismatch(0, "config\\receipts-list.dat has changed since the seal: it gives 30 entries as the seal does");
  list += "031\r\n";
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSealedList), list));
  ExpectMismatch(0, "config\\receipts-list.dat has changed since the seal: it gives a pool of 31 entries, the seal 30");
}

TEST_F(Tampering, EditedResultFilesAreNamed) {
  const std::string dat = Read(ProgramDir::kResultDat);
  const auto winners = LogLines();
  const auto r = *ParseReceipt(winners[1]);
  std::string edited = dat;
  edited.replace(edited.find(r.winners[0].entry), r.winners[0].entry.size(), "999");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultDat), edited));
  ExpectMismatch(0, "config\\result.dat: winner 1 is \"999\"");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultDat), dat));

  const std::string original = Read(ProgramDir::kResultTxt);
  std::string txt = original;
  txt.replace(txt.rfind(r.winners[0].entry), r.winners[0].entry.size(), "999");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultTxt), txt));
  ExpectMismatch(0, "result.txt: batch 1, winner 1 is \"999\", the replay gives \"" + r.winners[0].entry + "\"");

  // A batch's time in result.txt is its receipt's.
  txt = original;
  const std::string stamp = Gb("2026年12月9日20时");
  ASSERT_NE(txt.find(stamp), std::string::npos);
  std::string moved = txt;
  moved.replace(moved.find(stamp), stamp.size(), Gb("2026年12月9日19时"));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultTxt), moved));
  ExpectMismatch(0, "result.txt: batch 1 was written at");
}

TEST_F(Tampering, TruncatedLastLineIsReportedAndTheBatchesBeforeItVerify) {
  auto lines = LogLines();
  lines.back().resize(lines.back().size() / 2);  // the closing line, cut short by a lost write
  WriteLogLines(lines, false);
  const VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Truncated) << ReportLine(r);
  EXPECT_EQ(r.line, static_cast<int>(lines.size()));
  EXPECT_EQ(r.batches, kBatches);
  EXPECT_EQ(r.winners, kWinners);
  EXPECT_EQ(ReportLine(r).rfind("TRUNCATED: line 13 of the receipts is incomplete", 0), 0u) << ReportLine(r);
  EXPECT_EQ(ExitStatus(r), 2);

  // An earlier line cut short is damage, not a power loss at the end.
  lines = LogLines();
  lines[3].resize(10);
  WriteLogLines(lines);
  EXPECT_EQ(Verify().outcome, VerifyOutcome::Mismatch);
}

TEST_F(Tampering, MissingLogOrListCannotBeVerified) {
  // Either list will do; with neither there is nothing to replay from.
  ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kSetDat)));
  EXPECT_EQ(Verify().outcome, VerifyOutcome::Ok);
  ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kSealedList)));
  EXPECT_EQ(Verify().outcome, VerifyOutcome::Unusable);
  ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kReceiptsLog)));
  const VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Unusable);
  EXPECT_EQ(ExitStatus(r), 3);
}

}  // namespace
}  // namespace kavrel
