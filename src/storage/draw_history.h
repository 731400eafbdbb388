#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "storage/local_date_time.h"

namespace kavrel {

class ProgramDir;

// Why a draw's results were put aside into history/. Folders made before the reason was kept
// have none.
enum class HistoryReason { NotRecorded, NewStart, Restart, ModeSwitch, ListOrAwardsSaved, BroughtBack };

// Where one draw's files are: the current ones below the program folder, or a history folder
// (result.dat and result.txt side by side, as the move left them).
struct DrawRecord {
  std::filesystem::path folder;  // empty for the current draw
  std::filesystem::path resultDat;
  std::filesystem::path resultTxt;
  std::filesystem::path awardTable;  // the award table of that draw; may not exist
  std::filesystem::path note;        // our note (reason, titles); may not exist
  std::filesystem::path receipts;    // the draw's receipts and the list they were sealed over; may not exist
  std::filesystem::path sealedList;
  std::filesystem::path receiptsKey;  // the draw key, while the log has no closing line to reveal it
  bool current = false;
};

DrawRecord CurrentDraw(const ProgramDir& dir);
DrawRecord HistoryDraw(const std::filesystem::path& folder);

// The note kept beside a draw's results: why they were put aside and the event's titles then (GB18030).
struct HistoryNote {
  HistoryReason reason = HistoryReason::NotRecorded;
  std::string mainTitle;
  std::string subTitle;
};
HistoryNote ReadHistoryNote(const DrawRecord& record);

// Moves config\result.dat and result.txt (with the draw's receipts, when it has results) into a new
// history/<yyyyMMdd-HHmmss>/ folder, together with
// a note of why and of the titles, and a copy of the award table, so that the draw can be shown and
// exported later. The new folder; an empty path when there were no results to move; nullopt when a
// file could not be moved (the others are then back in place too).
std::optional<std::filesystem::path> PutResultsAside(const ProgramDir& dir, const LocalDateTime& when,
                                                     HistoryReason reason);

// The folders below history/, newest first (their names sort by time).
std::vector<std::filesystem::path> ListHistoryFolders(const ProgramDir& dir);

// Makes a past draw the current one: the current results are put aside first (nothing is lost),
// then the past draw's result files (and its receipts, when it has them) are copied into place; its
// history folder stays as it was.
enum class BringBackOutcome { Ok, SourceUnreadable, AsideFailed, WriteFailed };
BringBackOutcome BringBackResults(const ProgramDir& dir, const DrawRecord& past, const LocalDateTime& when);

}  // namespace kavrel
