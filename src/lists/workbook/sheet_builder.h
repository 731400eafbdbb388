#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "lists/workbook/workbook.h"

namespace kavrel::workbook {

// Collects the cells of one sheet as a parser finds them. Empty cells are never stored, so the
// used size ends at the last non-empty cell however many formatted or repeated empty cells a
// file holds. The list editor holds a table as large as the used size, so a sheet whose cells
// reach beyond what a list can use is refused as soon as such a cell is found: one stray cell at
// the sheet's last corner would otherwise ask for a grid of seventeen billion cells.
class SheetBuilder {
 public:
  static constexpr int kMaxRows = 1048576;  // the largest sheet an office program writes
  static constexpr int kMaxColumns = 16384;
  // What a list can use: more columns than any list of people has, and a table (rows × columns)
  // of at most ten million cells, a full-height sheet of nine columns. Such a table takes some
  // hundreds of megabytes in the editor; anything larger would not fit a laptop's memory.
  static constexpr int kMaxListColumns = 1000;
  static constexpr std::int64_t kMaxListCells = 10'000'000;

  // Puts text at (row, column), both 0-based. False when the cell lies beyond what a list can use
  // (the parser then stops and fails with Failure()).
  bool Set(int row, int column, std::string text);
  // Why the last Set was refused (UTF-8).
  const std::string& Failure() const { return failure_; }

  // A number as the cell shows it: whole numbers up to 2^53 with every digit and no exponent,
  // larger whole numbers with the 15 significant digits a workbook keeps (lostDigits then set),
  // fractions to 15 significant digits.
  static std::string NumberText(double value, bool* lostDigits);
  void NoteLostDigits(int column) { longColumns_.insert(column); }
  // A row the sheet hides, and a merged range (0-based, inclusive) as the sheet declares them; Finish
  // keeps the hidden rows that hold something and finds the headings among the merged ranges.
  void NoteHiddenRow(int row) { hidden_.insert(row); }
  void NoteMerge(int firstRow, int lastRow, int firstColumn, int lastColumn);

  // Hands over the cells; the builder is empty afterwards.
  Sheet Finish(std::string name);

 private:
  bool Refuse(int row, int column);

  std::vector<std::vector<std::string>> rows_;
  std::set<int> longColumns_;
  std::set<int> hidden_;
  struct Merge {
    int row, firstColumn, lastColumn;
  };
  std::vector<Merge> merges_;
  int columnCount_ = 0;
  std::string failure_;
};

// A column as a user reads it in the sheet: 0 -> "A", 26 -> "AA", 16383 -> "XFD".
std::string ColumnName(int column);

}  // namespace kavrel::workbook
