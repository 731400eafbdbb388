#include "engine/draw_files.h"

#include "storage/text_file.h"

namespace kavrel {

bool DrawFiles::RecordResults(const ProgramDir& dir, const std::string& awardName, const std::string& prizeName,
                              const std::vector<std::string>& winners, bool extendLastLine, const LocalDateTime& when) {
  return RecordBatch(dir, awardName, prizeName, winners, extendLastLine, when);
}

RemovedBatch DrawFiles::TakeBackResults(const ProgramDir& dir, std::size_t batchWinnerCount) {
  return RemoveLastBatch(dir, batchWinnerCount);
}

AbandonMarks DrawFiles::MarkGivenUp(const ProgramDir& dir, const std::string& awardName,
                                    const std::vector<std::string>& entries) {
  return MarkAbandonedEntries(dir, awardName, entries);
}

bool DrawFiles::WriteReceiptLog(const std::filesystem::path& path, const std::string& text) {
  return WriteTextFile(path, text);
}

bool DrawFiles::AppendReceiptLine(const std::filesystem::path& path, const std::string& line) {
  return AppendToTextFiles({{path, line}});
}

bool DrawFiles::WriteExitRecord(const ProgramDir& dir, const ExitRecord& record) {
  return kavrel::WriteExitRecord(dir, record);
}

bool DrawFiles::DeleteExitRecord(const ProgramDir& dir) {
  return kavrel::DeleteExitRecord(dir);
}

bool DrawFiles::MoveToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files,
                              const LocalDateTime& when) {
  return kavrel::MoveToHistory(dir, files, when);
}

bool DrawFiles::PutResultsAside(const ProgramDir& dir, const LocalDateTime& when, HistoryReason reason) {
  return kavrel::PutResultsAside(dir, when, reason).has_value();
}

DrawFiles& DrawFiles::Real() {
  static DrawFiles files;
  return files;
}

}  // namespace kavrel
