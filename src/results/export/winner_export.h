#pragma once

#include <QByteArray>
#include <QString>

#include "results/export/winner_table.h"

class QPrinter;

namespace kavrel {

// CsvExcelSafe: the CSV with every cell that Excel would turn into a number (staff numbers with a
// leading zero, ID and long phone numbers) written as ="0194", so that opening it straight in Excel keeps
// every digit. Other programs then show the formula's result or the formula itself.
enum class ExportFormat { Xlsx, Csv, CsvExcelSafe, Pdf };

// The outcome of one export; `message` says what went wrong, for the user.
struct ExportResult {
  bool ok = false;
  QString message;
};

// Writes the winners to `target` in the given format. The file is written beside the target
// under a temporary name and renamed over it only when complete, so a failure (a folder that
// cannot be written, a full disk) leaves no half-written file and an earlier file untouched.
ExportResult ExportWinners(const WinnerTable& table, ExportFormat format, const QString& target);

// The bytes of the CSV export: UTF-8 with a byte-order mark (spreadsheet programs then read the
// Chinese texts right), CR LF line ends, the header row and one row per winner. `excelSafe`: cells
// Excel would read as numbers are written as ="…".
QByteArray WinnersCsv(const WinnerTable& table, bool excelSafe = false);

// Whether Excel, opening a CSV file, would read this text as a number or a date and so could drop a
// leading zero, digits beyond the 15th, or change what it shows.
bool ExcelWouldConvert(const QByteArray& utf8);

// Writes the workbook to `file` directly: sheets "中奖名单" and "汇总". False when the library failed.
bool WriteWinnersXlsx(const WinnerTable& table, const QString& file);
// Whether the workbook library can open `file`: it takes the name in the system's 8-bit encoding
// (UTF-8 on Linux, the ANSI code page on Windows), which may not hold every character of a name.
bool XlsxTakesFileName(const QString& file);

// Lays the winners out on the printer's pages (a PDF file or paper): the event titles, a table per
// award line, "第 n 页 / 共 m 页" at the foot of every page. Text stays text, so it can be selected.
void PrintWinners(const WinnerTable& table, QPrinter& printer);

}  // namespace kavrel
