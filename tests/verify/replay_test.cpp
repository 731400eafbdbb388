#include <random>

#include "storage/text_file.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

// A long draw with random undos, groups and tick counts, run through the controller, verifies: however
// long each roll ran, the winners are the ones the committed inputs give.
class LongDraw : public VerifiedDraw {};

TEST_F(LongDraw, HundredsOfBatchesWithUndosVerify) {
  WriteList(3000);
  std::vector<const char*> lines;
  for (int i = 0; i < 12; ++i) lines.push_back("三等奖,200,20,1,10,奖品：MP4一部,,");
  for (int i = 0; i < 12; ++i) lines.push_back("二等奖,60,20,1,3,奖品：平板一台,,");
  std::string text;
  for (const char* l : lines) text += U(l) + "\r\n";
  text = text + text + text + text + text;  // 120 batches
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), text));
  ctl().StartUp();
  std::mt19937 rng(7);
  int undone = 0, drawn = 0;
  while (!state.plan.empty()) {
    if (rng() % 6 == 0) {
      state.groupActive = true;
      state.groupStart = 1 + static_cast<int>(rng() % 100);
      state.groupEnd = state.groupStart + 200;
    }
    Roll(1 + static_cast<int>(rng() % 4));
    ++drawn;
    // Not after the last batch: its closing line revealed the key, and nothing may follow it.
    if (rng() % 8 == 0 && !state.plan.empty()) {
      prompter.ScriptAnswer(Answer::Ok);
      ctl().UndoPressed();
      ++undone;
    }
    clock.now.second = (clock.now.second + 1) % 60;
    ctl().StartPressed();
  }
  ASSERT_GT(undone, 5);
  const VerifyReport report = Verify();
  EXPECT_EQ(report.outcome, VerifyOutcome::Ok) << ReportLine(report);
  EXPECT_EQ(report.batches, drawn - undone);
}

}  // namespace
}  // namespace kavrel
