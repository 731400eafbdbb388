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
  if (lostDigits != nullptr) *lostDigits = false;
  // Every whole number a double holds exactly (below 2^53: IDs, card and phone numbers) in full. From
  // 2^53 on a double no longer tells neighbouring integers apart (...993 is read as ...992).
  constexpr double kExact = 9007199254740992.0;  // 2^53
  const bool whole = std::isfinite(value) && value == std::floor(value);
  if (whole && std::fabs(value) < kExact) {
    if (value == 0) return "0";  // -0 too
    return std::to_string(static_cast<long long>(value));
  }
  char buffer[48];
  if (whole && std::fabs(value) < 1e21) {
    // Beyond 2^53 a workbook keeps 15 significant digits (an 18-digit ID typed as a number): those,
    // then zeros, as an office program shows the cell; the import warns that digits were lost.
    std::snprintf(buffer, sizeof buffer, "%.14e", value);  // "-1.10101199001011e+17"
    const std::string sci = buffer;
    const std::size_t e = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + e + 1);
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
      if (sci[i] >= '0' && sci[i] <= '9') digits += sci[i];
    digits.resize(static_cast<std::size_t>(exponent) + 1, '0');
    if (lostDigits != nullptr) *lostDigits = true;
    return (value < 0 ? "-" : "") + digits;
  }
  // Fractions as office programs show them, to 15 significant digits: 0.1 + 0.2 is 0.3.
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

void SheetBuilder::NoteMerge(int firstRow, int lastRow, int firstColumn, int lastColumn) {
  // Only ranges across columns can be headings; a range's text stands in its first cell.
  if (firstRow < 0 || lastRow < firstRow || firstColumn < 0 || lastColumn <= firstColumn) return;
  if (merges_.size() < static_cast<std::size_t>(kMaxRows)) merges_.push_back({firstRow, firstColumn, lastColumn});
}

Sheet SheetBuilder::Finish(std::string name) {
  Sheet sheet;
  sheet.name = std::move(name);
  sheet.rowCount = static_cast<int>(rows_.size());
  sheet.columnCount = columnCount_;
  sheet.rows = std::move(rows_);
  sheet.longNumberColumns.assign(longColumns_.begin(), longColumns_.end());
  const auto holdsSomething = [&sheet](int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= sheet.rows.size()) return false;
    for (const std::string& cell : sheet.rows[static_cast<std::size_t>(row)])
      if (!cell.empty()) return true;
    return false;
  };
  for (const int row : hidden_)
    if (holdsSomething(row)) sheet.hiddenRows.push_back(row);
  // A heading spans at least half of the used columns (two at least) and the row holds nothing
  // outside it: a name merged over two cells of a wide list stays a name.
  std::set<int> headings;
  for (const Merge& m : merges_) {
    const int width = m.lastColumn - m.firstColumn + 1;
    if (width * 2 < columnCount_ || !holdsSomething(m.row)) continue;
    const auto& cells = sheet.rows[static_cast<std::size_t>(m.row)];
    bool inside = true;
    for (std::size_t c = 0; c < cells.size() && inside; ++c)
      inside = cells[c].empty() || (static_cast<int>(c) >= m.firstColumn && static_cast<int>(c) <= m.lastColumn);
    if (inside) headings.insert(m.row);
  }
  sheet.headingRows.assign(headings.begin(), headings.end());
  hidden_.clear();
  merges_.clear();
  rows_.clear();
  longColumns_.clear();
  columnCount_ = 0;
  failure_.clear();
  return sheet;
}

}  // namespace kavrel::workbook
