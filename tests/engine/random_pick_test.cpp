#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/committed_random.h"
#include "engine/pick.h"
#include "engine/random_source.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_stage_hooks.h"

namespace kavrel {
namespace {

std::vector<std::string> NumberedPool(int n) {
  std::vector<std::string> pool;
  for (int i = 1; i <= n; ++i) pool.push_back(std::to_string(i));
  return pool;
}

TEST(RandomSource, KeepsTheGeneratorAndItsClockSeeding) {
  FakeClock clock;
  RandomSource random(clock);
  random.Seed(0);
  // state = 2531011 -> (2531011 >> 16) & 0x7FFF = 38; the next state gives 7719.
  EXPECT_EQ(random.Next15(), 38);
  EXPECT_EQ(random.Next15(), 7719);

  // Two seeds in the same millisecond differ: the counter grows by ((ms + counter) & 0xFF) + 100.
  clock.ms = 1000;
  RandomSource a(clock), b(clock);
  a.SeedFromClock();
  b.Seed(1000);
  EXPECT_EQ(a.Next15(), b.Next15());
  a.SeedFromClock();
  b.Seed(1000 + (1000 & 0xFF) + 100);
  EXPECT_EQ(a.Next15(), b.Next15());
}

std::string Raw(const char* hex) {
  std::string out;
  for (std::size_t i = 0; hex[i] && hex[i + 1]; i += 2)
    out += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return out;
}

// The first HMAC_DRBG SHA-256 vector of the standard's test file (no reseed, no personalization): two
// generate calls of 128 bytes, the second one's output compared.
TEST(CommittedRandom, HmacDrbgGivesTheStandardsTestVector) {
  HmacDrbg drbg(Raw("ca851911349384bffe89de1cbdc46e6831e44d34a4fb935ee285dd14b71a7488"),
                Raw("659ba96c601dc69fc902940805ec0ca8"), {});
  std::uint8_t out[128];
  drbg.Generate(out, sizeof out);
  drbg.Generate(out, sizeof out);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(out), sizeof out),
            Raw("e528e9abf2dece54d47c7e75e5fe302149f817ea9fb4bee6f4199697d04d5b89d54fbb978a15b5c443c9ec21036d2460b6f"
                "73ebad0dc2aba6e624abf07745bc107694bb7547bb0995f70de25d6b29e2d3011bb19d27676c07162c8b5ccde0668961df8"
                "6803482cb37ed6d5c0bb8d50cf1f50d476aa0458bdaba806f48be9dcb8"));
}

// A batch's pick is a function of its inputs: the same inputs give the same winners, and each input
// (the key, the audience number, the batch, the attempt) changes them.
TEST(CommittedRandom, EveryInputOfTheBatchDecidesItsPick) {
  auto pick = [](const BatchInputs& in) {
    CommittedRandom random(in);
    std::vector<int> positions;
    DrawPositions(random, PickRange{1, 1000000}, 10, false, positions);
    return positions;
  };
  const BatchInputs base{std::string(32, 'k'), "", 1, 0};
  EXPECT_EQ(pick(base), pick(base));
  for (const BatchInputs& changed :
       {BatchInputs{std::string(31, 'k') + "j", "", 1, 0}, BatchInputs{std::string(32, 'k'), "7", 1, 0},
        BatchInputs{std::string(32, 'k'), "", 2, 0}, BatchInputs{std::string(32, 'k'), "", 1, 1}})
    EXPECT_NE(pick(changed), pick(base));
}

TEST(RandomSource, RangeBoundsAndSingleValues) {
  FakeClock clock;
  RandomSource random(clock);
  random.Seed(7);
  // A range of one value is returned without consuming a value.
  EXPECT_EQ(random.RandomInRange(3, 3), 3);
  EXPECT_EQ(random.RandomInRange(-5, 0), 0);
  RandomSource fresh(clock);
  fresh.Seed(7);
  EXPECT_EQ(random.Next15(), fresh.Next15());
  // Bounds are ordered and negatives count as 0.
  for (int i = 0; i < 1000; ++i) {
    const auto v = random.RandomInRange(10, -4);
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 10);
  }
}

TEST(RandomSource, ReachesTheTopOfRangesBeyondFifteenBits) {
  FakeClock clock;
  RandomSource random(clock);
  random.Seed(12345);
  std::int64_t highest = 0;
  for (int i = 0; i < 20000; ++i) highest = std::max(highest, random.RandomInRange(1, 1000000));
  EXPECT_GT(highest, 990000);  // a 15-bit value modulo n could never pass 32,768
}

// Every position of a pool of 100,000 can win, and picks are uniform: chi-square over 100 bins
// of 1,000 positions each (99 degrees of freedom; 160 is beyond the 99.99th percentile), with
// ticks reseeded from the fake clock as on the stage.
TEST(PickBatch, IsUniformOverAPoolOfOneHundredThousand) {
  FakeClock clock;
  RandomSource random(clock);
  RecordingStageHooks stage;
  CandidateShow show(stage);
  DrawState state;
  state.pool = NumberedPool(100000);
  state.batchSize = 100;
  std::vector<int> hits(100000, 0);
  const int ticks = 30000;
  for (int t = 0; t < ticks; ++t) {
    clock.ms += 1;
    ASSERT_TRUE(PickBatch(state, PickRules{}, random, show));
    for (int p : state.batchWinners) ++hits[static_cast<std::size_t>(p) - 1];
  }
  EXPECT_EQ(std::count(hits.begin(), hits.end(), 0), 0) << "some positions never won";

  const double expectedPerBin = ticks * 100.0 / 100;
  double chi = 0;
  for (int bin = 0; bin < 100; ++bin) {
    const int observed = std::accumulate(hits.begin() + bin * 1000, hits.begin() + (bin + 1) * 1000, 0);
    chi += (observed - expectedPerBin) * (observed - expectedPerBin) / expectedPerBin;
  }
  EXPECT_LT(chi, 160.0);
}

// The small pool where a modulo bias would show most: 1,000 positions, 768 of them favoured by
// r mod 1000 on 15-bit values.
TEST(RandomSource, HasNoModuloBiasOnSmallRanges) {
  FakeClock clock;
  RandomSource random(clock);
  random.Seed(99);
  long low = 0, high = 0;
  const int draws = 2000000;
  for (int i = 0; i < draws; ++i) (random.RandomInRange(1, 1000) <= 768 ? low : high)++;
  const double lowShare = static_cast<double>(low) / draws;
  EXPECT_NEAR(lowShare, 0.768, 0.002);  // the biased generator gives 0.7734
}

TEST(PickBatch, PoolOfFiveBatchOfFiveIsAPermutationOnEveryTick) {
  FakeClock clock;
  RandomSource random(clock);
  RecordingStageHooks stage;
  CandidateShow show(stage);
  DrawState state;
  state.pool = {"a", "b", "c", "d", "e"};
  state.batchSize = 5;
  for (int t = 0; t < 500; ++t) {
    clock.ms += 1;
    ASSERT_TRUE(PickBatch(state, PickRules{}, random, show));
    auto sorted = state.batchWinners;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(sorted, (std::vector<int>{1, 2, 3, 4, 5}));
    ASSERT_EQ(stage.painted.size(), 5u);
  }
  EXPECT_EQ(stage.ticksPainted, 500);
}

TEST(PickBatch, GroupsRepeatsMaskingAndPictureMode) {
  FakeClock clock;
  RandomSource random(clock);
  RecordingStageHooks stage;
  CandidateShow show(stage);
  DrawState state;
  state.pool = {"13812345678", "13900001111", "x", "123456", "1234567"};

  // A group of one row always picks it.
  state.groupActive = true;
  state.groupStart = 3;
  state.groupEnd = 3;
  state.batchSize = 1;
  ASSERT_TRUE(PickBatch(state, PickRules{}, random, show));
  EXPECT_EQ(state.batchWinners, std::vector<int>{3});

  // Repeats allowed may repeat a position; a pool of one fills a batch of one only.
  state.groupActive = false;
  state.pool = {"solo"};
  PickRules repeats;
  repeats.repeatAllowed = true;
  ASSERT_TRUE(PickBatch(state, repeats, random, show));
  state.batchSize = 2;
  EXPECT_FALSE(CanFillBatch(state));
  EXPECT_FALSE(PickBatch(state, repeats, random, show));

  // Masking in text mode only, bytes 4..7, entries shorter than 7 bytes unmasked.
  state.pool = {"13812345678"};
  state.batchSize = 1;
  PickRules masked;
  masked.maskOn = true;
  ASSERT_TRUE(PickBatch(state, masked, random, show));
  EXPECT_EQ(stage.painted, std::vector<std::string>{"138****5678"});
  masked.textMode = false;
  ASSERT_TRUE(PickBatch(state, masked, random, show));
  EXPECT_EQ(stage.painted, std::vector<std::string>{"13812345678"});
  EXPECT_EQ(MaskText("123456", 4, 7), "123456");
  EXPECT_EQ(MaskText("1234567", 4, 7), "123****");
  EXPECT_EQ(MaskText("1234567", 0, 7), "1234567");
  EXPECT_EQ(MaskText("1234567", 5, 4), "1234567");
}

TEST(PickBatch, NeverLoopsOrReadsOutsideThePool) {
  FakeClock clock;
  RandomSource random(clock);
  RecordingStageHooks stage;
  CandidateShow show(stage);
  DrawState state;
  state.pool = NumberedPool(5);
  state.batchSize = 0;
  EXPECT_FALSE(PickBatch(state, PickRules{}, random, show));
  state.batchSize = 2;
  state.groupActive = true;
  for (auto [from, to] : {std::pair{0, 3}, {4, 9}, {4, 3}, {5, 5}}) {
    state.groupStart = from;
    state.groupEnd = to;
    EXPECT_FALSE(PickBatch(state, PickRules{}, random, show)) << from << ".." << to;
  }
  EXPECT_EQ(stage.ticksPainted, 0);
}

TEST(RemoveWinners, KeepsTheOrderOfTheRestAndReturnsAtTheEnd) {
  DrawState state;
  state.pool = {"a", "b", "c", "d", "e", "f"};
  state.batchWinners = {2, 5, 3};
  RemoveWinners(state, false);
  EXPECT_EQ(state.pool, (std::vector<std::string>{"a", "d", "f"}));
  EXPECT_TRUE(state.batchWinners.empty());
  state.batchWinners = {1};
  RemoveWinners(state, true);
  EXPECT_EQ(state.pool.size(), 3u);
  ReturnToPool(state, "c");
  EXPECT_EQ(state.pool.back(), "c");
}

}  // namespace
}  // namespace kavrel
