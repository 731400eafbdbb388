#include "engine/winner_journal.h"

#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {

void WinnerJournal::Load(const ProgramDir& dir) {
  text_ = ReadTextFile(dir.Path(ProgramDir::kResultDat));
  Parse();
  ++revision_;
}

void WinnerJournal::AddBatch(const std::string& awardName, const std::string& prizeName,
                             const std::vector<std::string>& winners, bool extendLastLine) {
  const std::size_t lastLine = LastLineStart();
  const bool lineThere = lastLine < text_.size();
  AddBatchToResultLog(text_, awardName, prizeName, winners, extendLastLine);
  ParseFrom(lastLine, lineThere);
  ++revision_;
}

void WinnerJournal::RemoveLastBatch(std::size_t batchWinnerCount) {
  const std::size_t lastLine = LastLineStart();
  const bool lineThere = lastLine < text_.size();
  RemoveLastBatchFromResultLog(text_, batchWinnerCount);
  ParseFrom(lastLine, lineThere);
  ++revision_;
}

// Where the last line starts, as the result file's own changes find it.
std::size_t WinnerJournal::LastLineStart() const {
  const std::size_t crlf = text_.rfind("\r\n");
  return crlf == std::string::npos ? 0 : crlf + 2;
}

// A stop and an undo change nothing before the last line: only the text from there is read again,
// so a stop late in a long evening costs what the first one did.
void WinnerJournal::ParseFrom(std::size_t lastLine, bool lineThere) {
  if (lineThere && !lines_.empty()) lines_.pop_back();
  if (lastLine >= text_.size()) return;  // the last line went with its batch
  for (ResultLine& line : ParseResultLog(text_.substr(lastLine))) lines_.push_back(std::move(line));
}

void WinnerJournal::MarkAbandoned(const std::string& awardName, const std::vector<std::string>& entries) {
  MarkAbandonedInResultLog(text_, awardName, entries);
  Parse();
  ++revision_;
}

}  // namespace kavrel
