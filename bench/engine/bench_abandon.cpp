// Giving up 10 winners of an award whose result line already holds 10,000 winners (the worst case:
// every mark rewrites that long line), with the 10 returned to a pool of 10,000, a redraw queued and
// the resume record kept current, as the stage does after the abandon window closes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "engine/abandon.h"
#include "engine/draw_controller.h"
#include "null_stage_hooks.h"
#include "storage/codec.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

std::string Entry(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "1381234%04d", i);
  return buf;
}

void BM_AbandonTenOfTenThousand(benchmark::State& st) {
  const auto root =
      std::filesystem::temp_directory_path() / ("kavrel_bench_abandon_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);

  // 100 batches of 100 winners of one award: one result.dat line of 10,000, 100 result.txt blocks.
  std::string dat = Gb("特等奖-奖品-"), txt;
  for (int b = 0; b < 100; ++b) {
    txt += "\r\n\r\n" + std::string(110, '-') + "\r\n\r\n" + Gb("2026年12月9日20时") + "\r\n\r\n" + Gb("【特等奖】") +
           "\t";
    for (int i = 0; i < 100; ++i) {
      dat += Entry(b * 100 + i) + "-";
      txt += Entry(b * 100 + i) + "\t";
    }
    txt += "\r\n";
  }
  std::string set;
  for (int i = 0; i < 20000; ++i) set += Entry(i) + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kSetDat), set);
  std::string plan;
  for (int i = 0; i < 50; ++i) plan += Gb("一等奖,5000,50,1,100,奖品：电视,,") + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), plan);

  FakeClock clock;
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  NullStageHooks stage;
  DrawState state;
  DrawOptions options;
  DrawMode mode;
  DrawController controller(state, options, mode, stage, prompter, sound, clock, dir);
  controller.ResetDraw();
  state.pool.erase(state.pool.begin(), state.pool.begin() + 10000);  // the winners left the pool
  state.drawStarted = true;
  const auto pool = state.pool;
  const auto fullPlan = state.plan;

  AbandonRequest request;
  request.awardName = Gb("特等奖");
  request.prizeName = Gb("奖品");
  for (int i = 0; i < 10; ++i) request.entries.push_back(Entry(i * 997));  // spread over the line
  request.redraw = true;
  request.quotaText = "10";
  request.batchText = "1";

  for (auto _ : st) {
    st.PauseTiming();
    WriteTextFile(dir.Path(ProgramDir::kResultDat), dat);
    WriteTextFile(dir.Path(ProgramDir::kResultTxt), txt);
    state.pool = pool;
    state.plan = fullPlan;
    st.ResumeTiming();
    const AbandonOutcome outcome = Abandon(request, state, options, dir, prompter);
    if (outcome.abandoned.size() != 10) st.SkipWithError("not every winner was marked");
    controller.ShowReadyState();
  }
  std::filesystem::remove_all(root);
}

BENCHMARK(BM_AbandonTenOfTenThousand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kavrel

BENCHMARK_MAIN();
