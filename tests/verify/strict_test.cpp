// What the verifier refuses or names beyond a replay that holds: anything after the closing line,
// older receipts that prove no commitment, winners no receipt vouches for (unless a crash explains
// them), prizes and stray text in the result files, a damaged key; and the operator's every action.
#include "engine/pick.h"
#include "engine/random_source.h"
#include "storage/participant_store.h"
#include "storage/result_store.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

class Strict : public VerifiedDraw {
 protected:
  void Expect(VerifyOutcome outcome, const std::string& named, int status, int line = -1) {
    const VerifyReport r = Verify();
    EXPECT_EQ(r.outcome, outcome) << ReportLine(r);
    EXPECT_NE(ReportLine(r).find(named), std::string::npos) << ReportLine(r);
    EXPECT_EQ(ExitStatus(r), status) << ReportLine(r);
    if (line >= 0) {
      EXPECT_EQ(r.line, line) << ReportLine(r);
    }
  }
  void Put(std::string_view file, const std::string& bytes) { ASSERT_TRUE(WriteTextFile(dir.Path(file), bytes)); }
};

TEST_F(Strict, NothingCountsAfterTheClosingLine) {
  RunWholeDraw();
  const auto closed = LogLines();
  ASSERT_EQ(Verify().outcome, VerifyOutcome::Ok);
  const int batch = LineOf("batch", "一等奖");
  auto extraBatch = *ParseReceipt(closed[static_cast<std::size_t>(batch) - 1]);
  extraBatch.batchIndex += 1;
  Receipt undo;
  undo.kind = ReceiptKind::Undo;
  undo.format = 2;
  undo.award = extraBatch.award;
  undo.entries = {extraBatch.winners[0].entry};
  undo.planLine = extraBatch.planLine;
  undo.planPosition = 1;
  // Once the key is public, a batch, an undo or a second closing line could all have been chosen.
  for (const std::string& after : {FormatReceipt(extraBatch), FormatReceipt(undo), closed.back()}) {
    auto lines = closed;
    lines.push_back(after);
    Rechain(lines, lines.size());
    WriteLogLines(lines);
    Expect(VerifyOutcome::Mismatch, "line 14 comes after the closing line (line 13), which revealed the draw key", 1,
           14);
  }
}

TEST_F(Strict, OlderReceiptsVerifyOnlyAsProvingNoCommitment) {
  // A whole log of the first kind made up afterwards: a generator state searched until the chosen
  // entry wins. It replays, but only the exit status and the word say what it is worth.
  const auto pool = PoolEntries(DecodeExternalText(Read(ProgramDir::kSetDat)));
  Receipt seal;
  seal.kind = ReceiptKind::Seal;
  seal.format = 1;
  seal.seq = 1;
  seal.time = "2026-12-09T19:00:00";
  seal.poolSize = static_cast<long long>(pool.size());
  seal.poolSha256 = ListSha256(pool);
  seal.plan = {U("一等奖,1,1,1,1,奖品：笔记本一台,,")};
  seal.planSha256 = ListSha256(seal.plan);
  seal.seal = SealOf(seal);
  Receipt batch;
  batch.kind = ReceiptKind::Batch;
  batch.format = 1;
  batch.seq = 2;
  batch.time = "2026-12-09T20:00:00";
  batch.prev = seal.seal;
  batch.batchIndex = 1;
  batch.award = U("一等奖");
  batch.prize = U("奖品：笔记本一台");
  batch.batchSize = 1;
  batch.groupFirst = 1;
  batch.groupLast = static_cast<int>(pool.size());
  batch.poolSize = seal.poolSize;
  batch.poolSha256 = seal.poolSha256;
  std::vector<int> positions;
  for (std::uint32_t seed = 1;; ++seed) {
    RandomSource random(seed);
    DrawPositions(random, {1, batch.groupLast}, 1, false, positions);
    if (pool[static_cast<std::size_t>(positions[0]) - 1] != "017") continue;
    batch.generatorState = seed;
    break;
  }
  batch.winners = {{positions[0], "017"}};
  WriteLogLines({FormatReceipt(seal), FormatReceipt(batch)});
  ASSERT_TRUE(RecordBatch(dir, batch.award, batch.prize, {"017"}, false, {2026, 12, 9, 20, 0, 0}));
  Expect(VerifyOutcome::Uncommitted, "UNCOMMITTED: 1 batches, 1 winners", 7);
  Expect(VerifyOutcome::Uncommitted, "which prove no commitment", 7);
}

TEST_F(Strict, AStopCutShortByACrashIsNamedAndOtherUnvouchedWinnersFail) {
  ctl().StartUp();
  Roll();
  const std::string recordBefore = Read(ProgramDir::kExitIni);
  ASSERT_FALSE(recordBefore.empty());
  const auto logBefore = LogLines();
  ctl().StartPressed();
  Roll();
  const std::string recordAfter = Read(ProgramDir::kExitIni);
  // Killed after the stop wrote the result files, before its receipt and the resume record.
  WriteLogLines(logBefore);
  Put(ProgramDir::kExitIni, recordBefore);
  VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Interrupted) << ReportLine(r);
  EXPECT_EQ(ExitStatus(r), 6);
  EXPECT_EQ(ReportLine(r).rfind("INTERRUPTED, NOT TAMPERED: batch 2 (\"三等奖\", 3 winners) is in the result files "
                                "but has no receipt",
                                0),
            0u)
      << ReportLine(r);
  EXPECT_EQ(r.unchecked.size(), 3u);

  // Without a resume record that explains them, or with one that already counts them, they are
  // winners nobody vouches for, and named.
  for (const std::string* record : {static_cast<const std::string*>(nullptr), &recordAfter}) {
    if (record)
      Put(ProgramDir::kExitIni, *record);
    else
      ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kExitIni)));
    r = Verify();
    EXPECT_EQ(r.outcome, VerifyOutcome::Mismatch) << ReportLine(r);
    EXPECT_NE(ReportLine(r).find("the result files hold 3 winners no receipt accounts for"), std::string::npos)
        << ReportLine(r);
    bool listed = false;
    for (const auto& line : ReportDetails(r)) listed = listed || line.rfind("unchecked:  3 winners", 0) == 0;
    EXPECT_TRUE(listed);
  }

  // The next start takes the batch back, and the draw verifies again.
  Put(ProgramDir::kExitIni, recordBefore);
  Restart();
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  EXPECT_EQ(r.batches, 1);
}

TEST_F(Strict, PrizesAndEveryByteOfTheResultFilesAreChecked) {
  RunWholeDraw();
  const std::string dat = Read(ProgramDir::kResultDat);
  const std::string txt = Read(ProgramDir::kResultTxt);
  auto with = [](std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  };
  Put(ProgramDir::kResultDat, with(dat, U("奖品：平板一台"), U("奖品：汽车一辆")));
  Expect(VerifyOutcome::Mismatch, "won the prize \"奖品：汽车一辆\", the receipts give \"奖品：平板一台\"", 1);
  Put(ProgramDir::kResultDat, dat + "\r\n");
  Expect(VerifyOutcome::Mismatch, "config\\result.dat holds text that is no part of its result lines", 1);
  Put(ProgramDir::kResultDat, dat);

  const std::string separator(110, '-');
  Put(ProgramDir::kResultTxt, txt + "x");
  Expect(VerifyOutcome::Mismatch, "result.txt holds text the receipts do not give, at byte", 1);
  Put(ProgramDir::kResultTxt, with(txt, separator, U("内定\r\n") + separator));
  Expect(VerifyOutcome::Mismatch, "result.txt holds text the receipts do not give, at byte 5 (\"内定", 1);
  Put(ProgramDir::kResultTxt, txt);
  EXPECT_EQ(Verify().outcome, VerifyOutcome::Ok);
}

TEST_F(Strict, AKeyFileThatHoldsNoKeyIsDamagedNotMissing) {
  ctl().StartUp();
  Roll();
  const std::string key = Read(ProgramDir::kReceiptsKey);
  std::string utf16 = "\xFF\xFE";
  for (char c : key) utf16 += std::string{c, '\0'};
  for (const std::string& damaged : {std::string("garbage"), key.substr(0, 40), utf16}) {
    Put(ProgramDir::kReceiptsKey, damaged);
    Expect(VerifyOutcome::Unusable, "config\\receipts-key.dat is damaged", 3);
  }
  ASSERT_TRUE(DeleteFile(dir.Path(ProgramDir::kReceiptsKey)));
  Expect(VerifyOutcome::Unusable, "config\\receipts-key.dat is missing", 3);
}

TEST_F(Strict, EveryOperatorActionIsPrintedWithItsBatchAndCounted) {
  RunWholeDraw();
  const VerifyReport r = Verify();
  ASSERT_EQ(r.outcome, VerifyOutcome::Ok) << ReportLine(r);
  EXPECT_EQ(r.undos, 1);
  EXPECT_EQ(r.abandons, 1);
  EXPECT_EQ(r.supplements, 1);
  EXPECT_EQ(r.prizeChanges, 1);
  EXPECT_EQ(r.groups + r.startFroms + r.ruleChanges, 0);
  auto has = [](const std::vector<std::string>& lines, const std::string& start) {
    for (const auto& line : lines)
      if (line.rfind(start, 0) == 0) return true;
    return false;
  };
  EXPECT_TRUE(has(r.actions, "batch 2 (\"三等奖\"): undone, its 3 winners taken back"));
  EXPECT_TRUE(has(r.actions, "batch 2 (\"三等奖\"): drawn at attempt 2, after 1 undo of this batch"));
  EXPECT_TRUE(has(r.actions, "after batch 3: gave up \"二等奖\": "));
  EXPECT_TRUE(has(r.actions, "after batch 4: supplementary draw queued \"补抽其它奖项,2,1,1,2,加奖：红包,\""));
  EXPECT_TRUE(
      has(r.actions, "after batch 5: prize of plan line 1 changed from \"奖品：笔记本一台\" to \"奖品：笔记本两台\""));
  const auto details = ReportDetails(r);
  EXPECT_TRUE(has(details, "actions:    1 undos, 0 batches from an award group, 0 start-froms, 3 corrections"));
  EXPECT_TRUE(has(details, "sealed:     2026-12-09T"));
  EXPECT_TRUE(has(details, std::string("sealed:     ") + ParseReceipt(LogLines().front())->time + " by kavrel-draw " +
                               ProgramVersion()));

  // A batch drawn from a part of the pool only (an award group) is named with its rows.
  Restart();
  ctl().ResetDraw();
  state.groupActive = true;
  state.groupStart = 5;
  state.groupEnd = 12;
  Roll();
  const VerifyReport grouped = Verify();
  EXPECT_EQ(grouped.groups, 1) << ReportLine(grouped);
  EXPECT_TRUE(has(grouped.actions, "batch 1 (\"三等奖\"): drawn from pool rows 5-12 only (8 of 30, an award group)"));
}

}  // namespace
}  // namespace kavrel
