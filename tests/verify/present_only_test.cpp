// A draw among those signed in ("只抽已签到人员"): the pool is the list's signed-in entries, read once at
// the seal; the seal, the verifier and a resume all keep to that pool.
#include <algorithm>
#include <set>

#include "engine/draw_texts.h"
#include "storage/signin_store.h"
#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

class PresentOnly : public VerifiedDraw {
 protected:
  void SetUp() override {
    VerifiedDraw::SetUp();
    WriteConfig("标题设置", "只抽已签到人员", "真");
    // 005 three times: its two extra copies, kept, are extra tickets of one person present.
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), Read(ProgramDir::kSetDat) + "005\r\n005\r\n"));
  }
  void SignIn(const std::vector<std::string>& entries) {
    std::vector<SigninRecord> records;
    for (const auto& e : entries) records.push_back({e, LocalDateTime{2026, 12, 10, 18, 0, 0}});
    ASSERT_TRUE(SaveSignins(dir, records));
  }
  // 001 … 012 signed in, in another order, and someone who is not on the list.
  void TwelveSignIn() {
    SignIn({"012", "005", "001", "099", "007", "003", "009", "010", "011", "002", "004", "006", "008"});
  }
  // 001 … 012 in the list's order, then the two extra copies of 005.
  static std::vector<std::string> PresentPool() {
    return {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010", "011", "012", "005", "005"};
  }
  void StartKeepingCopies() {
    prompter.ScriptAnswer(Answer::Ok);  // the count told
    prompter.ScriptAnswer(Answer::No);  // keep the extra copies
    ctl().StartUp();
  }
  static bool AllPresent(const std::vector<std::string>& entries) {
    const std::set<std::string> present = {"001", "002", "003", "004", "005", "006",
                                           "007", "008", "009", "010", "011", "012"};
    return std::all_of(entries.begin(), entries.end(), [&](const std::string& e) { return present.contains(e); });
  }
};

TEST_F(PresentOnly, TheSignedInEntriesAreSealedDrawnAndVerified) {
  TwelveSignIn();
  StartKeepingCopies();
  EXPECT_NE(Messages().front().find(U("只抽已签到人员：已签到14人（名单共32人）")), std::string::npos);
  EXPECT_EQ(state.pool, PresentPool());
  const Receipt seal = *ParseReceipt(LogLines().front());
  EXPECT_TRUE(seal.presentOnly);
  EXPECT_EQ(seal.presentCount, 14);
  EXPECT_EQ(seal.poolSize, 14);
  EXPECT_EQ(seal.duplicates, 2);
  EXPECT_EQ(Read(ProgramDir::kSealedList),
            "001\r\n002\r\n003\r\n004\r\n005\r\n006\r\n007\r\n008\r\n009\r\n010\r\n"
            "011\r\n012\r\n005\r\n005\r\n");

  // Someone signing in after the seal does not join this draw.
  SignIn({"012", "005", "001", "007", "003", "009", "010", "011", "002", "004", "006", "008", "020", "021"});
  std::vector<std::string> winners = Roll();
  ctl().StartPressed();
  const auto more = Roll();
  winners.insert(winners.end(), more.begin(), more.end());
  EXPECT_EQ(winners.size(), 6u);
  EXPECT_TRUE(AllPresent(winners));
  EXPECT_TRUE(AllPresent(state.pool));

  VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  const auto details = ReportDetails(r);
  EXPECT_NE(std::find(details.begin(), details.end(),
                      "signed in:  only those signed in were drawn from: 14 entries of the list were sealed"),
            details.end());

  // The sealed list must hold as many as the seal says signed in, and the list the program draws from
  // must still hold each of them.
  const std::string sealed = Read(ProgramDir::kSealedList);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSealedList), sealed + "013\r\n"));
  r = Verify();
  EXPECT_NE(ReportLine(r).find("receipts-list.dat has changed since the seal: it holds 15 entries, the seal 14 "
                               "signed in"),
            std::string::npos)
      << ReportLine(r);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSealedList), sealed));
  const std::string list = Read(ProgramDir::kSetDat);
  std::string withoutSeven = list;
  withoutSeven.erase(withoutSeven.find("007\r\n"), 5);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), withoutSeven));
  r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::Mismatch);
  EXPECT_NE(ReportLine(r).find("config\\set.dat has changed since the seal: it does not hold signed-in entry 7 of "
                               "the sealed list"),
            std::string::npos)
      << ReportLine(r);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), list));

  // The choice and the count are part of the seal: neither can be edited away.
  const auto lines = LogLines();
  auto forged = lines;
  EditLine(forged, 1, [](Receipt& s) { s.presentOnly = false; });
  WriteLogLines(forged);
  EXPECT_NE(ReportLine(Verify()).find("the seal line was edited"), std::string::npos);
  forged = lines;
  EditLine(forged, 1, [](Receipt& s) { s.presentCount = 32; });
  WriteLogLines(forged);
  EXPECT_NE(ReportLine(Verify()).find("the seal line was edited"), std::string::npos);
  WriteLogLines(lines);
  EXPECT_EQ(Verify().outcome, VerifyOutcome::NotClosed);
}

// After a crash the draw goes on over what is left of the signed-in pool, never the whole list, and the
// people who never signed in are no change to the list.
TEST_F(PresentOnly, AResumeKeepsTheSignedInPool) {
  TwelveSignIn();
  StartKeepingCopies();
  Roll();
  const std::vector<std::string> left = state.pool;
  EXPECT_NE(Read(ProgramDir::kExitIni).find("present_only=1\r\npresent_count=14\r\n"), std::string::npos);

  Restart();  // the program went away
  SignIn({"020", "021"});
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages().front(), U(texts::kResumeQuestion)) << "no list change to tell";
  EXPECT_EQ(state.pool, left);
  EXPECT_TRUE(state.presentOnly);
  EXPECT_EQ(state.presentCount, 14);
  ctl().StartPressed();
  EXPECT_TRUE(AllPresent(Roll()));
  const VerifyReport r = Verify();
  EXPECT_EQ(r.outcome, VerifyOutcome::NotClosed) << ReportLine(r);
  EXPECT_NE(Read(ProgramDir::kExitIni).find("present_only=1\r\npresent_count=14\r\n"), std::string::npos);
}

TEST_F(PresentOnly, NobodySignedInMeansNoDrawAndSaysWhy) {
  SignIn({"099"});
  ctl().StartUp();
  const std::string why = U("只抽已签到人员：名单共32人，还没有人签到，本场抽奖无法开始。");
  EXPECT_NE(LastMessage().find(why), std::string::npos) << LastMessage();
  prompter.Clear();
  ctl().StartPressed();
  EXPECT_NE(LastMessage().find(why), std::string::npos) << LastMessage();
  EXPECT_FALSE(state.Rolling());
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));

  // A sign-in file that cannot be read is not "nobody" either, and never the whole list.
  std::filesystem::remove(dir.Path(ProgramDir::kSigninDat));
  std::filesystem::create_directory(dir.Path(ProgramDir::kSigninDat));
  ctl().ResetDraw();
  EXPECT_NE(LastMessage().find(U("签到记录 config\\signin.dat 无法读取")), std::string::npos) << LastMessage();
  EXPECT_TRUE(state.pool.empty());
}

}  // namespace
}  // namespace kavrel
