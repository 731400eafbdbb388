#include "lists/workbook/sheet_builder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kavrel::workbook {

bool SheetBuilder::Set(int row, int column, std::string text) {
  if (text.empty() || row < 0 || column < 0 || row >= kMaxRows || column >= kMaxColumns) return true;
  if (static_cast<std::size_t>(row) >= rows_.size()) {
    slots_ += row + 1 - static_cast<std::int64_t>(rows_.size());
    if (slots_ > kMaxSlots) return false;
    rows_.resize(static_cast<std::size_t>(row) + 1);
  }
  auto& cells = rows_[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(column) >= cells.size()) {
    slots_ += column + 1 - static_cast<std::int64_t>(cells.size());
    if (slots_ > kMaxSlots) return false;
    cells.resize(static_cast<std::size_t>(column) + 1);
  }
  cells[static_cast<std::size_t>(column)] = std::move(text);
  if (column + 1 > columnCount_) columnCount_ = column + 1;
  return true;
}

std::string SheetBuilder::NumberText(double value, bool* lostDigits) {
  // Whole numbers below 10^13 (IDs, counts, phone numbers) print the same through "%.13g" and as
  // integers; the integer path is several times faster and most cells of a list take it.
  if (value == std::floor(value) && std::fabs(value) < 1e13 && !(value == 0 && std::signbit(value))) {
    if (lostDigits != nullptr) *lostDigits = false;
    return std::to_string(static_cast<long long>(value));
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  // Only whole numbers count: an ID or a phone number typed as a number. Fractions such as
  // 0.1 + 0.2 always carry noise past the 13th digit that nobody wants to see.
  if (lostDigits != nullptr)
    *lostDigits = std::isfinite(value) && std::fabs(value) >= 1e13 && value == std::floor(value) &&
                  std::strtod(buffer, nullptr) != value;
  return buffer;
}

Sheet SheetBuilder::Finish(std::string name) {
  Sheet sheet;
  sheet.name = std::move(name);
  sheet.rowCount = static_cast<int>(rows_.size());
  sheet.columnCount = columnCount_;
  sheet.rows = std::move(rows_);
  sheet.longNumberColumns.assign(longColumns_.begin(), longColumns_.end());
  rows_.clear();
  longColumns_.clear();
  columnCount_ = 0;
  slots_ = 0;
  return sheet;
}

}  // namespace kavrel::workbook
