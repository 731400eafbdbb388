#include "lists/workbook/sheet_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kavrel::workbook {

std::string ColumnName(int column) {
  std::string letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters;
}

bool SheetBuilder::Refuse(int row, int column) {
  const std::int64_t rows = std::max<std::int64_t>(static_cast<std::int64_t>(rows_.size()), row + std::int64_t{1});
  const std::int64_t columns = std::max(columnCount_, column + 1);
  failure_ = "表格的内容一直延伸到单元格" + ColumnName(column) + std::to_string(row + std::int64_t{1}) + "（" +
             std::to_string(rows) + "行×" + std::to_string(columns) + "列），超出了名单能使用的范围（最多" +
             std::to_string(kMaxListColumns) + "列、" + std::to_string(kMaxRows) +
             "行，行数×列数最多1000万），无法导入。这通常是表格远处有个别多余的内容：请在Excel中删除名单以外的行和列，"
             "或把名单复制到一个新的工作表，再重新导入。";
  return false;
}

bool SheetBuilder::Set(int row, int column, std::string text) {
  if (text.empty() || row < 0 || column < 0) return true;
  if (static_cast<std::size_t>(row) >= rows_.size() || column >= columnCount_) {
    const std::int64_t rows = std::max<std::int64_t>(static_cast<std::int64_t>(rows_.size()), row + std::int64_t{1});
    const int columns = std::max(columnCount_, column + 1);
    if (row >= kMaxRows || columns > kMaxListColumns || rows * columns > kMaxListCells) return Refuse(row, column);
  }
  if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);
  auto& cells = rows_[static_cast<std::size_t>(row)];
  // A row usually ends where the rows before it did: one allocation instead of one per doubling.
  if (cells.empty()) cells.reserve(static_cast<std::size_t>(std::max(columnCount_, column + 1)));
  if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(static_cast<std::size_t>(column) + 1);
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
  failure_.clear();
  return sheet;
}

}  // namespace kavrel::workbook
