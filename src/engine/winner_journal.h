#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/result_store.h"

namespace kavrel {

class ProgramDir;

// The winners of the draw on the stage, as config\result.dat holds them, kept in memory so that the
// views (the console, the phones, the winner wall) read them from the draw and never from the file.
// Read from the file only when the files are laid out anew (start-up, a fresh draw, a resume, a past
// draw brought back); a stop, an undo and a given-up prize change it with the very text functions that
// change the file, after the file took the change, so the two cannot tell different stories.
class WinnerJournal {
 public:
  void Load(const ProgramDir& dir);
  void AddBatch(const std::string& awardName, const std::string& prizeName, const std::vector<std::string>& winners,
                bool extendLastLine);
  void RemoveLastBatch(std::size_t batchWinnerCount);
  void MarkAbandoned(const std::string& awardName, const std::vector<std::string>& entries);

  // One line per award (or per prize changed for a batch), GB18030, as the file has them.
  const std::vector<ResultLine>& Lines() const { return lines_; }
  // Counts the changes (from 1 on the first load), so a view can tell it has these winners listed.
  std::uint64_t Revision() const { return revision_; }

 private:
  void Parse() { lines_ = ParseResultLog(text_); }
  std::size_t LastLineStart() const;
  // `lineThere`: the text held a last line from `lastLine` before the change.
  void ParseFrom(std::size_t lastLine, bool lineThere);

  std::string text_;
  std::vector<ResultLine> lines_;
  std::uint64_t revision_ = 0;
};

}  // namespace kavrel
