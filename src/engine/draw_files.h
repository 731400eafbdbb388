#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "storage/draw_history.h"
#include "storage/result_store.h"

namespace kavrel {

class ProgramDir;

// The file steps whose order decides whether a crash or a failing disk can lose winners: a stop's
// journal (the result files, then the receipt, then the resume record), and the move of the results
// into history. They go through this one seam so that a test can make any of them fail, or stop there
// as a crash would.
class DrawFiles {
 public:
  virtual ~DrawFiles() = default;
  // A stop's first step: the batch into config\result.dat and result.txt (RecordBatch).
  virtual bool RecordResults(const ProgramDir& dir, const std::string& awardName, const std::string& prizeName,
                             const std::vector<std::string>& winners, bool extendLastLine, const LocalDateTime& when);
  // An undo's first step: the last batch out of both result files (RemoveLastBatch).
  virtual RemovedBatch TakeBackResults(const ProgramDir& dir, std::size_t batchWinnerCount);
  // A given-up prize's: the entries marked in both result files (MarkAbandonedEntries).
  virtual AbandonMarks MarkGivenUp(const ProgramDir& dir, const std::string& awardName,
                                   const std::vector<std::string>& entries);
  // The second: config\receipts.log rewritten with the receipt appended, or (within a step, the log
  // as the receipts left it) the receipt's line appended to it.
  virtual bool WriteReceiptLog(const std::filesystem::path& path, const std::string& text);
  virtual bool AppendReceiptLine(const std::filesystem::path& path, const std::string& line);
  // The third: the resume record.
  virtual bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record);
  virtual bool DeleteExitRecord(const ProgramDir& dir);
  virtual bool MoveToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files,
                             const LocalDateTime& when);
  // config\result.dat and result.txt into a new history folder, with a note of why.
  virtual bool PutResultsAside(const ProgramDir& dir, const LocalDateTime& when, HistoryReason reason);

  // The files as they are on disk.
  static DrawFiles& Real();
};

}  // namespace kavrel
