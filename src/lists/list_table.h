#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavrel {

enum class CellAlign : std::uint8_t { Left = 0, Centre = 1, Right = 2 };

// What a formatting step sets; unset fields leave the cell as it was.
struct CellFormat {
  std::optional<std::string> face;  // GB18030, e.g. "宋体"
  std::optional<int> heightPx;
  std::optional<bool> bold;
  std::optional<std::uint32_t> colour;  // 0xRRGGBB
  std::optional<CellAlign> align;

  bool operator==(const CellFormat&) const = default;
};

// One formatting step over a rectangle of cells, both corners included. Cells take the steps in
// the order they were applied, so a list of a million rows carries a handful of ranges instead of
// a style per cell.
struct FormatRange {
  int row0 = 0;
  int col0 = 0;
  int row1 = 0;
  int col1 = 0;
  CellFormat format;

  bool operator==(const FormatRange&) const = default;
};

// The list editor's table "高级表格_名单": row 0 is the header, column 0 holds the row numbers,
// data cells start at (1, 1). Cell texts are GB18030 bytes, held column by column so that the tools
// that work on one column (shuffle, padding) touch one contiguous array.
class ListTable {
 public:
  static constexpr int kDefaultColumnWidth = 60;
  static constexpr std::uint32_t kFixedColour = 0xC0C0C0;   // RGB(192, 192, 192)
  static constexpr std::uint32_t kNormalColour = 0xC0DCBF;  // RGB(192, 220, 191)

  // The design state: the header row and two columns, empty.
  ListTable();

  int RowCount() const { return rows_; }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // The index of the last row (0 when only the header exists) and of the last column.
  int DataRowCount() const { return rows_ - 1; }
  int LastColumn() const { return ColumnCount() - 1; }

  // "" outside the table.
  const std::string& Cell(int row, int column) const;
  // Ignored outside the table.
  void SetCell(int row, int column, std::string text);
  // Direct access to one column (row 0 is the header cell).
  std::vector<std::string>& Column(int column) { return columns_[static_cast<std::size_t>(column)]; }
  const std::vector<std::string>& Column(int column) const { return columns_[static_cast<std::size_t>(column)]; }

  // New size; new cells are empty, cut cells are gone, formatting stays. At least one row and one
  // column remain.
  void Resize(int rows, int columns);
  // Every cell and its formatting cleared, the size kept.
  void ClearCells();
  // The design state again: 1 row, 2 columns, default colours and widths.
  void ClearAll();

  // Removes the data rows (>= 1) for which remove[row] is true; formatting ranges move with the rows.
  void RemoveRows(const std::vector<bool>& remove);
  // Column 0 of the data rows becomes "1" … "n".
  void RenumberRows();

  // Formatting.
  void ApplyFormat(int row0, int col0, int row1, int col1, const CellFormat& format);
  CellFormat FormatAt(int row, int column) const;
  const std::vector<FormatRange>& Ranges() const { return ranges_; }
  void SetRanges(std::vector<FormatRange> ranges) { ranges_ = std::move(ranges); }
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  const std::vector<int>& ColumnWidths() const { return widths_; }

  std::uint32_t fixedColour = kFixedColour;
  std::uint32_t normalColour = kNormalColour;
  std::uint32_t emptyColour = kNormalColour;

  bool operator==(const ListTable&) const = default;

 private:
  int rows_ = 1;
  std::vector<std::vector<std::string>> columns_;
  std::vector<int> widths_;
  std::vector<FormatRange> ranges_;
};

// The common finishing step after an import or the generator: the range bold, the last column of
// the data (from the row above) in "宋体" 18 px when firstRow >= 1, the header blue, column 0
// right-aligned and 40 px wide. Ranges are clipped to the table; a negative first row or column
// changes nothing.
void FormatListTable(ListTable& table, int firstRow, int firstColumn, int lastRow, int lastColumn);

// "还未导入任何数据", or "参与抽奖名单共：" n "个" (GB18030).
std::string CountLineText(int dataRows);

}  // namespace kavrel
