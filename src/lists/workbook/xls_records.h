#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavrel::workbook {

// What an .xls sheet holds beyond the cell values FreeXL gives: which cells hold a formula's error
// (FreeXL reads an error like a boolean, "#REF!" as 1), the zeros a cell's number format pads with,
// the rows the sheet hides and its merged ranges. Read from the workbook's BIFF8 records directly,
// as FreeXL offers none of these; everything is optional, so a file this reader cannot follow still
// imports with FreeXL's values.
struct XlsSheetExtras {
  struct Merge {
    int firstRow, lastRow, firstColumn, lastColumn;  // 0-based, inclusive
  };
  // Keyed by row * 65536 + column (BIFF8 has at most 65536 rows and 256 columns).
  std::unordered_map<std::uint32_t, std::string> errors;  // "#REF!", "#N/A", ...
  std::unordered_map<std::uint32_t, int> zeroPad;         // cells whose format pads whole numbers
  std::vector<int> hiddenRows;                            // 0-based
  std::vector<Merge> merges;

  static std::uint32_t Key(int row, int column) {
    return static_cast<std::uint32_t>(row) * 65536u + static_cast<std::uint32_t>(column);
  }
};

// The extras of the sheet named `sheetName` (UTF-8, as FreeXL names it), the `sheetIndex`-th sheet
// of the workbook; empty when the file's bytes (a compound file holding a "Workbook" stream) cannot
// be followed.
XlsSheetExtras ReadXlsExtras(std::string_view fileBytes, int sheetIndex, const std::string& sheetName);

}  // namespace kavrel::workbook
