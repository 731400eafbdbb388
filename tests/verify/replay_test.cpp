#include <random>

#include "engine/pick.h"
#include "engine/random_source.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_stage_hooks.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

// The replay re-runs the pick from the recorded generator state; it must give the winners the stage's
// own tick gave, whatever the pool, the batch, the group and the repeat rule.
TEST(Replay, TenThousandRandomBatchesReplayToTheEnginesOwnPick) {
  std::mt19937 rng(20261209);
  FakeClock clock;
  RandomSource random(clock);
  RecordingStageHooks stage;
  DrawState state;
  std::vector<std::string> big(70000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = std::to_string(i + 1);
  int differing = 0;
  for (int n = 0; n < 10000; ++n) {
    const int poolSize = n % 10 == 0 ? 40000 + static_cast<int>(rng() % 30000) : 1 + static_cast<int>(rng() % 500);
    state.pool.assign(big.begin(), big.begin() + poolSize);
    const bool repeat = rng() % 4 == 0;
    state.groupActive = rng() % 5 == 0;
    if (state.groupActive) {
      state.groupStart = 1 + static_cast<int>(rng() % static_cast<unsigned>(poolSize));
      state.groupEnd =
          state.groupStart + static_cast<int>(rng() % static_cast<unsigned>(poolSize - state.groupStart + 1));
    }
    const PickRange range = CurrentPickRange(state);
    state.batchSize = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::min(range.Count(), 30)));
    clock.ms = rng();
    PickRules rules;
    rules.repeatAllowed = repeat;
    stage.painted.clear();
    ASSERT_TRUE(PickBatch(state, rules, random, stage));

    RandomSource replay(state.tickGeneratorState);
    std::vector<int> positions;
    DrawPositions(replay, range, state.batchSize, repeat, positions);
    if (positions != state.batchWinners) ++differing;
  }
  EXPECT_EQ(differing, 0);
}

// A long draw with random undos, groups and repeat rules, run through the controller, verifies.
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
    if (rng() % 8 == 0) {
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
