// A stop that records a batch of 100 when the result files already hold 10,000 winners: the batch
// is appended to the result files and the exit record (10,000 remaining entries) is kept current.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "engine/draw_controller.h"
#include "null_stage_hooks.h"
#include "storage/codec.h"
#include "storage/result_store.h"
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

void BM_StopRecordsBatch(benchmark::State& st) {
  const auto root =
      std::filesystem::temp_directory_path() / ("kavrel_bench_record_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);

  // 100 earlier batches of 100 winners: 10,000 winners in both result files.
  std::string dat, txt;
  for (int b = 0; b < 100; ++b) {
    if (b) dat += "\r\n";
    dat += Gb("奖项") + std::to_string(b) + "-" + Gb("奖品") + "-";
    txt +=
        "\r\n\r\n" + std::string(110, '-') + "\r\n\r\n" + Gb("2026年12月9日20时") + "\r\n\r\n" + Gb("【奖项】") + "\t";
    for (int i = 0; i < 100; ++i) {
      dat += Entry(b * 100 + i) + "-";
      txt += Entry(b * 100 + i) + "\t";
    }
    txt += "\r\n";
  }
  std::string set;
  for (int i = 10000; i < 20000; ++i) set += Entry(i) + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kSetDat), set);
  std::string plan;
  for (int i = 0; i < 50; ++i) plan += Gb("特等奖,5000,50,1,100,奖品：电视,,") + "\r\n";
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
  const auto fullPool = state.pool;
  const auto fullPlan = state.plan;
  const std::string receipts = ReadTextFile(dir.Path(ProgramDir::kReceiptsLog));

  for (auto _ : st) {
    st.PauseTiming();
    WriteTextFile(dir.Path(ProgramDir::kResultDat), dat);
    WriteTextFile(dir.Path(ProgramDir::kResultTxt), txt);
    WriteTextFile(dir.Path(ProgramDir::kReceiptsLog), receipts);  // the seal alone, as after the reset
    state.pool = fullPool;
    state.plan = fullPlan;
    // Each stop opens a line of its own, as in the files: the draw's winners kept in memory are not
    // rewound with the files, and one line extended at every iteration would grow without end.
    state.lastAwardName.clear();
    if (state.WinnersShown()) controller.StartPressed();  // back to the ready state
    controller.StartPressed();
    controller.RollTick();
    st.ResumeTiming();
    controller.StopPressed();
  }
  std::filesystem::remove_all(root);
}

BENCHMARK(BM_StopRecordsBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of that stop which reach the disk, each on its own.
void BM_StopParts(benchmark::State& st) {
  const auto root =
      std::filesystem::temp_directory_path() / ("kavrel_bench_parts_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);
  std::vector<std::string> winners, pool;
  for (int i = 0; i < 100; ++i) winners.push_back(Entry(i));
  for (int i = 0; i < 10000; ++i) pool.push_back(Entry(10000 + i));
  ExitRecord record;
  record.pool = pool;
  record.plan = std::vector<std::string>(50, Gb("特等奖,5000,50,1,100,奖品：电视,,"));
  record.lastAwardName = Gb("特等奖");
  record.batchNo = 1;
  record.drawnInAward = 100;
  for (int i = 0; i < 100; ++i) RecordBatch(dir, Gb("奖项"), Gb("奖品"), winners, i > 0, FakeClock().now);
  for (auto _ : st) {
    if (st.range(0) == 0)
      RecordBatch(dir, Gb("特等奖"), Gb("奖品"), winners, false, FakeClock().now);
    else
      WriteExitRecord(dir, record);
  }
  st.SetLabel(st.range(0) == 0 ? "RecordBatch" : "WriteExitRecord");
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_StopParts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A stop of 10 winners after `range(0)` batches were recorded by the same draw (result files and
// receipts grown by real stops), 200 batches before the plan's end: what the files' growth costs a
// stop late in a long evening.
void BM_StopAfterBatches(benchmark::State& st) {
  const auto root =
      std::filesystem::temp_directory_path() / ("kavrel_bench_after_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);
  const int before = static_cast<int>(st.range(0));
  std::string set;
  // The list grows with the batches before, so that the pool the measured stops draw from (and the
  // resume record holds) is 20,000 in both runs and only the files' growth differs.
  for (int i = 0; i < 20000 + 10 * before; ++i) set += Entry(i) + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kSetDat), set);
  std::string plan;
  for (int i = 0; i < before + 200; ++i)
    plan += Gb("奖项") + std::to_string(i) + Gb(",10,1,1,10,奖品：电视,,") + "\r\n";
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
  auto roll = [&] {
    if (state.WinnersShown()) controller.StartPressed();  // the next batch is announced
    controller.StartPressed();
    controller.RollTick();
  };
  for (int b = 0; b < before; ++b) {
    roll();
    controller.StopPressed();
  }
  for (auto _ : st) {
    st.PauseTiming();
    roll();
    st.ResumeTiming();
    controller.StopPressed();
  }
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_StopAfterBatches)->Arg(10)->Arg(1000)->Iterations(100)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kavrel

BENCHMARK_MAIN();
