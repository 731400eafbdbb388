// The crash soak: a child process runs whole draws through the engine (with the recording stage
// hooks, a prompter that answers yes and a still clock) and is killed with SIGKILL, either after a
// random short time or at the Nth file replacement (just before or just after the rename that makes
// a new file version visible). After every kill a second child starts the program again on the same
// folder, takes the resume, and checks what a hall full of people relies on:
//   - every file decodes (result.dat, result.txt, the resume record, the plan),
//   - result.dat and result.txt name the same winners for the same awards,
//   - nobody is drawn twice and nobody is lost: the pool plus the winners is the list,
//   - the winners plus the quota still to draw is the plan's total,
//   - a finished draw moved to history holds the whole plan's winners.
//
// Usage: kavrel_soak [cycles] [seed]        (defaults: 3000 cycles, seed from the clock)
// Exit status 0 when every check held; otherwise the folder of the failing cycle is kept.

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/draw_controller.h"
#include "engine/draw_texts.h"
#include "storage/award_store.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/split_text.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/recording_stage_hooks.h"
#include "support/fakes/scripted_prompter.h"

namespace {

// Set in a drawing child: the rename (a file replaced whole) at which it kills itself, 0 for none.
int killAtRename = 0;
bool killBeforeRename = false;
int renames = 0;

}  // namespace

// Every whole-file write ends in rename() (QSaveFile::commit): this executable's own definition is
// found before the C library's, so a drawing child can die exactly around one.
extern "C" int rename(const char* from, const char* to) {
  using RenameFn = int (*)(const char*, const char*);
  static const auto real = reinterpret_cast<RenameFn>(dlsym(RTLD_NEXT, "rename"));
  const bool dieHere = killAtRename > 0 && ++renames == killAtRename;
  if (dieHere && killBeforeRename) raise(SIGKILL);
  const int result = real(from, to);
  if (dieHere) raise(SIGKILL);
  return result;
}

namespace kavrel {
namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 60;

struct Award {
  const char* name;
  int batches;
  int batchSize;
};
// Eighteen batches, 35 winners out of 60: several awards of several batches, so kills land inside
// an award, between awards and on the last batch.
constexpr Award kAwards[] = {{"三等奖", 10, 2}, {"二等奖", 5, 2}, {"一等奖", 2, 2}, {"特等奖", 1, 1}};

constexpr int kLargestBatch = 2;

int TotalQuota() {
  int total = 0;
  for (const Award& a : kAwards) total += a.batches * a.batchSize;
  return total;
}

std::vector<std::string> TheList() {
  std::vector<std::string> list;
  char entry[16];
  for (int i = 1; i <= kEntries; ++i) {
    std::snprintf(entry, sizeof entry, "%04d", i);
    list.push_back(entry + Gb("  选手") + std::to_string(i));
  }
  return list;
}

bool PrepareEvent(const ProgramDir& dir) {
  std::string list;
  for (const std::string& entry : TheList()) list += entry + "\r\n";
  std::string plan;
  for (const Award& a : kAwards)
    for (int b = 1; b <= a.batches; ++b)
      plan += Gb(a.name) + "," + std::to_string(a.batches * a.batchSize) + "," + std::to_string(a.batches) + "," +
              std::to_string(b) + "," + std::to_string(a.batchSize) + "," + Gb("奖品：纪念品") + ",,\r\n";
  Settings config(dir.Path(ProgramDir::kConfigIni));
  return WriteTextFile(dir.Path(ProgramDir::kSetDat), list) &&
         WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), plan) &&
         config.WriteText(Gb("标题设置"), Gb("中奖名额"), std::to_string(TotalQuota()));
}

// The engine over fakes of every port, as the program builds it at start-up.
struct Program {
  explicit Program(const ProgramDir& d, std::uint32_t seed) : dir(d) {
    clock.ms = seed;
    controller = std::make_unique<DrawController>(state, options, mode, stage, prompter, sound, clock, dir);
  }
  ProgramDir dir;
  FakeClock clock;
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  RecordingStageHooks stage;
  DrawState state;
  DrawOptions options;
  DrawMode mode;
  std::unique_ptr<DrawController> controller;
};

// A drawing child: starts up (taking the resume when offered) and presses through the whole plan.
[[noreturn]] void DrawChild(const ProgramDir& dir, std::uint32_t seed) {
  Program program(dir, seed);
  DrawController& ctl = *program.controller;
  ctl.StartUp();
  for (int presses = 0; presses < 200 && !program.state.plan.empty(); ++presses) {
    ctl.StartPressed();  // starts a roll, or announces the next batch after a stop
    if (!program.stage.timerRunning) continue;
    for (int tick = 0; tick < 3; ++tick) {
      ++program.clock.ms;
      ctl.RollTick();
    }
    ctl.StopPressed();
  }
  _exit(program.state.plan.empty() ? 0 : 3);
}

// One award and winner pair per winner, as result.dat records them.
using Winners = std::multiset<std::pair<std::string, std::string>>;

Winners FromResultDat(const std::vector<ResultLine>& log) {
  Winners out;
  for (const ResultLine& line : log)
    for (const std::string& w : line.winners) out.emplace(line.awardName, w);
  return out;
}

// result.txt: one block per batch, its winners on the line "【award】\tw1\tw2\t".
Winners FromResultTxt(const std::string& text) {
  Winners out;
  const std::string open = Gb("【"), close = Gb("】");
  for (const std::string& line : SplitText(text, "\r\n")) {
    if (line.rfind(open, 0) != 0) continue;
    const std::size_t end = line.find(close);
    if (end == std::string::npos) continue;
    const std::string award = line.substr(open.size(), end - open.size());
    std::vector<std::string> fields = SplitText(line.substr(end + close.size()), "\t");
    for (const std::string& w : fields)
      if (!w.empty()) out.emplace(award, w);
  }
  return out;
}

std::vector<std::string> failures;
void Check(bool ok, const std::string& what) {
  if (!ok) failures.push_back(what);
}

// The result files of one folder (the program's own, or a copy kept in history): they decode, they
// agree, and nobody is in them twice or from outside the list.
Winners CheckResultFiles(const std::string& where, const std::string& dat, const std::string& txt,
                         bool mustAgree = true) {
  // LoadResultLog reads config\result.dat of a program folder: give it a scratch one.
  const fs::path scratch = fs::temp_directory_path() / ("kavrel_soak_read_" + std::to_string(getpid()));
  fs::create_directories(scratch / "config");
  const ProgramDir scratchDir(scratch);
  WriteTextFile(scratchDir.Path(ProgramDir::kResultDat), dat);
  const std::vector<ResultLine> log = LoadResultLog(scratchDir);
  fs::remove_all(scratch);

  const Winners fromDat = FromResultDat(log);
  const Winners fromTxt = FromResultTxt(txt);
  Check(dat.empty() || !log.empty(), where + ": result.dat does not decode");
  Check(!mustAgree || fromDat == fromTxt, where + ": result.dat and result.txt disagree (" +
                                              std::to_string(fromDat.size()) + " against " +
                                              std::to_string(fromTxt.size()) + " winners)");
  const std::vector<std::string> list = TheList();
  const std::set<std::string> listed(list.begin(), list.end());
  std::set<std::string> seen;
  for (const auto& [award, winner] : fromDat) {
    Check(listed.count(winner) == 1, where + ": a winner who is not on the list: " + winner);
    Check(seen.insert(winner).second, where + ": drawn twice: " + winner);
  }
  return fromDat;
}

int QuotaOf(const std::vector<std::string>& planLines) {
  int quota = 0;
  for (const std::string& line : planLines) {
    const std::vector<std::string> fields = SplitText(line, ",");
    if (fields.size() > 4) quota += std::atoi(fields[4].c_str());
  }
  return quota;
}

// A checking child: the program starts again on the folder a kill left behind.
[[noreturn]] void CheckChild(const ProgramDir& dir, const fs::path& root) {
  const bool hadRecord = FileExists(dir.Path(ProgramDir::kExitIni));
  if (hadRecord) Check(ReadExitRecord(dir).has_value(), "the resume record does not decode");
  Check(LoadPool(dir).has_value(), "the list does not decode");
  Check(!LoadPlan(dir).empty(), "the plan does not decode");

  Program program(dir, 1);
  program.controller->StartUp();
  bool resumed = false;
  for (const auto& shown : program.prompter.shown()) {
    if (shown.text == Gb(texts::kResumeQuestion))
      resumed = true;
    else
      Check(false, "the start-up showed an unexpected message: " + ToQt(shown.text).toStdString());
  }
  Check(resumed == hadRecord, "a resume record was left but no resume was offered, or the other way round");

  const Winners winners = CheckResultFiles("after the resume", ReadTextFile(dir.Path(ProgramDir::kResultDat)),
                                           ReadTextFile(dir.Path(ProgramDir::kResultTxt)));
  std::vector<std::string> everyone = program.state.pool;
  for (const auto& [award, winner] : winners) everyone.push_back(winner);
  std::vector<std::string> list = TheList();
  std::sort(everyone.begin(), everyone.end());
  std::sort(list.begin(), list.end());
  Check(everyone == list, "the pool plus the winners is not the list (" + std::to_string(everyone.size()) + " of " +
                              std::to_string(list.size()) + ")");
  Check(static_cast<int>(winners.size()) + QuotaOf(program.state.plan) == TotalQuota(),
        "the winners plus the quota left is not the plan's total");

  // A draw that was not resumed went to history: a finished one holds every winner; one killed
  // inside its first stop (before any resume record existed) holds that batch at most.
  std::error_code ec;
  for (const auto& kept : fs::directory_iterator(root / "history", ec)) {
    const std::string where = "history " + kept.path().filename().string();
    const std::string dat = ReadTextFile(kept.path() / "result.dat");
    const std::string txt = ReadTextFile(kept.path() / "result.txt");
    // A kill inside the first stop, between its two result files, leaves no resume record: the batch
    // was never confirmed and the next start begins afresh, keeping the half-written pair as it was.
    const Winners asFound = CheckResultFiles(where, dat, txt, false);
    const bool finished = asFound.size() == static_cast<std::size_t>(TotalQuota());
    // The copy a resume keeps before it takes back the batch the record missed: the resumed results
    // plus that one batch, which a kill between the two files' renames may have left in one of them.
    const bool copyBeforeTrim = dat.starts_with(ReadTextFile(dir.Path(ProgramDir::kResultDat))) &&
                                asFound.size() > winners.size() &&
                                asFound.size() - winners.size() <= static_cast<std::size_t>(kLargestBatch);
    const Winners old = CheckResultFiles(where, dat, txt, finished && !copyBeforeTrim);
    Check(finished || copyBeforeTrim || static_cast<int>(old.size()) <= kAwards[0].batchSize,
          where + ": a draw put aside with " + std::to_string(old.size()) + " winners");
  }
  for (const std::string& f : failures) std::fprintf(stderr, "soak: %s\n", f.c_str());
  _exit(failures.empty() ? 0 : 1);
}

int WaitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

int Run(int cycles, std::uint32_t seed) {
  std::mt19937 random(seed);
  const fs::path root = fs::temp_directory_path() / ("kavrel_soak_" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "config");
  const ProgramDir dir(root);
  if (!PrepareEvent(dir)) {
    std::fprintf(stderr, "soak: cannot write the event into %s\n", root.c_str());
    return 2;
  }

  const auto began = std::chrono::steady_clock::now();
  int killedAtRename = 0, killedAfterTime = 0, finished = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    const bool byRename = random() % 2 == 0;
    const int renameNo = 1 + static_cast<int>(random() % 60);
    const bool before = random() % 2 == 0;
    const int delayUs = static_cast<int>(random() % 20000);
    const std::uint32_t childSeed = random();

    const pid_t drawer = fork();
    if (drawer == 0) {
      if (byRename) {
        killAtRename = renameNo;
        killBeforeRename = before;
      }
      DrawChild(dir, childSeed);
    }
    if (!byRename) {
      usleep(static_cast<useconds_t>(delayUs));
      kill(drawer, SIGKILL);
    }
    const int drawn = WaitFor(drawer);
    if (drawn == 128 + SIGKILL)
      (byRename ? killedAtRename : killedAfterTime) += 1;
    else if (drawn == 0)
      ++finished;
    else {
      std::fprintf(stderr, "soak: cycle %d: the drawing child ended with %d\n", cycle, drawn);
      return 1;
    }

    const pid_t checker = fork();
    if (checker == 0) CheckChild(dir, root);
    if (WaitFor(checker) != 0) {
      std::fprintf(stderr, "soak: cycle %d failed (%s, rename %d %s, %d us); the folder is kept: %s\n", cycle,
                   byRename ? "killed at a rename" : "killed after a delay", renameNo, before ? "before" : "after",
                   delayUs, root.c_str());
      return 1;
    }
    // The history was checked; a thousand folders of it would only slow the next move down.
    fs::remove_all(root / "history");
  }
  const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count() / 60.0;
  std::printf(
      "soak: %d cycles in %.1f min, seed %u: %d kills at a file replacement, %d after a random delay, "
      "%d draws finished between kills; 0 failures\n",
      cycles, minutes, seed, killedAtRename, killedAfterTime, finished);
  fs::remove_all(root);
  return 0;
}

}  // namespace
}  // namespace kavrel

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 3000;
  const auto seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10))
                             : static_cast<std::uint32_t>(std::random_device{}());
  return kavrel::Run(cycles, seed);
}
