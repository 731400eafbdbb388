#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "engine/ports/prompter.h"
#include "lists/workbook/workbook.h"

namespace kavrel {

// What a workbook import puts into the list table. Every text is GB18030, like the table's.
// The table gets header.size() + 1 columns: column 0 holds the row numbers, the sheet's column
// A goes to column 1, B to column 2 and so on; row 0 is the header, data rows follow.
struct ImportedSheet {
  bool ok = false;         // the whole sheet was read; only then is the table replaced
  bool cancelled = false;  // the user stopped it (no message is due)
  std::string error;       // why it could not be read, when neither ok nor cancelled
  std::string sheetName;
  std::vector<std::string> header;             // the sheet's first row; at least one cell
  std::vector<std::vector<std::string>> rows;  // the rows after it, each header.size() cells
  std::vector<std::string> warnings;           // shown once each after the table is filled
};

// The workbook import of the list editor ("导入Execl(E)"), without a widget: the questions go
// through the Prompter, the reading runs on whatever thread calls ReadSheet. The window calls
//   ConfirmStart() -> the file dialog with FileFilter() -> ChooseSheet(path)
//   -> ReadSheet(...) on a worker thread -> ReportOutcome(result) back on the UI thread,
// and replaces its table only when result.ok. Run() does the same on one thread.
class WorkbookImport {
 public:
  explicit WorkbookImport(Prompter& prompter) : prompter_(prompter) {}

  // The file dialog's filter, in Qt's "描述(*.x *.y);;…" form (GB18030).
  static std::string FileFilter();
  static std::string FileDialogTitle();

  // The reminder that large sheets take a while; false when cancelled.
  bool ConfirmStart();

  // Lists the sheets and asks which one to import (1-based in the box); returns the 0-based
  // index, or nullopt when the user declined or the file cannot be read (the reason shown).
  std::optional<int> ChooseSheet(const std::string& path);

  // Reads one sheet into the table's shape. Asks nothing, so it can run off the UI thread;
  // progress counts up to its total, `cancel` stops it between chunks.
  static ImportedSheet ReadSheet(const std::string& path, int sheetIndex, const workbook::ProgressFn& progress,
                                 const std::atomic<bool>* cancel);

  // After the read: "请求数据失败" with the reason, or the warnings; nothing for a cancel.
  void ReportOutcome(const ImportedSheet& result);

  // The whole sequence on the calling thread: reminder, file dialog, sheet box, read, report.
  // nullopt when nothing is to change in the table.
  std::optional<ImportedSheet> Run(const workbook::ProgressFn& progress = {},
                                   const std::atomic<bool>* cancel = nullptr);

 private:
  void ReportFailure(const std::string& reason);

  Prompter& prompter_;
};

}  // namespace kavrel
