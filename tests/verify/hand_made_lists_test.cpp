// Lists as people make them by hand, drawn and then checked: whatever the draw reads a line as, the
// result files, the receipts and the verifier read it as too.
#include <QString>

#include "storage/participant_store.h"
#include "storage/receipt_log.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

int Count(const std::vector<std::string>& texts, const std::string& start) {
  int n = 0;
  for (const auto& t : texts) n += t.rfind(start, 0) == 0 ? 1 : 0;
  return n;
}

// Two workbook columns pasted into a text editor (TABs), a lone CR and a U+2028 inside lines: each
// line is one person, told once, and an honest draw verifies.
TEST_F(VerifiedDraw, TabsAndBreaksInsideLinesMakeOneEntryEachAndVerify) {
  std::string list;
  for (int i = 1; i <= 30; ++i) list += std::to_string(1000 + i) + "\t" + U("员工") + std::to_string(i) + "\r\n";
  list.replace(list.find("1005\t"), 5, "1005\r");
  list.replace(list.find("1007\t"), 5, "1007\x81\x36\xA6\x35");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list));
  RunWholeDraw();
  EXPECT_EQ(Count(Messages(), U("名单中有30个条目含有制表符(Tab)或换行符")), 1);
  EXPECT_EQ(state.pool.size() + kWinners, 30u);
  EXPECT_EQ(Read(ProgramDir::kResultDat).find('\t'), std::string::npos);
  // result.txt separates its fields with TABs: none stands inside a winner any more, between the
  // number and the name.
  const std::string txt = Read(ProgramDir::kResultTxt);
  EXPECT_NE(txt.find(" " + U("员工")), std::string::npos);
  EXPECT_EQ(txt.find("\t" + U("员工")), std::string::npos);
  const VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Ok) << ReportLine(r);
  ASSERT_EQ(r.sealedPool.size(), 30u);
  EXPECT_EQ(r.sealedPool[4], "1005 " + U("员工5"));
  EXPECT_EQ(r.sealedPool[6], "1007 " + U("员工7"));

  // The same list again says nothing more.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Ok);
  ctl().RestartPressed();
  EXPECT_EQ(Count(Messages(), U("名单中有30个条目含有制表符")), 0);
}

// "Unicode text" saved without a byte-order mark is read as the names it holds, never as bytes with
// NULs between them.
TEST_F(VerifiedDraw, Utf16WithoutAMarkIsReadAsItsNames) {
  QString text;
  for (int i = 1; i <= 30; ++i) text += QStringLiteral("%1 一号员工%2\r\n").arg(1000 + i).arg(i);
  for (const bool little : {true, false}) {
    std::string bytes;
    for (const QChar c : text) {
      const char lo = static_cast<char>(c.unicode() & 0xFF);
      const char hi = static_cast<char>(c.unicode() >> 8);
      bytes += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), bytes));
    if (little) {
      ctl().StartUp();
    } else {
      prompter.ScriptAnswer(Answer::Ok);
      ctl().RestartPressed();
    }
    ASSERT_EQ(state.pool.size(), 30u) << little;
    EXPECT_EQ(state.pool.front(), U("1001 一号员工1"));
    Roll();
    EXPECT_EQ(Read(ProgramDir::kResultDat).find('\0'), std::string::npos);
    const VerifyReport r = Verify();
    EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  }
}

// Two 张伟 may be two people; "9999  王五" written three ways is one. The question says both, tells
// each repeated entry's share of the tickets, and Enter keeps everyone; the seal counts by person.
TEST_F(VerifiedDraw, SameNamesAreAskedAboutBothWaysAndEnterDropsNobody) {
  std::string list;
  for (int i = 1; i <= 15; ++i) list += std::to_string(100 + i) + "\r\n";
  list += U("张伟\r\n张伟\r\n9999  王五\r\n9999 王五 \r\n　9999　王五\r\n");
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list));
  prompter.ScriptAnswer(Answer::No);
  ctl().StartUp();
  const auto question = std::find_if(prompter.shown().begin(), prompter.shown().end(), [](const auto& s) {
    return s.text.rfind(U("名单中有3个重复条目（2个条目出现不止一次"), 0) == 0;
  });
  ASSERT_NE(question, prompter.shown().end());
  EXPECT_EQ(question->focus, Answer::No);
  for (const char* part :
       {"名单中 9999  王五 占 3 张（15 %）", "名单中 张伟 占 2 张（10 %）", "同一个人被列了多次", "同名同姓的不同的人"})
    EXPECT_NE(question->text.find(U(part)), std::string::npos) << part;
  EXPECT_LT(question->text.find(U("王五 占 3 张")), question->text.find(U("张伟 占 2 张")));
  EXPECT_EQ(state.pool.size(), 20u);
  auto seal = *ParseReceipt(LogLines().front());
  EXPECT_EQ(seal.duplicates, 3);
  EXPECT_TRUE(seal.duplicatesKept);
  EXPECT_EQ(seal.entryRules, kEntryRules);
  // 公证信息 shows the same shares for as long as the draw runs.
  const std::string note = ctl().SealedDuplicatesNote();
  EXPECT_EQ(note.rfind(U("名单中有3个重复条目，按选择保留为额外的抽奖机会：\n"), 0), 0u);
  EXPECT_NE(note.find(U("名单中 9999  王五 占 3 张（15 %）")), std::string::npos);
  Roll();
  VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);

  // 是 removes the extra copies by person: one 张伟 and one 王五 stay.
  prompter.Clear();
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list + "116\r\n"));
  prompter.ScriptAnswer(Answer::Ok);
  prompter.ScriptAnswer(Answer::Yes);
  ctl().RestartPressed();
  EXPECT_EQ(state.pool.size(), 18u);
  seal = *ParseReceipt(LogLines().front());
  EXPECT_EQ(seal.duplicates, 3);
  EXPECT_FALSE(seal.duplicatesKept);
  EXPECT_EQ(ctl().SealedDuplicatesNote(), U("名单中有3个重复条目，按选择删除了多余的副本，每个条目一次机会。"));
  Roll();
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
}

// A draw sealed before entries were compared by person (and kept to one line) is checked by the rules
// it was drawn by: its seal says nothing of them, and its text is what it always was.
TEST_F(VerifiedDraw, SealsMadeBeforeTheEntryRulesAreCheckedByThoseTheyWereMadeWith) {
  Receipt old;
  old.kind = ReceiptKind::Seal;
  old.format = 2;
  old.time = "2026-12-09T18:05:09";
  old.nonce = std::string(32, '0');
  old.version = "1.0";
  old.poolSize = 3;
  old.poolSha256 = std::string(64, 'a');
  old.merkleRoot = std::string(64, 'b');
  old.planSha256 = std::string(64, 'c');
  old.keySha256 = std::string(64, 'd');
  old.duplicates = 1;
  old.duplicatesKept = true;
  EXPECT_EQ(SealOf(old), "9f474cd55d19fb185abca627311d8673bdad000fa4910f4c392cd99f1815dcf0");
  old.seal = SealOf(old);
  EXPECT_EQ(FormatReceipt(old).find("entry_rules"), std::string::npos);
  EXPECT_EQ(ParseReceipt(FormatReceipt(old))->entryRules, 0);

  // "a b" and "a  b" are one entry now, two by the bytes an earlier seal compared.
  std::string list;
  for (int i = 1; i <= 28; ++i) list += std::to_string(100 + i) + "\r\n";
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list + "a b\r\na  b\r\n"));
  prompter.ScriptAnswer(Answer::No);
  ctl().StartUp();
  Roll();
  auto lines = LogLines();
  EXPECT_EQ(ParseReceipt(lines.front())->duplicates, 1);
  EXPECT_EQ(Verify().outcome, VerifyOutcome::NotClosed);
  const auto sealAs = [&](long long duplicates) {
    EditLine(lines, 1, [&](Receipt& r) {
      r.entryRules = 0;
      r.duplicates = duplicates;
      r.seal = SealOf(r);
    });
    Rechain(lines, 2);
    WriteLogLines(lines);
    return Verify();
  };
  VerifyReport r = sealAs(0);
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  r = sealAs(1);
  EXPECT_EQ(r.outcome, VerifyOutcome::Mismatch) << ReportLine(r);
  EXPECT_NE(ReportLine(r).find("holds 0 extra copies of repeated entries, the seal 1"), std::string::npos)
      << ReportLine(r);
}

}  // namespace
}  // namespace kavrel
