// Start-up to the ready stage with 100,000 participants and 200 batches: the stage window is built,
// shown offscreen and runs its start-up sequence (settings, pool, plan, first batch announced, layout).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <QApplication>
#include <filesystem>
#include <random>
#include <string>

#include "engine/draw_session.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

std::filesystem::path MakeEvent() {
  const auto root =
      std::filesystem::temp_directory_path() / ("kavrel_bench_startup_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);
  std::string set;
  set.reserve(100000 * 20);
  for (int i = 0; i < 100000; ++i) set += std::to_string(100000 + i) + Gb("  张三  ") + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kSetDat), set);
  std::string plan;
  for (int award = 0; award < 40; ++award)
    for (int k = 1; k <= 5; ++k)
      plan +=
          Gb("奖项") + std::to_string(award) + ",50,5," + std::to_string(k) + ",10," + Gb("奖品：纪念品") + ",,\r\n";
  WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), plan);
  return root;
}

void BM_StartUpToReadyStage(benchmark::State& st) {
  const auto root = MakeEvent();
  const ProgramDir dir(root);
  for (auto _ : st) {
    ScriptedPrompter prompter;
    RecordingSoundPort sound;
    FakeClock clock;
    DrawSession session(prompter, sound, clock, dir);
    StageWindow stage(session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage.setGeometry(0, 0, 1920, 1080);
    stage.show();
    stage.StartUp();
    QApplication::processEvents();
    benchmark::DoNotOptimize(session.Sounds());
  }
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_StartUpToReadyStage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same with a main title, subtitle, marquee and prize of 100,000 characters each: what the stage
// measures and paints is capped, so start-up stays as fast and small as with ordinary texts.
void BM_StartUpWithHugeTexts(benchmark::State& st) {
  const auto root = MakeEvent();
  const ProgramDir dir(root);
  std::string huge;
  for (int i = 0; i < 100000; ++i) huge += Gb("奖");
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  for (const char* key : {"主标题", "副标题", "字幕区文字"}) settings.WriteText(Gb("标题设置"), Gb(key), huge);
  WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), Gb("一等奖,1,1,1,1,") + huge + ",,\r\n");
  for (auto _ : st) {
    ScriptedPrompter prompter;
    RecordingSoundPort sound;
    FakeClock clock;
    DrawSession session(prompter, sound, clock, dir);
    StageWindow stage(session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage.setGeometry(0, 0, 1920, 1080);
    stage.show();
    stage.StartUp();
    QApplication::processEvents();
    benchmark::DoNotOptimize(session.Sounds());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  st.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_StartUpWithHugeTexts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace kavrel
