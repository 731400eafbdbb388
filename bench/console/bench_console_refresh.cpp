// What the operator console costs the stage at a press late in a long evening: a plan of 1,200 batches
// of 10 and 10,000 winners recorded, then a press that starts the next roll. The console refreshes on
// the UI thread the stage rolls on, so its refresh is a stutter of the roll.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <random>
#include <string>

#include "console/operator_console_window.h"
#include "console/stage_link.h"
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
      std::filesystem::temp_directory_path() / ("kavrel_bench_console_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);
  std::string set;
  for (int i = 0; i < 20000; ++i) set += std::to_string(100000 + i) + Gb("  张三") + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kSetDat), set);
  std::string plan;
  for (int i = 0; i < 1200; ++i) plan += Gb("纪念奖") + std::to_string(i) + Gb(",10,1,1,10,奖品：纪念品,,") + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), plan);
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  settings.WriteBool(Gb("音效设置"), Gb("启用抽奖页面背景音乐"), false);
  return root;
}

void BM_ConsoleAtAPress(benchmark::State& st) {
  const auto root = MakeEvent();
  const ProgramDir dir(root);
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  {
    DrawSession session(prompter, sound, clock, dir);
    StageWindow stage(session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    StageLinkTo<StageWindow> link(stage);
    OperatorConsoleWindow console(session, link);
    // The stage stays hidden: what is timed is the console's refresh and paint alone.
    console.show();
    stage.StartUp();
    auto drawBatch = [&] {
      if (session.Draw().WinnersShown()) session.Start();  // the next batch is announced
      session.Start();
      session.Tick();
      session.Stop();
    };
    for (int b = 0; b < 1000; ++b) drawBatch();
    QApplication::processEvents();
    for (auto _ : st) {
      st.PauseTiming();
      drawBatch();
      QApplication::processEvents();
      session.Start();  // announces the next batch: one notice, one console refresh
      st.ResumeTiming();
      QApplication::processEvents();
    }
  }
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_ConsoleAtAPress)->Iterations(50)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kavrel
