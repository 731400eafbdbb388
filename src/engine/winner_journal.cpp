#include "engine/winner_journal.h"

#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {

void WinnerJournal::Load(const ProgramDir& dir) {
  text_ = ReadTextFile(dir.Path(ProgramDir::kResultDat));
  Parse();
}

void WinnerJournal::AddBatch(const std::string& awardName, const std::string& prizeName,
                             const std::vector<std::string>& winners, bool extendLastLine) {
  AddBatchToResultLog(text_, awardName, prizeName, winners, extendLastLine);
  Parse();
}

void WinnerJournal::RemoveLastBatch(std::size_t batchWinnerCount) {
  RemoveLastBatchFromResultLog(text_, batchWinnerCount);
  Parse();
}

void WinnerJournal::MarkAbandoned(const std::string& awardName, const std::vector<std::string>& entries) {
  MarkAbandonedInResultLog(text_, awardName, entries);
  Parse();
}

}  // namespace kavrel
