#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>

namespace kavrel {

class ProgramDir;

// A correction (an undo, a winner giving up, a supplementary draw, a prize change) changes several
// of the draw's files: the result files, the receipts (and, when it reopens a closed log, the draw
// key) and the resume record. Each file is replaced atomically, but a crash between two of them
// would leave files that tell two stories, and the next start could not resume the draw.
//
// So a correction is one step, kept by an undo journal: before the first write, every file the step
// may change is kept as it is (a hard link, which costs nothing, or a copy where the file system has
// none) and config\step-undo.dat names them with their sizes. Deleting that journal is the moment the
// step is done. A start that finds the journal puts every file back as it was before the step, so the
// draw resumes with the correction not made at all.
//
// Within a step a file is either replaced whole or appended to in place (a stop adds its batch and
// its receipt at the ends of the files, so a stop late in the evening costs what the first one did).
// An append also lands in the kept hard link; putting a file back therefore cuts it to the size
// the journal noted.
//
// The same keeps a fresh seal (key, sealed list, log) and a resume's take-back of a batch together.
//
// Begin: false inside a step under way (the outer one keeps the files), or when the files could not
// be kept (the step then goes on unguarded, as before).
bool BeginFileStep(const ProgramDir& dir);
// The step is done: the journal goes, then the kept files.
void EndFileStep(const ProgramDir& dir);
// At start, before anything reads the draw's files: a step cut short is undone. True when there was
// one and every file is back.
bool RollBackInterruptedStep(const ProgramDir& dir);

// A step is under way: its journal keeps the draw's files, so they may be appended to in place (a
// crash halfway through an append is cut off at the next start). Outside a step they are replaced whole.
bool FileStepUnderWay(const ProgramDir& dir);

// A step cut short, seen without changing anything (the verifier): where `suffix` (a ProgramDir
// suffix) stands as it was before the step. The kept file, or a path that does not exist when the
// file did not; nullopt when no step was cut short or the step never touched that file. With `size`,
// only the file's first `size` bytes are what it was (the step appended to it).
struct FileBeforeStep {
  std::filesystem::path path;
  std::optional<std::uintmax_t> size;
};
std::optional<FileBeforeStep> FileBeforeInterruptedStep(const ProgramDir& dir, std::string_view suffix);

// Keeps the draw's files together for as long as it lives. Left by an exception, the step is not
// done: the journal stays, as after a crash, and the next start undoes it.
class FileStep {
 public:
  explicit FileStep(const ProgramDir& dir)
      : dir_(dir), exceptions_(std::uncaught_exceptions()), begun_(BeginFileStep(dir)) {}
  ~FileStep() {
    if (begun_ && std::uncaught_exceptions() == exceptions_) EndFileStep(dir_);
  }
  FileStep(const FileStep&) = delete;
  FileStep& operator=(const FileStep&) = delete;

 private:
  const ProgramDir& dir_;
  int exceptions_;
  bool begun_;
};

}  // namespace kavrel
