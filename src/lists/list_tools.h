#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/list_table.h"

namespace kavrel {

class RandomSource;

// The list tools as plain operations on the table; the questions and reports around them live in
// ListEditor.

// Bytes of the GB18030 character that starts at `pos` (1, 2 or 4).
std::size_t CharBytes(std::string_view text, std::size_t pos);
// The largest character boundary not beyond `pos` (positions are clamped into the text).
std::size_t SnapToCharStart(std::string_view text, std::ptrdiff_t pos);
// Deletes every ASCII space and every full-width space (A1 A1).
std::string RemoveSpaces(std::string_view text);

// Text import: the cells and formatting cleared (the column count kept), one data row per line in
// column 1, headers "序号" / "抽奖名单", rows numbered, then FormatListTable(1, 0, n, 1).
void FillFromLines(ListTable& table, std::vector<std::string> lines);

// A worksheet read by a workbook reader: the table becomes (rows + 1) × (width + 1) cells, column 0
// headed "序号" and numbered 1…n, the sheet's header cells and rows in columns 1… (its column A in
// column 1), every cell centred, then FormatListTable(0, 0, rows, last column). Cells are GB18030.
void FillFromSheet(ListTable& table, std::vector<std::string> header, std::vector<std::vector<std::string>> rows);

// The ordered-number generator's input, as typed.
struct GeneratorInput {
  std::string prefix;
  std::string suffix;
  std::string start;
  std::string end;
  bool clearFirst = true;
  bool exclude4 = false;
  std::array<bool, 10> excludedLastDigits{};
};
// More rows than a list editor can sensibly hold is refused before anything is built.
inline constexpr double kMaxGeneratedRows = 10000000;
// How many numbers the range spans before exclusions (E − B + 1, rounded).
double GeneratorSpan(const GeneratorInput& input);
// Appends the numbers (clearing first when asked) and formats them; `excludeLastDigits` false
// ignores the last-digit boxes (a suffix is set). Numbers are zero-padded to the width of the
// span's count, or to the width of a start or end typed with leading zeros ("0001") when that is
// wider, and never lose a digit. Returns the rows added.
int GenerateNumbers(ListTable& table, const GeneratorInput& input, bool excludeLastDigits);

// "名单转等长(补空格)": spaces removed, then P spaces inserted at byte S (and again 6 bytes before
// the end), every cut moved back to a character boundary.
void PadEqualLength(ListTable& table, int start, int spaces);
// "姓名2转3(补空格)": names of exactly two characters in table column `column` get two spaces between
// them. Returns whether any cell changed.
bool PadTwoCharNames(ListTable& table, int column);

// One Fisher–Yates pass over the data cells of column 1; row numbers stay.
void ShuffleColumn(ListTable& table, RandomSource& random);

// A data row is blank when its column-1 cell is empty or "0". Returns the rows removed.
int DeleteBlankRows(ListTable& table);
// Whole rows: a row is a duplicate of an earlier one when every data column holds the same entry
// (EntryKey: blanks around and between words do not count); rows whose data cells are all blank or
// "0" are never duplicates. The first survives.
struct DuplicateRow {
  int row;    // the later row
  int first;  // the earlier row it repeats
};
std::vector<DuplicateRow> FindDuplicateRows(const ListTable& table);
// Removes them. Returns the rows removed; rows are renumbered.
int DeleteDuplicateRows(ListTable& table);

// The search of "查找(F)" / "查找下一个(N)", kept for the whole run of the program.
struct FindState {
  std::string text;  // empty: no search active
  int lastRow = 0;
  int column = 0;
};
// The next row after state.lastRow whose cell in the search column contains the search text
// (spaces removed from both, matched at character boundaries; an empty text matches any non-empty
// cell). Updates lastRow when found.
std::optional<int> FindNextRow(const ListTable& table, FindState& state);

// Clipboard text of a rectangle: cells joined by TAB, rows by CR LF.
std::string CopyCells(const ListTable& table, int row0, int col0, int row1, int col1);
// Pastes text at (row, column): a line per row (LF, a CR before it dropped), TAB or comma to the
// next column; cells beyond the table are dropped. Returns whether anything was written.
bool PasteCells(ListTable& table, int row, int column, std::string_view text);

// The display-column answer ("2-3") as table columns (the row-number column is 0); numbers that
// name no column are skipped.
std::vector<int> DisplayColumns(std::string_view answer, int lastColumn);
// The set.dat text: with one data column each entry is the cell of column 1; otherwise each listed
// column's cell followed by two spaces. Line breaks and TABs inside an entry become spaces
// (MakeSingleLine), so the list has exactly one line per row. Every entry ends with CR LF; built
// in one piece, so a million rows need no vector of entries on the way.
std::string BuildListText(const ListTable& table, const std::vector<int>& columns);

}  // namespace kavrel
