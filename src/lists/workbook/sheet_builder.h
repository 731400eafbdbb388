#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "lists/workbook/workbook.h"

namespace kavrel::workbook {

// Collects the cells of one sheet as a parser finds them. Empty cells are never stored, so the
// used size ends at the last non-empty cell however many formatted or repeated empty cells a
// file holds; the number of cell slots is capped so that a sparse file cannot blow up memory.
class SheetBuilder {
 public:
  static constexpr int kMaxRows = 1048576;  // the largest sheet an office program writes
  static constexpr int kMaxColumns = 16384;
  static constexpr std::int64_t kMaxSlots = 32'000'000;

  // Puts text at (row, column), both 0-based. False when the sheet grew past the slot cap
  // (the parser then stops with kTooManyCells); cells beyond the row or column limit are dropped.
  bool Set(int row, int column, std::string text);

  // A number shown as "%.13g"; remembers the column when digits were lost.
  static std::string NumberText(double value, bool* lostDigits);
  void NoteLostDigits(int column) { longColumns_.insert(column); }

  // Hands over the cells; the builder is empty afterwards.
  Sheet Finish(std::string name);

 private:
  std::vector<std::vector<std::string>> rows_;
  std::set<int> longColumns_;
  int columnCount_ = 0;
  std::int64_t slots_ = 0;
};

}  // namespace kavrel::workbook
