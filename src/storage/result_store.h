#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/local_date_time.h"

namespace kavrel {

class ProgramDir;

// The files a reset clears: config\result.dat, result.txt and config\exit.ini (for MoveToHistory).
std::vector<std::filesystem::path> ResultFilePaths(const ProgramDir& dir);

// The stop time as result.txt writes it: "2017年3月8日14时5分9秒", trailing zero parts left out
// ("…日9时" at 9:00:00, "…日9时0分5秒" at 9:00:05). GB18030.
std::string FormatStopTime(const LocalDateTime& when);

// One line of config\result.dat: award, prize and the winners of all its batches.
struct ResultLine {
  std::string awardName;
  std::string prizeName;
  std::vector<std::string> winners;
};

std::vector<ResultLine> LoadResultLog(const ProgramDir& dir);
// The same lines from the text of a result.dat (the current one or one kept in history).
std::vector<ResultLine> ParseResultLog(const std::string& text);
// The mark an abandoned winner carries after the entry, in both result files (GB18030).
const std::string& AbandonedMark();

// The result files' texts, for those who rebuild them from what a draw recorded (the verifier):
// result.dat's text of these lines; the block a stop appends to result.txt; result.txt without its
// last batch (the text after its last separator goes, as an undo leaves it; false when there is no
// separator); and the abandon mark put after `entry` in the newest block of `awardName` that holds it
// as a whole field (false when none does). Other blocks and text inside longer entries stay as they are.
std::string ResultLogText(const std::vector<ResultLine>& lines);
std::string ResultTextBlock(const std::string& awardName, const std::vector<std::string>& winners,
                            const LocalDateTime& when);
bool RemoveLastResultBlock(std::string& text);
bool MarkAbandonedInResultText(std::string& text, const std::string& awardName, const std::string& entry);

// The changes a stop, an undo and a given-up prize make to result.dat's text, for the file and for
// the copy the draw keeps in memory, so that the two cannot tell different stories. A batch joins the
// last line when `extendLastLine` and that line names the same prize, otherwise opens a line of its
// own. The last batch of `batchWinnerCount` winners goes from the last line (the whole line when it
// holds no more); its winners are returned, last one first. The newest line of `awardName` gets the
// abandon mark after its last unmarked field equal to each of `entries` (one occurrence per entry
// given); per entry, whether it was marked.
void AddBatchToResultLog(std::string& log, const std::string& awardName, const std::string& prizeName,
                         const std::vector<std::string>& winners, bool extendLastLine);
std::vector<std::string> RemoveLastBatchFromResultLog(std::string& log, std::size_t batchWinnerCount);
std::vector<bool> MarkAbandonedInResultLog(std::string& text, const std::string& awardName,
                                           const std::vector<std::string>& entries);

// Records a stopped batch: config\result.dat gets a new line, or the winners appended to its
// last line when `extendLastLine` (the batch continues the award drawn last) and that line names the
// same prize (a prize changed for one batch opens a line of its own), and result.txt
// gets one block. `winners` are in the order the stop left them. Within a step (FileStepUnderWay)
// both files are appended to, otherwise rewritten whole and atomically; either way both or neither
// change. False when either write failed.
bool RecordBatch(const ProgramDir& dir, const std::string& awardName, const std::string& prizeName,
                 const std::vector<std::string>& winners, bool extendLastLine, const LocalDateTime& when);

// Undo of the last batch of `batchWinnerCount` winners. The last line of config\result.dat loses
// its last winners, or goes whole when it holds no more than that many (the batch opened it);
// result.txt loses the text after its last separator.
struct RemovedBatch {
  std::vector<std::string> winners;  // last one first
  bool written = true;               // false when a file could not be rewritten
};
RemovedBatch RemoveLastBatch(const ProgramDir& dir, std::size_t batchWinnerCount);

// Marks `entry` as abandoned ("(已弃奖)" appended) in the newest result.dat line of `awardName`
// and in that award's result.txt blocks. Only whole, not yet marked entries of that award are
// touched. False when the entry was not found or a write failed.
bool MarkAbandoned(const ProgramDir& dir, const std::string& awardName, const std::string& entry);

// The same for several entries at once, with both files written once: either every found entry is
// marked in both files or, when a write fails, neither file changes. `entries` may name one entry
// twice when it won twice in that line; each occurrence is marked once.
struct AbandonMarks {
  std::vector<std::string> marked;  // the entries found and marked, in the order given
  bool written = true;              // false when a file could not be read or rewritten
};
AbandonMarks MarkAbandonedEntries(const ProgramDir& dir, const std::string& awardName,
                                  const std::vector<std::string>& entries);

// config\exit.ini, the resume record.
struct ExitRecord {
  std::vector<std::string> pool;
  std::vector<std::string> plan;
  std::string lastAwardName;
  int batchNo = 0;
  int drawnInAward = 0;
  // Sizes in bytes of config\result.dat and result.txt when the record was written (-1: not kept).
  // A stop writes the result files before the record, so a power loss in between leaves result files
  // longer than the record knows: the resume takes that unconfirmed batch back (TrimUnconfirmedResults).
  long long resultDatSize = -1;
  long long resultTxtSize = -1;
  // The draw is among those signed in: `pool` is what is left of the signed-in entries it was sealed
  // with (`presentCount` of them), never the whole list. Records without it are draws over the list.
  bool presentOnly = false;
  long long presentCount = 0;
  // The seal of the receipts the draw keeps (64 hexadecimal digits), so that a resume continues only
  // its own log. Empty in records of a draw without receipts and in those written before it was kept.
  std::string seal;

  bool operator==(const ExitRecord&) const = default;
};

// The record's text: the values, then a checksum line over them.
std::string ExitRecordText(const ExitRecord& record);
// Writes that text whole.
bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record);
bool DeleteExitRecord(const ProgramDir& dir);

// The checksum line's value over the record's text before it (16 hexadecimal digits).
std::string ExitRecordChecksum(std::string_view body);

// config\exit.ini as read: not found, a record whose every value parses and whose checksum
// matches, or found but damaged with the reason (GB18030) why it cannot be trusted.
struct ExitRecordFile {
  bool found = false;
  std::optional<ExitRecord> record;
  std::string problem;
};
ExitRecordFile LoadExitRecord(const ProgramDir& dir);
// The same for the file's text.
ExitRecordFile ParseExitRecord(std::string_view text);

// The record when it exists and is sound; nullopt otherwise. Values of any length are read whole.
std::optional<ExitRecord> ReadExitRecord(const ProgramDir& dir);

// Cuts each result file back to the size the record kept when it has grown beyond it since. Both
// files are first copied into history/ as they were; nothing is cut when that copy fails. False
// when the copy or a cut failed. The caller decides first that the surplus is only the batch
// that was being recorded.
bool TrimUnconfirmedResults(const ProgramDir& dir, const ExitRecord& record, const LocalDateTime& when);

}  // namespace kavrel
