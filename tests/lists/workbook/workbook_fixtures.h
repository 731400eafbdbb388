#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "lists/workbook/workbook.h"

namespace kavrel::testing {

// Writes a zip with the given parts (name -> content), each deflated.
void WriteZip(const QString& path, const std::vector<std::pair<std::string, std::string>>& parts);

// A minimal .xlsx from hand-written parts: the sheets' XML (sheetData and all) under the given
// relationship targets, an optional shared-string table and styles.
struct HandXlsx {
  std::vector<std::pair<std::string, std::string>> sheets;  // sheet name -> worksheet XML
  std::vector<std::string> targets;                         // relationship target per sheet
  std::string sharedStrings;                                // the <sst> part, or empty
  std::string styles;                                       // the <styleSheet> part, or empty
  bool date1904 = false;
};
void WriteHandXlsx(const QString& path, const HandXlsx& book);

// A worksheet part around the given <sheetData> content.
std::string Worksheet(const std::string& sheetData);

// An .ods with the given content.xml <office:spreadsheet> body.
void WriteOds(const QString& path, const std::string& spreadsheetBody);

void WriteBytes(const QString& path, const std::string& bytes);

// A compound file (the container of .xls and of password-protected .xlsx) whose directory
// holds streams of the given names; the streams themselves are empty.
std::string CompoundFileWithStreams(const std::vector<std::u16string>& names);

// A BIFF8 workbook (.xls) of one sheet, written record by record as Excel 97-2003 writes one, so
// that the cells FreeXL reads and the records it does not (formats, hidden rows, merged ranges,
// errors) can be set exactly.
class XlsBook {
 public:
  void Format(std::uint16_t index, const std::string& code);  // a number format, by its index
  std::uint16_t Xf(std::uint16_t format);                     // a cell style showing that format
  void Text(int row, int column, const std::string& utf8);
  void Number(int row, int column, double value, std::uint16_t xf = 0);
  void Error(int row, int column, std::uint8_t code);         // a constant error (BOOLERR)
  void FormulaError(int row, int column, std::uint8_t code);  // a formula whose result is an error
  void Boolean(int row, int column, bool value);
  void HideRow(int row);
  void Merge(int firstRow, int lastRow, int firstColumn, int lastColumn);
  // The compound file holding the workbook stream.
  std::string Bytes(const std::string& sheetName) const;

 private:
  std::string formats_;
  std::vector<std::uint16_t> xfFormats_ = std::vector<std::uint16_t>(16, 0);  // the 15 style XFs and one cell XF
  std::vector<std::string> strings_;
  std::string cells_;
  std::vector<int> hiddenRows_;
  std::string merges_;
  int rows_ = 0;
  int columns_ = 0;
};

// Every row of a read sheet as "|"-joined lines, padded to the used width, for compact asserts.
std::vector<std::string> Lines(const workbook::Sheet& sheet);

// GB18030 bytes as UTF-8, to compare imported texts with literals.
std::string Utf8(const std::string& gb);

}  // namespace kavrel::testing
