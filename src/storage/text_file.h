#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/local_date_time.h"

namespace kavrel {

class ProgramDir;

// The whole file as bytes; a missing or unreadable file reads as "".
std::string ReadTextFile(const std::filesystem::path& path);

// The file's first `count` bytes (fewer when it is shorter; "" when it cannot be read).
std::string ReadFileStart(const std::filesystem::path& path, std::size_t count);

// For read-modify-write updates: "" for a missing file, nullopt for a file that exists but cannot
// be read, so an update never replaces a file it could not read (its earlier content would be lost).
std::optional<std::string> TryReadTextFile(const std::filesystem::path& path);

// Writes the whole file atomically: a temporary file beside it is written, flushed to disk and
// renamed over the old one, so a crash never leaves half a file. False when anything failed
// (the old file is then untouched); callers report that to the user.
bool WriteTextFile(const std::filesystem::path& path, const std::string& bytes);

// Several files written as one step: all of them, or none when anything fails (every file then keeps
// its old content), so that files which must agree (result.dat and result.txt) never tell two
// stories. Each file is first written whole to a temporary beside it and flushed to disk; only when
// all are written are they renamed into place, one after another. Until then each old file is kept
// under a second name (a hard link, or a copy where the file system has none), so a rename that
// fails puts back the files renamed before it. Only a crash between two renames can leave some files
// new and some old (the resume check knows that case).
struct FileWrite {
  std::filesystem::path path;
  std::string bytes;
};
bool WriteTextFiles(const std::vector<FileWrite>& files);

// Appends to the ends of files (made when missing), flushed to disk, as one write: all of them, or,
// when anything fails, each file is cut back to the size it had. Only for the draw's files within a
// step (FileStepUnderWay), whose journal cuts off what a crash halfway through leaves.
bool AppendToTextFiles(const std::vector<FileWrite>& appends);

// Removes a file; a missing file is no error. False only when an existing file stays.
bool DeleteFile(const std::filesystem::path& path);

bool FileExists(const std::filesystem::path& path);

// Moves those of the given files that exist into history/<yyyyMMdd-HHmmss>/ below the program
// folder, so that a reset or a mode switch keeps the old winners and lists instead of deleting
// them. Creates nothing when none of the files exists. False when a file could not be moved; the files
// moved before it are then moved back, so files that belong together are never split.
bool MoveToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files, const LocalDateTime& when);

// A move into history is one step: before the first file moves, config\history-move.dat names every
// file and where it goes, and it goes once all have moved (or all are back). A move cut short by a
// crash is finished at the next start by FinishInterruptedMove, which every move also calls first:
// the files still in place follow the others, or, when one cannot, those moved go back. False when
// the files could be neither all moved nor all put back (the journal then stays for another try).
bool FinishInterruptedMove(const ProgramDir& dir);
// The files a move cut short names, each with where it goes (empty when no move was cut short).
std::vector<std::pair<std::filesystem::path, std::filesystem::path>> InterruptedMove(const ProgramDir& dir);
// The journal's place below the program folder.
inline constexpr std::string_view kHistoryMoveJournal = "\\config\\history-move.dat";

namespace detail {
// Test seam: asked before each file of a move into history is renamed. Fail makes that rename fail
// (the move is undone), Halt stops the move there as a crash would (the journal stays).
enum class MoveStep { Go, Fail, Halt };
void SetHistoryMoveProbe(MoveStep (*probe)(std::size_t index));
}  // namespace detail

// The same move, telling where the files went: the new folder, an empty path when none of the files
// existed, nullopt when a file could not be moved.
std::optional<std::filesystem::path> MoveToHistoryFolder(const ProgramDir& dir,
                                                         const std::vector<std::filesystem::path>& files,
                                                         const LocalDateTime& when);

// The same, but the files stay where they are: a copy is kept before a file is changed in a way
// that loses content. False when a file could not be copied.
bool CopyToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files, const LocalDateTime& when);

// The same for files about to be replaced whole by WriteTextFile (never written in place): the
// history folder gets a hard link where the file system allows one, a copy otherwise, so keeping
// a large file costs nothing. False when a file could be neither linked nor copied.
bool KeepInHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files, const LocalDateTime& when);

// Removes the temporary files an interrupted atomic write left beside the program's own files
// ("set.dat.Ab12Cd" next to config\set.dat): nothing writes at start-up, so any such file is a
// leftover, and one of a million-line list is tens of megabytes. Returns how many were removed.
int RemoveStaleTemporaries(const ProgramDir& dir);

}  // namespace kavrel
