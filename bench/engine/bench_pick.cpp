// One timer tick's PickBatch: batches of 1, 10 and 100 over pools of 1,000 to 1,000,000 entries.
// The pick must stay flat in the pool size (it never copies the pool).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/pick.h"
#include "null_stage_hooks.h"
#include "support/fakes/fake_clock.h"

namespace kavrel {
namespace {

const std::vector<std::string>& PoolOf(std::size_t n) {
  static std::vector<std::string> pool;
  if (pool.size() != n) {
    pool.clear();
    pool.reserve(n);
    char buf[32];
    for (std::size_t i = 1; i <= n; ++i) {
      std::snprintf(buf, sizeof buf, "1381234%07zu", i);  // phone-number-like entries
      pool.emplace_back(buf);
    }
  }
  return pool;
}

void BM_PickBatch(benchmark::State& st, bool masked) {
  FakeClock clock;
  RandomSource random(clock);
  NullStageHooks stage;
  CandidateShow show(stage);
  DrawState state;
  state.pool = PoolOf(static_cast<std::size_t>(st.range(1)));
  state.batchSize = static_cast<int>(st.range(0));
  PickRules rules;
  rules.maskOn = masked;
  for (auto _ : st) {
    clock.ms += 1;
    benchmark::DoNotOptimize(PickBatch(state, rules, random, show));
  }
  st.SetLabel("batch " + std::to_string(st.range(0)) + ", pool " + std::to_string(st.range(1)));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (long batch : {1, 10, 100})
    for (long pool : {1000, 10000, 100000, 1000000}) b->Args({batch, pool});
}

BENCHMARK_CAPTURE(BM_PickBatch, plain, false)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PickBatch, masked, true)->Args({100, 1000000})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kavrel

BENCHMARK_MAIN();
