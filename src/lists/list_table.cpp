#include "lists/list_table.h"

#include <algorithm>

#include "storage/codec.h"

namespace kavrel {

namespace {

const std::string kEmpty;

void Merge(CellFormat& into, const CellFormat& step) {
  if (step.face) into.face = step.face;
  if (step.heightPx) into.heightPx = step.heightPx;
  if (step.bold) into.bold = step.bold;
  if (step.colour) into.colour = step.colour;
  if (step.align) into.align = step.align;
}

}  // namespace

ListTable::ListTable() {
  ClearAll();
}

const std::string& ListTable::Cell(int row, int column) const {
  if (row < 0 || row >= rows_ || column < 0 || column >= ColumnCount()) return kEmpty;
  return columns_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

void ListTable::SetCell(int row, int column, std::string text) {
  if (row < 0 || row >= rows_ || column < 0 || column >= ColumnCount()) return;
  columns_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = std::move(text);
}

void ListTable::Resize(int rows, int columns) {
  rows = std::max(rows, 1);
  columns = std::max(columns, 1);
  columns_.resize(static_cast<std::size_t>(columns));
  widths_.resize(static_cast<std::size_t>(columns), kDefaultColumnWidth);
  for (auto& column : columns_) column.resize(static_cast<std::size_t>(rows));
  rows_ = rows;
}

void ListTable::ClearCells() {
  for (auto& column : columns_) std::fill(column.begin(), column.end(), std::string());
  ranges_.clear();
  std::fill(widths_.begin(), widths_.end(), kDefaultColumnWidth);
}

void ListTable::ClearAll() {
  columns_.assign(2, std::vector<std::string>(1));
  widths_.assign(2, kDefaultColumnWidth);
  ranges_.clear();
  rows_ = 1;
  fixedColour = kFixedColour;
  normalColour = kNormalColour;
  emptyColour = kNormalColour;
}

void ListTable::RemoveRows(const std::vector<bool>& remove) {
  // keptBefore[r]: how many rows below r survive, which is r's new index when it survives.
  std::vector<int> keptBefore(static_cast<std::size_t>(rows_) + 1, 0);
  for (int r = 0; r < rows_; ++r) {
    const bool gone = r >= 1 && static_cast<std::size_t>(r) < remove.size() && remove[static_cast<std::size_t>(r)];
    keptBefore[static_cast<std::size_t>(r) + 1] = keptBefore[static_cast<std::size_t>(r)] + (gone ? 0 : 1);
  }
  const int kept = keptBefore.back();
  if (kept == rows_) return;
  for (auto& column : columns_) {
    std::size_t out = 0;
    for (std::size_t r = 0; r < column.size(); ++r)
      if (keptBefore[r + 1] != keptBefore[r]) {
        if (out != r) column[out] = std::move(column[r]);
        ++out;
      }
    column.resize(out);
  }
  std::vector<FormatRange> moved;
  for (FormatRange range : ranges_) {
    const int r0 = keptBefore[static_cast<std::size_t>(std::clamp(range.row0, 0, rows_))];
    const int r1 = keptBefore[static_cast<std::size_t>(std::clamp(range.row1 + 1, 0, rows_))] - 1;
    if (r1 < r0) continue;
    range.row0 = r0;
    range.row1 = r1;
    moved.push_back(std::move(range));
  }
  ranges_ = std::move(moved);
  rows_ = kept;
}

void ListTable::RenumberRows() {
  auto& numbers = columns_.front();
  for (int r = 1; r < rows_; ++r) numbers[static_cast<std::size_t>(r)] = std::to_string(r);
}

void ListTable::ApplyFormat(int row0, int col0, int row1, int col1, const CellFormat& format) {
  if (row0 < 0 || col0 < 0) return;
  row1 = std::min(row1, rows_ - 1);
  col1 = std::min(col1, ColumnCount() - 1);
  if (row1 < row0 || col1 < col0) return;
  ranges_.push_back({row0, col0, row1, col1, format});
}

CellFormat ListTable::FormatAt(int row, int column) const {
  CellFormat result;
  for (const FormatRange& range : ranges_)
    if (row >= range.row0 && row <= range.row1 && column >= range.col0 && column <= range.col1)
      Merge(result, range.format);
  return result;
}

int ListTable::ColumnWidth(int column) const {
  if (column < 0 || column >= ColumnCount()) return kDefaultColumnWidth;
  return widths_[static_cast<std::size_t>(column)];
}

void ListTable::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= ColumnCount()) return;
  widths_[static_cast<std::size_t>(column)] = std::max(width, 0);
}

void FormatListTable(ListTable& table, int firstRow, int firstColumn, int lastRow, int lastColumn) {
  if (firstRow < 0 || firstColumn < 0) return;
  CellFormat bold;
  bold.bold = true;
  table.ApplyFormat(firstRow, firstColumn, lastRow, lastColumn, bold);
  if (firstRow >= 1) {
    CellFormat font;
    font.face = Gb("宋体");
    font.heightPx = 18;
    table.ApplyFormat(firstRow - 1, lastColumn, lastRow, lastColumn, font);
  }
  CellFormat blue;
  blue.colour = 0x0000FF;
  table.ApplyFormat(0, 0, 0, lastColumn, blue);
  CellFormat right;
  right.align = CellAlign::Right;
  table.ApplyFormat(0, 0, lastRow, 0, right);
  table.SetColumnWidth(0, 40);
}

std::string CountLineText(int dataRows) {
  if (dataRows <= 0) return Gb("还未导入任何数据");
  return Gb("参与抽奖名单共：") + std::to_string(dataRows) + Gb("个");
}

}  // namespace kavrel
