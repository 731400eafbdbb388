// The forgeries an insider with a script would try on a finished draw, each after editing the files
// and re-chaining the log so that every hash still holds.
#include <functional>

#include "storage/draw_history.h"
#include "storage/participant_store.h"
#include "storage/result_store.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

class Forgery : public VerifiedDraw {
 protected:
  void SetUp() override {
    VerifiedDraw::SetUp();
    RunWholeDraw();
    const VerifyReport r = Verify();
    ASSERT_EQ(r.outcome, VerifyOutcome::Ok) << ReportLine(r);
    closingHash_ = r.closingHash;
  }
  // `line` 0: any line from `from` on (a changed input shows at the first batch it changes).
  void ExpectMismatch(const std::vector<std::string>& lines, int line, const std::string& named, int from = 0) {
    WriteLogLines(lines);
    const VerifyReport r = Verify();
    EXPECT_EQ(r.outcome, VerifyOutcome::Mismatch) << ReportLine(r);
    if (line > 0) {
      EXPECT_EQ(r.line, line) << ReportLine(r);
    }
    EXPECT_GE(r.line, from) << ReportLine(r);
    EXPECT_NE(ReportLine(r).find(named), std::string::npos) << ReportLine(r);
  }
  int LastBatchLine() const { return LineOf("batch", "一等奖"); }
  std::string closingHash_;
};

TEST_F(Forgery, WinnersOrInputsChosenByHandDoNotFollowFromTheKey) {
  const auto original = LogLines();
  const int k = LastBatchLine();
  // Someone else put in as the winner.
  auto lines = original;
  EditLine(lines, k,
           [](Receipt& r) { r.winners[0].position = r.winners[0].position == 1 ? 2 : r.winners[0].position - 1; });
  Rechain(lines, static_cast<std::size_t>(k) + 1);
  ExpectMismatch(lines, k, "but the committed draw key picks position");
  // Another attempt tried until one gave the wanted winner.
  lines = original;
  EditLine(lines, k, [](Receipt& r) { r.attempt = 3; });
  Rechain(lines, static_cast<std::size_t>(k) + 1);
  ExpectMismatch(lines, k, "it is recorded as batch 6, attempt 3; the receipts before it make it batch 6, attempt 0");
  // A receipt of the older kind, whose generator state could be chosen freely.
  lines = original;
  EditLine(lines, k, [](Receipt& r) {
    r.format = 1;
    r.generatorState = 12345;
    r.poolSha256 = Sha256Hex("");
  });
  Rechain(lines, static_cast<std::size_t>(k) + 1);
  ExpectMismatch(lines, k, "is a receipt of another format than its seal's");
  // The audience number changed after the draw.
  lines = original;
  lines.insert(lines.begin() + 1, FormatReceipt([] {
                 Receipt a;
                 a.kind = ReceiptKind::Audience;
                 a.format = 2;
                 a.audienceNumber = "7";
                 return a;
               }()));
  Rechain(lines, 2);
  ExpectMismatch(lines, 0, "but the committed draw key picks position", 3);
  // The last batch said to allow repeated wins: nothing after it would show the pool's difference.
  lines = original;
  EditLine(lines, k, [](Receipt& r) { r.repeatAllowed = true; });
  Rechain(lines, static_cast<std::size_t>(k) + 1);
  ExpectMismatch(lines, k, "recorded with repeated wins allowed, but the rule the receipts announce forbids them");
  // An award the plan line does not give.
  lines = original;
  EditLine(lines, k, [](Receipt& r) { r.award = U("特等奖"); });
  Rechain(lines, static_cast<std::size_t>(k) + 1);
  ExpectMismatch(lines, k, "its award, batch size or prize is not the one its plan line");
}

TEST_F(Forgery, AnExtraBatchNoPlanLineAsksForIsNamed) {
  auto lines = LogLines();
  const std::string close = lines.back();
  lines.pop_back();
  auto extra = *ParseReceipt(lines[static_cast<std::size_t>(LastBatchLine()) - 1]);
  extra.batchIndex += 1;
  extra.poolSize -= 1;  // the batch before it took its winner out
  lines.push_back(FormatReceipt(extra));
  lines.push_back(close);
  Rechain(lines, lines.size() - 1);
  ExpectMismatch(lines, static_cast<int>(lines.size()) - 1,
                 "no plan line is left for it: neither the plan nor a recorded correction asks for this batch");
}

TEST_F(Forgery, ACutTailIsNotClosedAndARemadeClosingLineChangesTheClosingHash) {
  // The last batch goes from both result files and the log, with the closing line after it.
  ASSERT_TRUE(RemoveLastBatch(dir, 1).written);
  auto lines = LogLines();
  const auto close = *ParseReceipt(lines.back());
  lines.erase(lines.end() - 2, lines.end());
  WriteLogLines(lines);
  // An undo leaves its batch's separator in result.txt; without an undo receipt that is text no
  // receipt gives. Cut cleanly, the tail is what only the closing line can tell.
  VerifyReport r = Verify();
  EXPECT_NE(ReportLine(r).find("result.txt holds text the receipts do not give"), std::string::npos) << ReportLine(r);
  std::string txt = Read(ProgramDir::kResultTxt);
  txt.erase(txt.rfind("\r\n\r\n" + std::string(110, '-')));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultTxt), txt));
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  EXPECT_EQ(ExitStatus(r), 4);
  EXPECT_EQ(ReportLine(r).rfind("NOT CLOSED: 5 batches, 10 winners, 1 gave up, seal ", 0), 0u) << ReportLine(r);
  EXPECT_NE(ReportLine(r).find("batches after line 11 may have been cut"), std::string::npos) << ReportLine(r);
  // The key was revealed, so a closing line can be made again. "finished" would be caught (a plan
  // line is left); as a draw put aside it verifies, but its closing hash is not the one the audience
  // photographed.
  auto remade = close;
  lines.push_back(FormatReceipt(remade));
  Rechain(lines, lines.size());
  WriteLogLines(lines);
  EXPECT_EQ(Verify().outcome, VerifyOutcome::Mismatch);
  remade.reason = "put_aside";
  lines.back() = FormatReceipt(remade);
  Rechain(lines, lines.size());
  WriteLogLines(lines);
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Ok) << ReportLine(r);
  EXPECT_NE(r.closingHash, closingHash_);
}

TEST_F(Forgery, AClosingLineWithAnotherKeyIsCaught) {
  auto lines = LogLines();
  EditLine(lines, static_cast<int>(lines.size()), [](Receipt& r) { r.drawKey = Sha256Hex("another draw's key"); });
  ExpectMismatch(lines, static_cast<int>(lines.size()), "reveals a key that is not the one the seal was made with");
}

TEST_F(Forgery, ARehearsalCannotPassForTheEventUnderTheEventsSeal) {
  const auto rehearsal = LogLines();
  prompter.ScriptAnswer(Answer::Ok);
  ctl().RestartPressed();  // the event: same list, same plan
  const auto eventSeal = LogLines().front();
  ASSERT_NE(ParseReceipt(eventSeal)->seal, ParseReceipt(rehearsal.front())->seal);
  // The rehearsal's results brought back, its log shown under the seal the audience photographed.
  const auto past = ListHistoryFolders(dir);
  ASSERT_EQ(past.size(), 1u);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultDat), ReadTextFile(past[0] / "result.dat")));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultTxt), ReadTextFile(past[0] / "result.txt")));
  auto lines = rehearsal;
  lines.front() = eventSeal;
  Rechain(lines, 2);
  ExpectMismatch(lines, static_cast<int>(lines.size()), "reveals a key that is not the one the seal was made with");
}

TEST_F(Forgery, TheSealLinesOwnFieldsAreChecked) {
  auto lines = LogLines();
  EditLine(lines, 1, [](Receipt& r) { r.prev = Sha256Hex("a line before the seal"); });
  ExpectMismatch(lines, 1, "the seal line chains to a line before it");
  lines = LogLines();
  EditLine(lines, 1, [](Receipt& r) { r.duplicatesKept = true; });
  ExpectMismatch(lines, 1, "the seal line was edited");
}

// Repeated entries: the operator's choice and their count are sealed and replayed; kept copies are
// extra tickets.
TEST_F(VerifiedDraw, RepeatedEntriesRemovedOrKeptAreSealedAndReplayed) {
  const std::string list = Read(ProgramDir::kSetDat);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list + "005\r\n005\r\n017\r\n"));
  prompter.ScriptAnswer(Answer::Yes);  // remove the extra copies
  ctl().StartUp();
  EXPECT_NE(LastMessage().find(U("名单中有3个重复条目（2个条目出现不止一次，例如“005”）")), std::string::npos);
  EXPECT_EQ(state.pool.size(), 30u);
  auto seal = *ParseReceipt(LogLines().front());
  EXPECT_EQ(seal.duplicates, 3);
  EXPECT_FALSE(seal.duplicatesKept);
  Roll();
  VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  const auto details = ReportDetails(r);
  EXPECT_NE(std::find(details.begin(), details.end(),
                      "list:       30 entries sealed; 3 extra copies of repeated entries removed"),
            details.end());

  // A restart over the same list asks no more; keeping them is the answer given for the next list.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Ok);
  ctl().RestartPressed();
  EXPECT_EQ(Messages().size(), 1u) << "only the restart question";
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list + "005\r\n005\r\n"));
  prompter.ScriptAnswer(Answer::No);  // keep them as extra tickets
  ctl().ResetDraw();
  EXPECT_EQ(state.pool.size(), 32u);
  seal = *ParseReceipt(LogLines().front());
  EXPECT_EQ(seal.duplicates, 2);
  EXPECT_TRUE(seal.duplicatesKept);
  Roll();
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  EXPECT_EQ(r.sealedPool.size(), 32u);

  // Copies added to the list after the seal are named.
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSealedList), list + "005\r\n005\r\n005\r\n"));
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Mismatch);
  EXPECT_NE(ReportLine(r).find("config\\receipts-list.dat has changed since the seal: it holds 3 extra copies of "
                               "repeated entries, the seal 2"),
            std::string::npos)
      << ReportLine(r);
}

TEST_F(VerifiedDraw, AudienceNumberIsTakenOnceBeforeTheFirstBatch) {
  ctl().StartUp();
  prompter.ScriptText(std::string("2026 0101"));
  prompter.ScriptAnswer(Answer::Ok);
  ctl().AudienceNumberPressed();
  EXPECT_EQ(ctl().Receipts().AudienceNumber(), "20260101");
  ctl().AudienceNumberPressed();
  EXPECT_NE(LastMessage().find(U("已经记录为 20260101")), std::string::npos);
  Roll();
  ctl().AudienceNumberPressed();
  EXPECT_NE(LastMessage().find(U("已经记录为")), std::string::npos);
  const VerifyReport r = Verify();
  EXPECT_EQ(r.audienceNumber, "20260101");
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);

  // A fresh draw: once a batch is drawn it is too late, and letters are refused.
  ctl().ResetDraw();
  prompter.ScriptText(std::string("12a"));
  ctl().AudienceNumberPressed();
  EXPECT_NE(LastMessage().find(U("只能是1至18位数字")), std::string::npos);
  Roll();
  ctl().AudienceNumberPressed();
  EXPECT_NE(LastMessage().find(U("只能在第一轮抽奖之前输入")), std::string::npos);
  EXPECT_EQ(ctl().Receipts().AudienceNumber(), "");
}

// A resume over a log that cannot go on says so, and what can still be checked; the draw goes on.
TEST_F(VerifiedDraw, AResumeTellsWhatBecameOfTheReceipts) {
  auto scenario = [this](const std::function<void()>& damage, const char* told) {
    Restart();
    ctl().ResetDraw();
    Roll();
    ctl().StartPressed();
    Roll();
    Restart();  // the program went away with batches left
    damage();
    prompter.Clear();
    prompter.ScriptAnswer(Answer::Yes);
    ctl().StartUp();
    EXPECT_NE(LastMessage().find(U(told)), std::string::npos) << told;
    EXPECT_FALSE(ctl().Receipts().Active());
    EXPECT_FALSE(Roll().empty()) << "the draw goes on";
  };
  scenario([this] { DeleteFile(dir.Path(ProgramDir::kReceiptsLog)); },
           "抽奖凭证 config\\receipts.log 不见了：本场已抽出的2批无法再用 kavrel-verify 核验");
  scenario(
      [this] {
        auto lines = LogLines();
        lines[2] = "{\"kind\":";
        WriteLogLines(lines);
      },
      "从第3行起已损坏");
  scenario(
      [this] {
        auto lines = LogLines();
        lines.pop_back();
        WriteLogLines(lines);
      },
      "只记录了1批，中奖结果中却有2批（凭证被截短）：凭证中的这1批仍可核验");
  scenario([this] { DeleteFile(dir.Path(ProgramDir::kReceiptsKey)); }, "抽奖密钥 config\\receipts-key.dat 缺失");
}

}  // namespace
}  // namespace kavrel
