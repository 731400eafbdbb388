// One thumbnail of the stage (384 x 216) painted by the stage's own widgets, with the ready stage and
// with 100 candidates rolling, and what that costs the stage per second at the console's pace.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <filesystem>
#include <random>
#include <string>

#include "console/stage_thumbnail.h"
#include "engine/draw_session.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/stage_parts.h"

namespace kavrel {
namespace {

std::filesystem::path MakeEvent() {
  const auto root =
      std::filesystem::temp_directory_path() / ("kavrel_bench_thumbnail_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(root / "config");
  const ProgramDir dir(root);
  std::string set;
  for (int i = 0; i < 5000; ++i) set += std::to_string(100000 + i) + Gb("  张三  ") + "\r\n";
  WriteTextFile(dir.Path(ProgramDir::kSetDat), set);
  WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), Gb("一等奖,100,1,1,100,奖品：纪念品,,\r\n"));
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  settings.WriteText(Gb("标题设置"), Gb("主标题"), Gb("二〇二七年度盛典"));
  settings.WriteText(Gb("标题设置"), Gb("副标题"), Gb("幸运大抽奖"));
  settings.WriteBool(Gb("音效设置"), Gb("启用抽奖页面背景音乐"), false);
  return root;
}

void Thumbnails(benchmark::State& st, bool rolling) {
  const auto root = MakeEvent();
  const ProgramDir dir(root);
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
  {
    DrawSession session(prompter, sound, clock, dir);
    StageWindow stage(session, prompter, sound, clock, dir, [](const std::string&) { return true; });
    stage.show();
    stage.StartUp();
    if (rolling) {
      stage.RunCommand(StageCommand::Start);
      DrawTimerOf(stage)->stop();  // ticks are driven here, one per picture, as a busy roll would have them
    }
    QApplication::processEvents();
    const QSize size = stage.size().scaled(QSize(384, 216), Qt::KeepAspectRatio);
    double totalMs = 0;
    for (auto _ : st) {
      if (rolling) {
        st.PauseTiming();
        session.Tick();
        st.ResumeTiming();
      }
      QElapsedTimer timer;
      timer.start();
      benchmark::DoNotOptimize(RenderStageThumbnail(stage, size));
      totalMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    const double perPicture = totalMs / static_cast<double>(st.iterations());
    st.counters["stage_w"] = stage.width();
    st.counters["stage_h"] = stage.height();
    // The console waits NextThumbnailDelayMs after each picture: this is the stage's cost per second.
    st.counters["stage_ms_per_s"] = perPicture * 1000.0 / NextThumbnailDelayMs(perPicture);
  }
  std::filesystem::remove_all(root);
}

void BM_ThumbnailReadyStage(benchmark::State& st) {
  Thumbnails(st, false);
}
void BM_ThumbnailRollingHundred(benchmark::State& st) {
  Thumbnails(st, true);
}
BENCHMARK(BM_ThumbnailReadyStage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ThumbnailRollingHundred)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kavrel
