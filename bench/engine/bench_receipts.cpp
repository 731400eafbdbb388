// The receipts' cost: a stop that draws its committed pick and appends its receipt (the log rewritten
// whole), and kavrel-verify replaying a whole draw. The folders live in /dev/shm where there is one:
// what is measured is our work, not the disk's flushes (bench_record has those).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "engine/draw_controller.h"
#include "null_stage_hooks.h"
#include "storage/codec.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "verify/draw_verifier.h"

namespace kavrel {
namespace {

// A program folder with `participants` entries and `batches` batches of 100, drawn through the
// controller so the receipts are the real ones.
class DrawnFolder {
 public:
  DrawnFolder(int participants, int batches)
      : root_((std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path()) /
              ("kavrel_bench_receipts_" + std::to_string(std::random_device{}()))),
        dir_(root_) {
    std::filesystem::create_directories(root_ / "config");
    std::string set;
    char buf[32];
    for (int i = 0; i < participants; ++i) {
      std::snprintf(buf, sizeof buf, "1381234%04d  ", i);
      set += buf + Gb("选手") + std::to_string(i) + "\r\n";
    }
    WriteTextFile(dir_.Path(ProgramDir::kSetDat), set);
    std::string plan;
    for (int i = 0; i < batches + 2; ++i) plan += Gb("特等奖,10000,100,1,100,奖品：电视,,") + "\r\n";
    WriteTextFile(dir_.Path(ProgramDir::kBatchPlanDat), plan);
    controller_.ResetDraw();
    for (int b = 0; b < batches; ++b) Batch();
  }
  ~DrawnFolder() { std::filesystem::remove_all(root_); }

  void Batch() {
    controller_.StartPressed();
    clock_.ms += 7;
    controller_.RollTick();
    controller_.StopPressed();
    controller_.StartPressed();
  }
  const std::filesystem::path& Root() const { return root_; }
  const ProgramDir& Dir() const { return dir_; }
  DrawState& State() { return state_; }

 private:
  std::filesystem::path root_;
  ProgramDir dir_;
  FakeClock clock_;
  ScriptedPrompter prompter_;
  RecordingSoundPort sound_;
  NullStageHooks stage_;
  DrawState state_;
  DrawOptions options_;
  DrawMode mode_;
  DrawController controller_{state_, options_, mode_, stage_, prompter_, sound_, clock_, dir_};
};

// A stop with the receipt: 200 receipts (20,000 winners) already in the log, a pool of 100,000.
void BM_StopWithReceipt(benchmark::State& st) {
  DrawnFolder folder(static_cast<int>(st.range(0)), 200);
  const std::string dat = ReadTextFile(folder.Dir().Path(ProgramDir::kResultDat));
  const std::string txt = ReadTextFile(folder.Dir().Path(ProgramDir::kResultTxt));
  const std::string log = ReadTextFile(folder.Dir().Path(ProgramDir::kReceiptsLog));
  const auto pool = folder.State().pool;
  const auto plan = folder.State().plan;
  for (auto _ : st) {
    st.PauseTiming();
    WriteTextFile(folder.Dir().Path(ProgramDir::kResultDat), dat);
    WriteTextFile(folder.Dir().Path(ProgramDir::kResultTxt), txt);
    WriteTextFile(folder.Dir().Path(ProgramDir::kReceiptsLog), log);
    folder.State().pool = pool;
    folder.State().plan = plan;
    st.ResumeTiming();
    folder.Batch();
  }
  st.SetLabel(std::to_string(st.range(0)) + " participants, 200 batches in the log");
}
// The same stop with no log to append to: the difference is the receipt's own cost (the rest is the
// result files and the resume record).
void BM_StopWithoutReceipt(benchmark::State& st) {
  DrawnFolder folder(static_cast<int>(st.range(0)), 200);
  const std::string dat = ReadTextFile(folder.Dir().Path(ProgramDir::kResultDat));
  const std::string txt = ReadTextFile(folder.Dir().Path(ProgramDir::kResultTxt));
  std::filesystem::remove(folder.Dir().Path(ProgramDir::kReceiptsLog));
  const auto pool = folder.State().pool;
  const auto plan = folder.State().plan;
  for (auto _ : st) {
    st.PauseTiming();
    WriteTextFile(folder.Dir().Path(ProgramDir::kResultDat), dat);
    WriteTextFile(folder.Dir().Path(ProgramDir::kResultTxt), txt);
    folder.State().pool = pool;
    folder.State().plan = plan;
    st.ResumeTiming();
    folder.Batch();
  }
}
BENCHMARK(BM_StopWithoutReceipt)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StopWithReceipt)->Arg(100000)->Iterations(30)->Unit(benchmark::kMillisecond)->UseRealTime();

// kavrel-verify's work on a draw of 200 batches of 100 over `participants`.
void BM_VerifyDraw(benchmark::State& st) {
  DrawnFolder folder(static_cast<int>(st.range(0)), 200);
  for (auto _ : st) {
    const VerifyReport report = VerifyDraw(EvidenceIn(folder.Root()));
    // The draw is still open (batches are left), so the best it can be is verified but not closed.
    if (report.outcome != VerifyOutcome::NotClosed) st.SkipWithError(ReportLine(report).c_str());
    benchmark::DoNotOptimize(report.winners);
  }
  st.SetLabel(std::to_string(st.range(0)) + " participants, 200 batches of 100");
}
BENCHMARK(BM_VerifyDraw)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kavrel

BENCHMARK_MAIN();
