// The crash soak: a child process runs whole draws through the engine (with the recording stage
// hooks, a prompter that answers yes and a still clock), making the operator's corrections on the
// way (undo F2, abandon with or without a redraw F3, supplementary draw F4, prize change F8, restart
// F1), and is killed with SIGKILL, either after a random short time or at the Nth file write: just
// before or just after the rename that makes a new file version visible, or the flush that ends an
// append (before it, with the append's last byte torn off, as a power cut may leave it). After every kill the
// folder is checked as it was left, then a second child starts the program again on it, answers the
// resume question with yes, and checks what a hall full of people relies on:
//   - every file decodes (result.dat, result.txt, the resume record, the plan),
//   - result.dat and result.txt name the same winners for the same awards,
//   - nobody holds two prizes and nobody is lost: the pool plus the winners who kept their prize is
//     the list,
//   - kavrel-verify holds the folder to its receipts, before the start-up and after it, and every
//     draw kept in history (a draw finished or put aside verifies; a kill inside a first stop or a
//     correction leaves what the verifier must name, never a silent pass),
//   - the start-up shows only the resume question.
// Failures do not stop the soak: each is counted with what the drawing child was doing when it was
// killed, and the first failing folder is kept.
//
// Usage: kavrel_soak [cycles] [seed]        (defaults: 3000 cycles, seed from the clock)
// Exit status 0 when every check held.

#include <dlfcn.h>
#include <signal.h>
#include <sys/stat.h>
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

#include "engine/abandon.h"
#include "engine/draw_controller.h"
#include "engine/draw_session.h"
#include "engine/draw_texts.h"
#include "storage/award_store.h"
#include "storage/codec.h"
#include "storage/file_step.h"
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
#include "verify/draw_verifier.h"

namespace {

// Set in a drawing child: the file write (a rename or a flush) at which it kills itself, 0 for none.
int killAtWrite = 0;
bool killBeforeWrite = false;
int writes = 0;

}  // namespace

// Every whole-file write ends in rename() (QSaveFile::commit): this executable's own definition is
// found before the C library's, so a drawing child can die exactly around one.
extern "C" int rename(const char* from, const char* to) {
  using RenameFn = int (*)(const char*, const char*);
  static const auto real = reinterpret_cast<RenameFn>(dlsym(RTLD_NEXT, "rename"));
  const bool dieHere = killAtWrite > 0 && ++writes == killAtWrite;
  if (dieHere && killBeforeWrite) raise(SIGKILL);
  const int result = real(from, to);
  if (dieHere) raise(SIGKILL);
  return result;
}

// An append (a stop's batch and receipt) ends in fsync(); so do the temporaries of a replacement,
// whose torn byte nobody reads.
extern "C" int fsync(int fd) {
  using SyncFn = int (*)(int);
  static const auto real = reinterpret_cast<SyncFn>(dlsym(RTLD_NEXT, "fsync"));
  const bool dieHere = killAtWrite > 0 && ++writes == killAtWrite;
  struct stat written {};
  if (dieHere && killBeforeWrite) {
    if (fstat(fd, &written) == 0 && written.st_size > 0) (void)ftruncate(fd, written.st_size - 1);
    raise(SIGKILL);
  }
  const int result = real(fd);
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

struct NoModeHost : ModeSwitchHost {
  void OpenListEditor() override {}
  void SetModeChecks(bool) override {}
};

// The engine over fakes of every port, as the program builds it at start-up.
struct Program {
  explicit Program(const ProgramDir& d, std::uint32_t seed) : dir(d) {
    clock.ms = seed;
    session = std::make_unique<DrawSession>(prompter, sound, clock, dir);
    session->AttachStage(stage, modes);
  }
  ~Program() { session->DetachStage(); }
  const DrawState& state() const { return session->Draw(); }
  ProgramDir dir;
  FakeClock clock;
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  RecordingStageHooks stage;
  NoModeHost modes;
  std::unique_ptr<DrawSession> session;
};

// What a drawing child is doing, told to the parent through a pipe (one byte before each step), so
// that a failure can be put down to the step a kill cut short.
enum Step : char {
  kStartUp = 'S',
  kRoll = 'R',
  kStop = 'P',
  kUndo = '2',
  kAbandon = '3',
  kSupplement = '4',
  kPrize = '8',
  kRestart = '1',
  kNextBatch = 'N'
};
const char* StepName(char step) {
  switch (step) {
    case kStartUp:
      return "start-up and resume";
    case kRoll:
      return "roll";
    case kStop:
      return "stop";
    case kUndo:
      return "undo (F2)";
    case kAbandon:
      return "abandon (F3)";
    case kSupplement:
      return "supplementary draw (F4)";
    case kPrize:
      return "prize change (F8)";
    case kRestart:
      return "restart (F1)";
    case kNextBatch:
      return "next batch";
    case 'F':
      return "nothing (the draw finished)";
    default:
      return "nothing yet";
  }
}
int stepPipe = -1;
void Tell(Step step) {
  if (write(stepPipe, &step, 1) != 1) _exit(4);
}

// The newest award's first winner who kept the prize gives it up; with `redraw` one more batch of one
// is queued for it.
void GiveUp(Program& program, bool redraw) {
  AbandonChoice choice(LoadResultLog(program.dir));
  if (choice.Items().empty()) return;
  const std::string award = choice.Items().front().awardName;
  const AbandonChoice::Line line = choice.LineOf(award);
  for (const auto& w : line.winners) {
    if (w.abandoned) continue;
    AbandonRequest request;
    request.awardName = award;
    request.prizeName = line.prizeName;
    request.entries = {w.entry};
    request.returnToPool = true;
    request.redraw = redraw;
    request.quotaText = "1";
    request.batchText = "1";
    Tell(kAbandon);
    program.session->Abandon(request);
    return;
  }
}

// A drawing child: starts up (taking the resume when offered) and presses through the plan, making
// a correction now and then after a stop.
[[noreturn]] void DrawChild(const ProgramDir& dir, std::uint32_t seed) {
  Program program(dir, seed);
  std::mt19937 random(seed);
  DrawSession& draw = *program.session;
  Tell(kStartUp);
  draw.StartUp();
  for (int presses = 0; presses < 120 && !program.state().plan.empty(); ++presses) {
    Tell(kNextBatch);
    draw.Start();  // starts a roll, or announces the next batch after a stop
    if (program.state().phase != DrawPhase::Rolling) continue;
    Tell(kRoll);
    for (int tick = 0; tick < 3; ++tick) {
      ++program.clock.ms;
      draw.Tick();
    }
    Tell(kStop);
    draw.Stop();
    switch (random() % 25) {
      case 0:
      case 1:
        Tell(kUndo);
        draw.Undo();
        break;
      case 2:
        GiveUp(program, true);
        break;
      case 3:
        GiveUp(program, false);
        break;
      case 4: {
        SupplementRequest more;
        more.awardName = Gb("幸运奖");
        more.prizeName = Gb("红包");
        more.quotaText = "1";
        more.batchText = "1";
        Tell(kSupplement);
        program.session->Supplement(more);
        break;
      }
      case 5:
        if (!program.state().plan.empty()) {
          Tell(kPrize);
          program.session->ChangePrize({.planPosition = 1, .prizeName = Gb("奖品：换过的"), .prizePicture = ""});
        }
        break;
      case 6:
        if (random() % 4 == 0) {
          Tell(kRestart);
          draw.Restart();
        }
        break;
      default:
        break;
    }
  }
  _exit(program.state().plan.empty() ? 0 : 3);
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

bool GaveUp(const std::string& winner) {
  return winner.ends_with(AbandonedMark());
}

// The result files of one folder (the program's own, or a copy kept in history): they decode, they
// agree, and nobody holds two prizes or comes from outside the list. The winners who kept their prize.
Winners CheckResultFiles(const std::string& where, const std::string& dat, const std::string& txt,
                         bool mustAgree = true) {
  const std::vector<ResultLine> log = ParseResultLog(dat);
  const Winners fromDat = FromResultDat(log);
  const Winners fromTxt = FromResultTxt(txt);
  Check(dat.empty() || !log.empty(), where + ": result.dat does not decode");
  Check(!mustAgree || fromDat == fromTxt, where + ": result.dat and result.txt disagree (" +
                                              std::to_string(fromDat.size()) + " against " +
                                              std::to_string(fromTxt.size()) + " winners)");
  const std::vector<std::string> list = TheList();
  const std::set<std::string> listed(list.begin(), list.end());
  std::set<std::string> seen;
  Winners kept;
  for (const auto& [award, winner] : fromDat) {
    const std::string entry = GaveUp(winner) ? winner.substr(0, winner.size() - AbandonedMark().size()) : winner;
    Check(listed.count(entry) == 1, where + ": a winner who is not on the list: " + winner);
    if (GaveUp(winner)) continue;
    Check(seen.insert(entry).second, where + ": holds two prizes: " + entry);
    kept.emplace(award, entry);
  }
  return kept;
}

// What kavrel-verify says of a folder, and whether that is a verdict the folder may have: a draw
// verifies (closed or not), or a stop the program was recording is named as such. `firstStopCut`
// also lets pass the one case the program cannot tell apart from an edit: results of a first stop
// that no resume record and no receipt vouch for (the next start puts them aside).
bool VerifiesOrNamesTheCrash(const fs::path& folder, const std::string& where, bool firstStopCut) {
  const VerifyReport r = VerifyDraw(EvidenceIn(folder));
  const bool ok = r.outcome == VerifyOutcome::Ok || r.outcome == VerifyOutcome::NotClosed ||
                  r.outcome == VerifyOutcome::Interrupted ||
                  (firstStopCut && r.outcome == VerifyOutcome::Mismatch && r.batches == 0 && !r.unchecked.empty());
  Check(ok, where + ": kavrel-verify says " + ReportLine(r));
  return ok;
}

// A checking child: the program starts again on the folder a kill left behind.
[[noreturn]] void CheckChild(const ProgramDir& dir, const fs::path& root) {
  // A correction cut short is undone at the start: the record that counts is the one before it.
  // (A stop that ended the draw deletes it: the kept one is the one to read.)
  const auto recordBefore = FileBeforeInterruptedStep(dir, ProgramDir::kExitIni);
  const fs::path recordPath = recordBefore ? recordBefore->path : dir.Path(ProgramDir::kExitIni);
  const bool hadRecord = FileExists(recordPath);
  if (hadRecord)
    Check(ParseExitRecord(ReadTextFile(recordPath)).record.has_value(), "the resume record does not decode");
  Check(LoadPool(dir).has_value(), "the list does not decode");
  Check(!LoadPlan(dir).empty(), "the plan does not decode");
  // As the kill left it, before the program touches it. A draw without receipts yet (killed before
  // its seal) has nothing to verify.
  if (FileExists(dir.Path(ProgramDir::kReceiptsLog)) || FileExists(dir.Path(ProgramDir::kResultDat)))
    VerifiesOrNamesTheCrash(root, "as the kill left it", !hadRecord);

  Program program(dir, 1);
  program.session->StartUp();
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
  std::vector<std::string> everyone = program.state().pool;
  for (const auto& [award, winner] : winners) everyone.push_back(winner);
  std::vector<std::string> list = TheList();
  std::sort(everyone.begin(), everyone.end());
  std::sort(list.begin(), list.end());
  Check(everyone == list, "the pool plus the winners is not the list (" + std::to_string(everyone.size()) + " of " +
                              std::to_string(list.size()) + ")");
  // The resumed draw holds to its receipts (the plan, every batch and correction replayed).
  if (resumed) VerifiesOrNamesTheCrash(root, "after the resume", false);

  // Every draw that went to history is whole there: its files agree and it verifies. The copy a
  // resume keeps before it takes back the batch the record missed has no receipts of its own.
  std::error_code ec;
  for (const auto& kept : fs::directory_iterator(root / "history", ec)) {
    const std::string where = "history " + kept.path().filename().string();
    const std::string dat = ReadTextFile(kept.path() / "result.dat");
    const std::string txt = ReadTextFile(kept.path() / "result.txt");
    const bool copyBeforeTrim = !FileExists(kept.path() / "receipts.log");
    CheckResultFiles(where, dat, txt, !copyBeforeTrim);
    if (!copyBeforeTrim) VerifiesOrNamesTheCrash(kept.path(), where, true);
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
  const fs::path firstFailure = fs::temp_directory_path() / ("kavrel_soak_failed_" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "config");
  const ProgramDir dir(root);
  if (!PrepareEvent(dir)) {
    std::fprintf(stderr, "soak: cannot write the event into %s\n", root.c_str());
    return 2;
  }

  const auto began = std::chrono::steady_clock::now();
  int killedAtWrite = 0, killedAfterTime = 0, finished = 0, failed = 0;
  std::map<char, int> killedIn, failedIn;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    const bool byWrite = random() % 2 == 0;
    const int writeNo = 1 + static_cast<int>(random() % 160);
    const bool before = random() % 2 == 0;
    const int delayUs = static_cast<int>(random() % 30000);
    const std::uint32_t childSeed = random();

    int steps[2];
    if (pipe(steps) != 0) return 2;
    const pid_t drawer = fork();
    if (drawer == 0) {
      close(steps[0]);
      stepPipe = steps[1];
      if (byWrite) {
        killAtWrite = writeNo;
        killBeforeWrite = before;
      }
      DrawChild(dir, childSeed);
    }
    close(steps[1]);
    if (!byWrite) {
      usleep(static_cast<useconds_t>(delayUs));
      kill(drawer, SIGKILL);
    }
    char step = 0, buffer[256];
    for (ssize_t n; (n = read(steps[0], buffer, sizeof buffer)) > 0;) step = buffer[n - 1];
    close(steps[0]);
    const int drawn = WaitFor(drawer);
    if (drawn == 128 + SIGKILL) {
      (byWrite ? killedAtWrite : killedAfterTime) += 1;
      ++killedIn[step];
    } else if (drawn == 0) {
      ++finished;
      step = 'F';  // no kill: a failure after it is the draw's own
    } else {
      std::fprintf(stderr, "soak: cycle %d: the drawing child ended with %d\n", cycle, drawn);
      return 1;
    }

    // The folder as the kill left it, kept when the check fails.
    const fs::path asLeft = firstFailure.string() + "_as_left";
    fs::remove_all(asLeft);
    fs::copy(root, asLeft, fs::copy_options::recursive);
    const pid_t checker = fork();
    if (checker == 0) CheckChild(dir, root);
    if (WaitFor(checker) != 0) {
      ++failed;
      ++failedIn[step];
      std::fprintf(stderr, "soak: cycle %d failed (%s, write %d %s, %d us, killed in: %s)\n", cycle,
                   byWrite ? "killed at a file write" : "killed after a delay", writeNo, before ? "before" : "after",
                   delayUs, StepName(step));
      // The first failure after each kind of step is kept as the kill left it.
      const fs::path keep = firstFailure.string() + "_" + step;
      if (!fs::exists(keep)) {
        fs::rename(asLeft, keep);
        std::fprintf(stderr, "soak: the folder as the kill left it is kept: %s\n", keep.c_str());
      }
      // Start the next cycle from a sound event rather than from what the failure left.
      fs::remove_all(root);
      fs::create_directories(root / "config");
      if (!PrepareEvent(dir)) return 2;
    }
    // The history was checked; a thousand folders of it would only slow the next move down.
    fs::remove_all(root / "history");
  }
  const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count() / 60.0;
  std::printf(
      "soak: %d cycles in %.1f min, seed %u: %d kills at a file write, %d after a random delay, "
      "%d draws finished between kills; %d failures\n",
      cycles, minutes, seed, killedAtWrite, killedAfterTime, finished, failed);
  std::printf("soak: kills by what the drawing child was doing (failures after them):\n");
  for (const auto& [step, count] : killedIn)
    std::printf("  %-26s %5d  (%d)\n", StepName(step), count, failedIn.count(step) ? failedIn[step] : 0);
  std::printf("  draws finished without a kill: %d  (%d)\n", finished, failedIn.count('F') ? failedIn['F'] : 0);
  fs::remove_all(root);
  fs::remove_all(firstFailure.string() + "_as_left");
  return failed == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kavrel

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 3000;
  const auto seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10))
                             : static_cast<std::uint32_t>(std::random_device{}());
  return kavrel::Run(cycles, seed);
}
