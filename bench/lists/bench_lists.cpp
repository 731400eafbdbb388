// The list editor's long operations on a list of 1,000,000 participants: a GBK text import, the save
// (config\imdata.dat and config\set.dat), reopening from the snapshot, shuffle and de-duplication.
// Each reports the process's peak resident memory so far ("peak_MB"); run one benchmark alone
// (--benchmark_filter) to read the peak of that operation by itself.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <cstdio>

#include "lists/list_editor.h"
#include "lists/table_snapshot.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

constexpr int kRows = 1000000;

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A program folder and an editor on it; the prompter answers every box with its first button.
struct Bench {
  QTemporaryDir temp;
  ProgramDir dir{std::filesystem::path(temp.path().toStdString())};
  ScriptedPrompter prompter;
  FakeClock clock;
  bool drawStarted = false;
  FindState find;
  InlineRunner runner;
  ListEditor editor{ListEditorContext{dir, prompter, clock, drawStarted, find}, runner};
  Bench() { dir.EnsureConfigDir(); }
};

// "13812340000  张三 …" lines in GBK with CR LF, about 24 MB.
std::string GbkListText() {
  const std::string names[] = {Gb("张伟"), Gb("王芳"), Gb("李娜"), Gb("刘洋"), Gb("陈静")};
  std::string text;
  text.reserve(static_cast<std::size_t>(kRows) * 24);
  char number[16];
  for (int i = 0; i < kRows; ++i) {
    std::snprintf(number, sizeof number, "138%08d", i);
    text += number;
    text += "  ";
    text += names[i % 5];
    text += "\r\n";
  }
  return text;
}

// A table of 1,000,000 rows × 3 data columns (staff number, name, department), 1% duplicated.
void FillThreeColumns(ListTable& t) {
  const std::string names[] = {Gb("张伟"), Gb("王芳"), Gb("李娜"), Gb("刘洋"), Gb("陈静")};
  const std::string depts[] = {Gb("市场部"), Gb("研发部"), Gb("财务部")};
  t.Resize(kRows + 1, 4);
  t.SetCell(0, 0, Gb("序号"));
  t.SetCell(0, 1, Gb("工号"));
  t.SetCell(0, 2, Gb("姓名"));
  t.SetCell(0, 3, Gb("部门"));
  for (int r = 1; r <= kRows; ++r) {
    const int id = r % 100 == 0 ? r - 1 : r;
    t.SetCell(r, 1, "E" + std::to_string(1000000 + id));
    t.SetCell(r, 2, names[id % 5]);
    t.SetCell(r, 3, depts[id % 3]);
  }
  t.RenumberRows();
  FormatListTable(t, 0, 0, kRows, 3);
}

void BM_ImportGbkText(benchmark::State& st) {
  Bench b;
  const auto file = b.dir.Root() / "list.txt";
  WriteTextFile(file, GbkListText());
  for (auto _ : st) {
    if (!b.editor.ImportTextFile(GbPath(file)) || b.editor.Table().DataRowCount() != kRows)
      st.SkipWithError("import failed");
  }
  st.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ImportGbkText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_SaveThreeColumns(benchmark::State& st) {
  Bench b;
  FillThreeColumns(b.editor.Table());
  b.editor.SetAutoDedupe(false);
  int round = 0;
  for (auto _ : st) {
    // Every save but the first replaces a different list, which is first kept in history/.
    b.editor.Table().SetCell(1, 2, Gb("张伟") + std::to_string(++round));
    b.prompter.ScriptText("2-3-4");
    if (!b.editor.Save()) st.SkipWithError("save failed");
  }
  st.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_SaveThreeColumns)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ReopenThreeColumns(benchmark::State& st) {
  Bench b;
  {
    ListTable t;
    FillThreeColumns(t);
    WriteTextFile(b.dir.Path(ProgramDir::kImDataDat), EncodeSnapshot(t));
  }
  for (auto _ : st) {
    ListEditor editor{ListEditorContext{b.dir, b.prompter, b.clock, b.drawStarted, b.find}, b.runner};
    editor.Open();
    if (editor.Table().DataRowCount() != kRows) st.SkipWithError("reopen failed");
  }
  st.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ReopenThreeColumns)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Shuffle(benchmark::State& st) {
  Bench b;
  WriteTextFile(b.dir.Root() / "list.txt", GbkListText());
  b.editor.ImportTextFile(GbPath(b.dir.Root() / "list.txt"));
  for (auto _ : st) b.editor.Shuffle();
  st.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_Shuffle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_DeleteDuplicatesThreeColumns(benchmark::State& st) {
  for (auto _ : st) {
    st.PauseTiming();
    auto b = std::make_unique<Bench>();
    FillThreeColumns(b->editor.Table());
    st.ResumeTiming();
    b->editor.DeleteDuplicateRows();
    st.PauseTiming();
    if (b->editor.Table().DataRowCount() != kRows - kRows / 100) st.SkipWithError("wrong count");
    b.reset();
    st.ResumeTiming();
  }
  st.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_DeleteDuplicatesThreeColumns)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace kavrel

BENCHMARK_MAIN();
