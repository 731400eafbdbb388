// The winner show at 1920 x 1080 with 2,000 winners: opening (compose and measure once) and one
// 30 ms scroll step including the repaint it causes; a step must stay far below 30 ms. And the
// non-winner list of a large pool.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <memory>

#include "results/result_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/stage_settings.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"

namespace {

using namespace kavrel;

struct Event {
  QTemporaryDir tmp;
  ProgramDir dir{std::filesystem::path(tmp.path().toStdString())};
  RecordingSoundPort sound;
  FakeClock clock;
  SoundSettings settings;
  StageTitles titles{Gb("2026年度盛典"), Gb("幸运大抽奖")};
  std::vector<std::string> pool;
  std::vector<ResultLine> winners;

  Event() {
    std::filesystem::create_directories(dir.Path(ProgramDir::kConfigDir));
    std::string text;
    for (int award = 0; award < 20; ++award) {
      if (award) text += "\r\n";
      text += Gb("纪念奖") + std::to_string(award) + "-" + Gb("奖品：精美礼品一份") + "-";
      for (int k = 0; k < 100; ++k) text += Gb("员工") + std::to_string(award * 100 + k) + "-";
    }
    std::ofstream(dir.Path(ProgramDir::kResultDat), std::ios::binary) << text;
  }

  std::unique_ptr<ResultWindow> Open() {
    winners = LoadResultLog(dir);
    return std::make_unique<ResultWindow>(ResultViewMode::WinnerShow, sound, clock, settings, titles,
                                          CurrentResults{winners, pool, {}}, nullptr, QRect(0, 0, 1920, 1080));
  }
};

void BM_WinnerShowOpen(benchmark::State& state) {
  Event event;
  for (auto _ : state) {
    auto window = event.Open();
    benchmark::DoNotOptimize(window.get());
  }
}
BENCHMARK(BM_WinnerShowOpen)->Unit(benchmark::kMillisecond);

void BM_WinnerShowScrollStep(benchmark::State& state) {
  Event event;
  auto window = event.Open();
  window->show();
  QApplication::processEvents();
  for (auto _ : state) {
    window->ScrollTick();
    QApplication::processEvents();  // the repaint of the area the list left and entered
  }
}
BENCHMARK(BM_WinnerShowScrollStep)->Unit(benchmark::kMicrosecond);

// The non-winner list of a large event: 100,000 entries still in the pool.
void BM_NonWinnerListOpen(benchmark::State& state) {
  Event event;
  for (int i = 0; i < 100000; ++i) event.pool.push_back(std::to_string(1000000 + i) + Gb("  张三"));
  for (auto _ : state) {
    ResultWindow window(ResultViewMode::NonWinnerList, event.sound, event.clock, event.settings, event.titles,
                        {event.winners, event.pool, {}}, nullptr, QRect(0, 0, 1920, 1080));
    window.show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_NonWinnerListOpen)->Unit(benchmark::kMillisecond);

}  // namespace
