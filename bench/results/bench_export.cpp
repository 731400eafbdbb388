// Exporting an event of 10,000 winners to .xlsx and .csv (target: 1 s each), and opening the history
// window over 500 draws put aside (target: 0.5 s).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "results/export/winner_export.h"
#include "results/history_window.h"
#include "storage/codec.h"
#include "storage/draw_history.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace {

using namespace kavrel;

// 40 awards of 250 winners, each entry a staff number and a name, every tenth abandoned, one batch of
// 50 per block of result.txt.
void WriteEvent(const std::filesystem::path& dat, const std::filesystem::path& txt, int awards, int perAward) {
  std::string log;
  std::string blocks;
  const std::string separator(110, '-');
  for (int a = 0; a < awards; ++a) {
    if (a) log += "\r\n";
    const std::string award = Gb("纪念奖") + std::to_string(a);
    log += award + "-" + Gb("奖品：精美礼品一份") + "-";
    for (int k = 0; k < perAward; ++k) {
      if (k % 50 == 0)
        blocks += "\r\n\r\n" + separator + "\r\n\r\n" + Gb("2026年12月9日20时5分9秒") + "\r\n\r\n" + Gb("【") + award +
                  Gb("】") + "\t";
      std::string entry = std::to_string(100000 + a * perAward + k) + "  " + Gb("员工姓名") + "  ";
      if (k % 10 == 3) entry += Gb("(已弃奖)");
      log += entry + "-";
      blocks += entry + "\t";
      if (k % 50 == 49) blocks += "\r\n";
    }
  }
  WriteTextFile(dat, log);
  WriteTextFile(txt, blocks);
}

WinnerTable BigTable() {
  QTemporaryDir tmp;
  const std::filesystem::path root(tmp.path().toStdString());
  WriteEvent(root / "result.dat", root / "result.txt", 40, 250);
  return LoadWinnerTable(HistoryDraw(root), Gb("2026年度盛典"), Gb("幸运大抽奖"));
}

void BM_ReadWinnerTable10000(benchmark::State& state) {
  QTemporaryDir tmp;
  const std::filesystem::path root(tmp.path().toStdString());
  WriteEvent(root / "result.dat", root / "result.txt", 40, 250);
  for (auto _ : state) benchmark::DoNotOptimize(LoadWinnerTable(HistoryDraw(root), "", "").rows.size());
}
BENCHMARK(BM_ReadWinnerTable10000)->Unit(benchmark::kMillisecond);

void Export(benchmark::State& state, ExportFormat format, const char* name) {
  const WinnerTable table = BigTable();
  QTemporaryDir tmp;
  const QString target = tmp.filePath(QString::fromLatin1(name));
  for (auto _ : state) {
    if (!ExportWinners(table, format, target).ok) state.SkipWithError("export failed");
  }
}

void BM_ExportXlsx10000(benchmark::State& state) {
  Export(state, ExportFormat::Xlsx, "w.xlsx");
}
BENCHMARK(BM_ExportXlsx10000)->Unit(benchmark::kMillisecond);

void BM_ExportCsv10000(benchmark::State& state) {
  Export(state, ExportFormat::Csv, "w.csv");
}
BENCHMARK(BM_ExportCsv10000)->Unit(benchmark::kMillisecond);

// The whole opening of the window: every folder read, the list filled and shown.
void BM_HistoryWindowOpen500(benchmark::State& state) {
  QTemporaryDir tmp;
  const ProgramDir dir(std::filesystem::path(tmp.path().toStdString()));
  dir.EnsureConfigDir();
  for (int i = 0; i < 500; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "2026%02d%02d-%02d%02d%02d", 1 + i / 60, 1 + i % 28, i % 24, i % 60, i % 60);
    const auto folder = dir.Path(ProgramDir::kHistoryDir) / name;
    std::filesystem::create_directories(folder);
    WriteEvent(folder / "result.dat", folder / "result.txt", 10, 20);
    WriteTextFile(folder / "draw.ini", "[history]\r\nreason=restart\r\n");
  }
  ScriptedPrompter prompter;
  FakeClock clock;
  for (auto _ : state) {
    HistoryWindow window(dir, prompter, clock, {});
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.draws().size());
  }
}
BENCHMARK(BM_HistoryWindowOpen500)->Unit(benchmark::kMillisecond);

}  // namespace
