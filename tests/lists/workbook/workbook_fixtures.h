#pragma once

#include <QString>
#include <QTemporaryDir>
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

// Every row of a read sheet as "|"-joined lines, padded to the used width, for compact asserts.
std::vector<std::string> Lines(const workbook::Sheet& sheet);

// GB18030 bytes as UTF-8, to compare imported texts with literals.
std::string Utf8(const std::string& gb);

}  // namespace kavrel::testing
