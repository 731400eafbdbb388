// The list editor's workbook import (read, convert to the table's GB18030 texts) of 100,000
// rows x 3 columns in .xlsx, .ods, .csv and .xls (65,535 rows: all a BIFF8 sheet holds), and of
// 1,000,000 rows of .xlsx; then the same .xlsx and .csv read by Python's openpyxl (read-only)
// and csv module, and the peak memory of kavrel-sheet on the million-row workbook.
// The generated files live in a temporary folder under /tmp and are removed at the end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <string>

#include "lists/workbook/workbook_import.h"
#include "workbook_bench_files.h"

namespace kavrel {
namespace {

QTemporaryDir* gDir = nullptr;

std::string File(const char* name) {
  return gDir->filePath(QString::fromLatin1(name)).toStdString();
}

void BM_Import(benchmark::State& state, const char* name, int expectedRows) {
  const std::string path = File(name);
  for (auto _ : state) {
    ImportedSheet sheet = WorkbookImport::ReadSheet(path, 0, {}, nullptr);
    if (!sheet.ok || static_cast<int>(sheet.rows.size()) != expectedRows - 1) {
      state.SkipWithError(("import failed: " + sheet.error).c_str());
      return;
    }
    benchmark::DoNotOptimize(sheet.rows.data());
  }
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(expectedRows), benchmark::Counter::kIsIterationInvariantRate);
}

double SecondsOfOurs(const std::string& path) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const ImportedSheet sheet = WorkbookImport::ReadSheet(path, 0, {}, nullptr);
    benchmark::DoNotOptimize(sheet.rows.data());
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// Seconds Python takes inside the script (its start-up not counted); < 0 when it cannot run.
double SecondsOfPython(const char* script, const std::string& path) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(script), QString::fromStdString(path)});
    if (!python.waitForFinished(600000) || python.exitCode() != 0) return -1;
    best = std::min(best, python.readAllStandardOutput().trimmed().toDouble());
  }
  return best;
}

const char* kOpenpyxl =
    "import sys, time, openpyxl\n"
    "t = time.perf_counter()\n"
    "wb = openpyxl.load_workbook(sys.argv[1], read_only=True)\n"
    "rows = [[('' if v is None else str(v)) for v in r] for r in wb.worksheets[0].iter_rows(values_only=True)]\n"
    "print(time.perf_counter() - t)\n";
const char* kPythonCsv =
    "import sys, time, csv\n"
    "t = time.perf_counter()\n"
    "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f: rows = list(csv.reader(f))\n"
    "print(time.perf_counter() - t)\n";

void Compare(const char* what, const char* file, const char* script) {
  const double ours = SecondsOfOurs(File(file));
  const double theirs = SecondsOfPython(script, File(file));
  if (theirs < 0) {
    std::printf("%-40s ours %.3f s; python3 reader not available\n", what, ours);
    return;
  }
  std::printf("%-40s ours %.3f s, python3 %.3f s: %.1fx faster\n", what, ours, theirs, theirs / ours);
}

// kavrel-sheet over the million-row workbook as its own process: its peak resident memory is
// the import's, not the benchmark's (which holds the generated files too).
void PeakOfSheetTool(const char* what, const std::string& path) {
  std::fflush(stdout);  // or the child's copy of the buffer prints it twice
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);  // the refusals' messages
    execl(KAVREL_SHEET_EXE, "kavrel-sheet", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-40s %.2f s, peak memory %.0f MB, exit %d\n", what, seconds,
              static_cast<double>(usage.ru_maxrss) / 1024.0, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

}  // namespace
}  // namespace kavrel

int main(int argc, char** argv) {
  using namespace kavrel;
  // bench_workbook --write-files DIR: only writes the files, to time other readers against them.
  if (argc == 3 && std::string(argv[1]) == "--write-files") {
    const QString out = QString::fromLocal8Bit(argv[2]);
    bench::WriteBenchXlsx(out + QStringLiteral("/100k.xlsx"), 100000);
    bench::WriteBenchOds(out + QStringLiteral("/100k.ods"), 100000);
    bench::WriteBenchCsv(out + QStringLiteral("/100k.csv"), 100000);
    bench::WriteBenchXls(out + QStringLiteral("/65k.xls"), 65535);
    bench::WriteBenchXlsx(out + QStringLiteral("/1m.xlsx"), 1000000);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir(QStringLiteral("/tmp/kavrel-bench-workbook-XXXXXX"));
  gDir = &dir;
  bench::WriteBenchXlsx(dir.filePath(QStringLiteral("100k.xlsx")), 100000);
  bench::WriteBenchOds(dir.filePath(QStringLiteral("100k.ods")), 100000);
  bench::WriteBenchCsv(dir.filePath(QStringLiteral("100k.csv")), 100000);
  const bool haveXls = bench::WriteBenchXls(dir.filePath(QStringLiteral("65k.xls")), 65535);
  bench::WriteBenchXlsx(dir.filePath(QStringLiteral("1m.xlsx")), 1000000);

  benchmark::RegisterBenchmark("Import/xlsx/100000x3", BM_Import, "100k.xlsx", 100000)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Import/ods/100000x3", BM_Import, "100k.ods", 100000)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Import/csv/100000x3", BM_Import, "100k.csv", 100000)->Unit(benchmark::kMillisecond);
  if (haveXls)
    benchmark::RegisterBenchmark("Import/xls/65535x3", BM_Import, "65k.xls", 65535)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Import/xlsx/1000000x3", BM_Import, "1m.xlsx", 1000000)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(2);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nThe same files read by Python (best of 3, inside the script):\n");
  Compare("100,000 x 3 .xlsx vs openpyxl read-only", "100k.xlsx", kOpenpyxl);
  Compare("100,000 x 3 .csv vs csv module", "100k.csv", kPythonCsv);
  PeakOfSheetTool("kavrel-sheet 1,000,000 x 3 .xlsx", File("1m.xlsx"));
  // One stray cell at a far corner: refused (exit 1) without a grid to that corner.
  bench::WriteBenchXlsx(dir.filePath(QStringLiteral("corner.xlsx")), 0, "XFD1048576");
  bench::WriteBenchXlsx(dir.filePath(QStringLiteral("zz.xlsx")), 0, "ZZ100000");
  PeakOfSheetTool("kavrel-sheet, one cell at XFD1048576", File("corner.xlsx"));
  PeakOfSheetTool("kavrel-sheet, one cell at ZZ100000", File("zz.xlsx"));
  return 0;
}
