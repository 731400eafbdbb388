#include "storage/file_step.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

namespace fs = std::filesystem;

// Every file a correction may change, in a fixed order: the journal names them by their place here.
constexpr std::array<std::string_view, 5> kStepFiles = {ProgramDir::kResultDat, ProgramDir::kResultTxt,
                                                        ProgramDir::kReceiptsLog, ProgramDir::kReceiptsKey,
                                                        ProgramDir::kExitIni};
constexpr std::string_view kJournal = "\\config\\step-undo.dat";
constexpr std::string_view kKeptDir = "\\config\\step-undo";
constexpr std::string_view kJournalHead = "kavrel step undo";

fs::path Kept(const ProgramDir& dir, std::size_t i) {
  return dir.Path(kKeptDir) / std::to_string(i);
}

void RemoveKept(const ProgramDir& dir) {
  std::error_code ec;
  fs::remove_all(dir.Path(kKeptDir), ec);
}

// A hard link keeps the file as it is now: the program never writes into a file, it replaces it.
bool Keep(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::create_hard_link(from, to, ec);
  if (!ec) return true;
  ec.clear();
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
}

// Renames the kept file over the one the step wrote. Where a rename cannot replace a file (some
// Windows runtimes), that one goes first: a crash in between leaves the journal, and the next start
// finishes the job.
void PutBack(const fs::path& kept, const fs::path& file, std::error_code& ec) {
  fs::rename(kept, file, ec);
  if (!ec) return;
  std::error_code removed;
  fs::remove(file, removed);
  ec.clear();
  fs::rename(kept, file, ec);
}

// Each journal line: the file's place in kStepFiles and whether it was kept or absent.
template <class Visit>
bool ReadJournal(const ProgramDir& dir, Visit visit) {
  const fs::path journalPath = dir.Path(kJournal);
  if (!FileExists(journalPath)) return false;
  const std::string journal = ReadTextFile(journalPath);
  // A journal is written whole or not at all; one that is not ours is left for a person to look at.
  if (journal.rfind(std::string(kJournalHead) + "\n", 0) != 0) return false;
  std::size_t at = kJournalHead.size() + 1;
  while (at < journal.size()) {
    std::size_t end = journal.find('\n', at);
    if (end == std::string::npos) end = journal.size();
    const std::string line = journal.substr(at, end - at);
    at = end + 1;
    const std::size_t space = line.find(' ');
    if (space != 1 || line[0] < '0' || static_cast<std::size_t>(line[0] - '0') >= kStepFiles.size()) continue;
    visit(static_cast<std::size_t>(line[0] - '0'), line.substr(space + 1) == "kept");
  }
  return true;
}

}  // namespace

bool BeginFileStep(const ProgramDir& dir) {
  // Inside a step under way, the files are already kept as they were before it.
  if (FileExists(dir.Path(kJournal))) return false;
  // What an earlier step left after its journal went is only litter.
  RemoveKept(dir);
  std::error_code ec;
  fs::create_directories(dir.Path(kKeptDir), ec);
  if (ec) return false;
  std::string journal = std::string(kJournalHead) + "\n";
  for (std::size_t i = 0; i < kStepFiles.size(); ++i) {
    const fs::path file = dir.Path(kStepFiles[i]);
    const bool exists = fs::is_regular_file(file, ec);
    if (exists && !Keep(file, Kept(dir, i))) {
      RemoveKept(dir);
      return false;
    }
    journal += std::to_string(i) + (exists ? " kept\n" : " absent\n");
  }
  if (WriteTextFile(dir.Path(kJournal), journal)) return true;
  RemoveKept(dir);
  return false;
}

void EndFileStep(const ProgramDir& dir) {
  if (DeleteFile(dir.Path(kJournal))) RemoveKept(dir);
}

bool RollBackInterruptedStep(const ProgramDir& dir) {
  bool allBack = true;
  const bool found = ReadJournal(dir, [&](std::size_t i, bool kept) {
    const fs::path file = dir.Path(kStepFiles[i]);
    std::error_code ec;
    if (!kept)
      fs::remove(file, ec);
    else if (fs::exists(Kept(dir, i), ec))  // gone when an earlier start put it back already
      PutBack(Kept(dir, i), file, ec);
    if (ec) allBack = false;
  });
  if (!found) {
    if (!FileExists(dir.Path(kJournal))) RemoveKept(dir);
    return false;
  }
  if (!allBack) return false;
  EndFileStep(dir);
  return true;
}

std::optional<fs::path> FileBeforeInterruptedStep(const ProgramDir& dir, std::string_view suffix) {
  std::optional<fs::path> before;
  ReadJournal(dir, [&](std::size_t i, bool kept) {
    if (kStepFiles[i] != suffix) return;
    std::error_code ec;
    if (!kept)
      before = dir.Path(kKeptDir) / "absent";
    else if (fs::exists(Kept(dir, i), ec))
      before = Kept(dir, i);
  });
  return before;
}

}  // namespace kavrel
