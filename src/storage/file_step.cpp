#include "storage/file_step.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
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

// A hard link keeps the file as it is now: within a step the program only replaces the draw's files
// or appends to them, and the journal notes each file's size, so an append into the shared file is
// cut off again when the step is undone.
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

// Each journal line: the file's place in kStepFiles and whether it was kept (with its size then, in
// journals that note it) or absent.
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
    const std::string state = line.substr(space + 1);
    std::optional<std::uintmax_t> size;
    if (state.rfind("kept ", 0) == 0) {
      std::uintmax_t value = 0;
      const char* first = state.data() + 5;
      const char* last = state.data() + state.size();
      if (const auto [stop, ec] = std::from_chars(first, last, value); ec == std::errc() && stop == last) size = value;
    }
    visit(static_cast<std::size_t>(line[0] - '0'), state == "kept" || size.has_value(), size);
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
    const std::uintmax_t size = exists ? fs::file_size(file, ec) : 0;
    if (exists && (ec || !Keep(file, Kept(dir, i)))) {
      RemoveKept(dir);
      return false;
    }
    journal += std::to_string(i) + (exists ? " kept " + std::to_string(size) + "\n" : std::string(" absent\n"));
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
  const bool found = ReadJournal(dir, [&](std::size_t i, bool kept, std::optional<std::uintmax_t> size) {
    const fs::path file = dir.Path(kStepFiles[i]);
    std::error_code ec;
    if (!kept)
      fs::remove(file, ec);
    else if (fs::exists(Kept(dir, i), ec))  // gone when an earlier start put it back already
      PutBack(Kept(dir, i), file, ec);
    // What the step appended to the kept file itself goes.
    if (!ec && size && fs::is_regular_file(file, ec)) {
      const std::uintmax_t now = fs::file_size(file, ec);
      if (!ec && now > *size) fs::resize_file(file, *size, ec);
    }
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

bool FileStepUnderWay(const ProgramDir& dir) {
  return FileExists(dir.Path(kJournal));
}

std::optional<FileBeforeStep> FileBeforeInterruptedStep(const ProgramDir& dir, std::string_view suffix) {
  std::optional<FileBeforeStep> before;
  ReadJournal(dir, [&](std::size_t i, bool kept, std::optional<std::uintmax_t> size) {
    if (kStepFiles[i] != suffix) return;
    std::error_code ec;
    if (!kept)
      before = FileBeforeStep{dir.Path(kKeptDir) / "absent", std::nullopt};
    else if (fs::exists(Kept(dir, i), ec))
      before = FileBeforeStep{Kept(dir, i), size};
    else if (size)  // put back already by a start that stopped before it cut the file
      before = FileBeforeStep{dir.Path(kStepFiles[i]), size};
  });
  return before;
}

}  // namespace kavrel
