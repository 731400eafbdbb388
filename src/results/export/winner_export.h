#pragma once

#include <QByteArray>
#include <QString>

#include "results/export/winner_table.h"

class QPrinter;

namespace kavrel {

enum class ExportFormat { Xlsx, Csv, Pdf };

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
// Chinese texts right), CR LF line ends, the header row and one row per winner.
QByteArray WinnersCsv(const WinnerTable& table);

// Writes the workbook to `file` directly: sheets "中奖名单" and "汇总". False when the library failed.
bool WriteWinnersXlsx(const WinnerTable& table, const QString& file);

// Lays the winners out on the printer's pages (a PDF file or paper): the event titles, a table per
// award line, "第 n 页 / 共 m 页" at the foot of every page. Text stays text, so it can be selected.
void PrintWinners(const WinnerTable& table, QPrinter& printer);

}  // namespace kavrel
