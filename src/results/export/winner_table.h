#pragma once

#include <functional>
#include <string>
#include <vector>

#include "storage/award_store.h"
#include "storage/draw_history.h"
#include "storage/result_store.h"

namespace kavrel {

// One winner as the exports list it. Texts are GB18030, as everywhere below the UI.
struct WinnerRow {
  std::string awardName;
  std::string prizeName;             // the prize recorded with this winner's result line
  int number = 0;                    // 1-based, counted through all lines of the award
  std::string entry;                 // the entry as drawn, without the abandon mark
  std::vector<std::string> columns;  // the entry split back into the list's columns
  std::string drawnAt;               // the batch's time as result.txt gives it; empty when unknown
  bool abandoned = false;
  bool redrawn = false;  // drawn in a "补抽" batch of the award (a redraw after an abandon, or extra winners)
};

// One award as drawn, with its winners (the PDF prints a table for each): a result line, together with
// the "补抽" lines of the same award drawn after it, whose winners are marked as redrawn.
struct WinnerGroup {
  std::string awardName;
  std::string prizeName;
  std::size_t firstRow = 0;  // into WinnerTable::rows
  std::size_t rowCount = 0;
};

// One award across all its lines (its "补抽" lines included): the summary sheet's row.
struct AwardTotals {
  std::string awardName;
  std::string prizeNames;  // every prize the award was drawn with, joined by "、"
  std::string quota;       // from the award table of that draw; empty when unknown
  int drawn = 0;
  int abandoned = 0;
};

// Everything one draw's exports show, read from its result files. Nothing here is fatal: what
// cannot be read is noted in `problems` and the rest is still listed.
struct WinnerTable {
  std::string mainTitle;
  std::string subTitle;
  int entryColumns = 1;  // how many columns the entries split into (the widest entry decides)
  // The list's own names for those columns (GB18030, from its header row); used when there is one
  // for every column.
  std::vector<std::string> columnNames;
  std::vector<WinnerRow> rows;
  std::vector<WinnerGroup> groups;
  std::vector<AwardTotals> awards;
  std::vector<std::string> problems;  // UTF-8, for messages
  // The draw's event seal and the SHA-256 of its last receipt (hexadecimal), so a printed list can be
  // matched with the receipts; empty when the draw kept none.
  std::string seal;
  std::string lastReceiptHash;
};

// The columns a list entry was joined from: a list with several columns was saved as each chosen
// cell followed by two spaces, so an entry ending in two spaces splits at every two spaces. Any
// other entry is one column.
std::vector<std::string> SplitEntryColumns(const std::string& entry);

// Two spaces inside a cell split it too: the list editor's "姓名2转3(补空格)" writes 张三 as 张, two
// spaces, 三, so that two-character names line up with three-character ones on the stage. The list's
// rows all have the same columns, so an entry with more pieces than the fewest any entry of the list
// splits into has such a cell: its one-character pieces are joined back in pairs (张  三 in one column).
// `readList` gives the whole list (the receipts' copy of it); it is read only when the winners
// themselves split unevenly. Updates `entryColumns`.
void AlignEntryColumns(WinnerTable& table, const std::function<std::vector<std::string>()>& readList);

// One recorded batch of result.txt: its time, award and winners as written there.
struct LoggedBatch {
  std::string drawnAt;
  std::string awardName;
  std::vector<std::string> winners;
};
std::vector<LoggedBatch> ParseResultExport(const std::string& text);

// Builds the table from result lines, the batches of result.txt and the award table rows.
WinnerTable BuildWinnerTable(const std::vector<ResultLine>& lines, const std::vector<LoggedBatch>& batches,
                             const std::vector<AwardRow>& awardTable);

// Reads a draw's files (current or history) into the table; titles come from the note for a past
// draw and from the caller for the current one.
WinnerTable LoadWinnerTable(const DrawRecord& record, const std::string& mainTitle, const std::string& subTitle);

// Header texts of the winner sheet and the CSV, in column order (UTF-8): the entry columns are headed
// with the list's own column names where known, "中奖信息1"… otherwise; the last column, "备注",
// holds the marks of WinnerRemark.
std::vector<std::string> WinnerHeaders(const WinnerTable& table);

// "补抽", "已弃奖", both joined by "，", or nothing (UTF-8).
std::string WinnerRemark(const WinnerRow& row);

}  // namespace kavrel
