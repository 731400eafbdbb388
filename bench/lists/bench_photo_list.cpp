// The picture list editor's folder import: 10,000 photos listed, shown and saved. Nothing is decoded,
// so the photos' size does not matter: the 12-megapixel case lists 10,000 names of one 4000 x 3000
// JPEG (hard links) and costs the same as the case with small files.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <filesystem>
#include <random>
#include <string>

#include "lists/photo_list.h"
#include "lists/photo_list_window.h"
#include "stage/rolling_panel.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 10000;

fs::path Root() {
  static const fs::path root =
      fs::temp_directory_path() / ("kavrel_bench_photos_" + std::to_string(std::random_device{}()));
  return root;
}

// 10,000 photos in a folder: small JPEG files, or names of one 12-megapixel JPEG.
fs::path PhotoFolder(bool twelveMegapixels) {
  const fs::path folder = Root() / (twelveMegapixels ? "big" : "small");
  if (fs::exists(folder)) return folder;
  fs::create_directories(folder);
  QImage image(twelveMegapixels ? QSize(4000, 3000) : QSize(160, 120), QImage::Format_RGB32);
  image.fill(QColor(180, 40, 50));
  QPainter(&image).fillRect(QRect(QPoint(0, 0), image.size() / 2), QColor(240, 200, 80));
  const fs::path first = folder / "p00000.jpg";
  image.save(QString::fromStdString(first.string()), "JPG", 90);
  for (int i = 1; i < kPhotos; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%05d.jpg", i);
    if (twelveMegapixels)
      fs::create_hard_link(first, folder / name);
    else
      fs::copy_file(first, folder / name);
  }
  return folder;
}

void BM_ImportFolder(benchmark::State& state) {
  const fs::path folder = PhotoFolder(state.range(0) == 12);
  const ProgramDir dir(Root() / "app");
  dir.EnsureConfigDir();
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  ScriptedPrompter prompter;
  FakeClock clock;
  for (auto _ : state) {
    PhotoList list({dir, settings, prompter, clock, false, "", true});
    const auto outcome = list.ImportFolderFrom(GbPath(folder), true);
    if (list.Count() != kPhotos || !outcome.changed) state.SkipWithError("import incomplete");
  }
}
BENCHMARK(BM_ImportFolder)->Arg(0)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same through the window: the folder picked, the labels following the import, the list box
// filled, the first photo previewed.
void BM_ImportFolderInWindow(benchmark::State& state) {
  const fs::path folder = PhotoFolder(state.range(0) == 12);
  const ProgramDir dir(Root() / "app");
  dir.EnsureConfigDir();
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  ScriptedPrompter prompter;
  FakeClock clock;
  RecordingSoundPort sound;
  for (auto _ : state) {
    state.PauseTiming();
    PhotoListWindow window({dir, settings, prompter, clock, false, "", true}, sound, nullptr);
    window.show();
    QApplication::processEvents();
    prompter.ScriptPath(GbPath(folder));
    state.ResumeTiming();
    window.ImportPictures();
    QApplication::processEvents();
    if (window.findChild<QListWidget*>(QStringLiteral("列表框_名单"))->count() != kPhotos)
      state.SkipWithError("import incomplete");
  }
}
BENCHMARK(BM_ImportFolderInWindow)->Arg(0)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first frame of a roll of 40 photos when every photo is a 12-megapixel JPEG: each is decoded once,
// straight at the size it is painted at, the 40 on all cores at once (the later frames only paint, see
// bench_rolling_panel). The time is wall time; the CPU time counts every thread of the process.
void BM_RollFirstFrame40Of12Megapixels(benchmark::State& state) {
  const fs::path folder = PhotoFolder(true);
  RollingPanel panel;
  panel.resize(1720, 722);
  QImage target(panel.size(), QImage::Format_ARGB32_Premultiplied);
  int roll = 0;
  for (auto _ : state) {
    panel.PreparePictureRolling(40, true);
    panel.BeginTick();
    // Other photos each roll, so no decoded photo is reused from the roll before.
    for (int i = 1; i <= 40; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "p%05d.jpg", (roll * 40 + i) % kPhotos);
      panel.PaintCandidate(i, QStringLiteral("张三"), QString::fromStdString((folder / name).string()));
    }
    QPainter painter(&target);
    panel.PaintFrame(painter);
    ++roll;
  }
}
BENCHMARK(BM_RollFirstFrame40Of12Megapixels)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
}  // namespace kavrel

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(kavrel::Root());
  return 0;
}
