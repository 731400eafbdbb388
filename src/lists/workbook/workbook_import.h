#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "engine/ports/prompter.h"
#include "lists/workbook/workbook.h"

namespace kavrel {

// A cell that holds a formula's error (#REF!, #N/A, …) rather than anything a person is called.
struct ErrorCell {
  int sheetRow = 0;  // 1-based, as the sheet shows it (the header is row 1)
  int column = 0;    // 0-based sheet column (0 is A)
  std::string text;  // GB18030
};

// What a workbook import puts into the list table. Every text is GB18030, like the table's.
// The table gets header.size() + 1 columns: column 0 holds the row numbers, the sheet's column
// A goes to column 1, B to column 2 and so on; row 0 is the header, data rows follow.
struct ImportedSheet {
  bool ok = false;         // the whole sheet was read; only then is the table replaced
  bool cancelled = false;  // the user stopped it (no message is due)
  bool empty = false;      // read, but no row below the header holds anything (error says so)
  std::string error;       // why it could not be read, when neither ok nor cancelled
  std::string sheetName;
  std::vector<std::string> header;             // the sheet's first row; at least one cell
  std::vector<std::vector<std::string>> rows;  // the rows after it, at most header.size() cells each
  std::size_t rowCount = 0;                    // rows.size() as read (rows may be handed on before the report)
  std::vector<std::string> warnings;           // shown once each after the table is filled
  // Cells whose line breaks or TABs became spaces: one table row must be exactly one entry.
  int cellsMadeSingleLine = 0;
  std::vector<ErrorCell> errorCells;
  // Data rows (1-based sheet rows, as the sheet shows them) that the sheet hides, and those that are
  // one merged cell across the columns (headings): WorkbookImport asks whether to keep them.
  std::vector<int> hiddenRows;
  std::vector<int> headingRows;

  // Whether any data row holds a cell that is not blank.
  bool HasEntries() const;
};

// The workbook import of the list editor ("导入Excel(E)"), without a widget: the questions go
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

  // A read sheet holding formula errors: lists them and asks whether to keep them as they are;
  // cells not kept are emptied.
  void AskAboutErrorCells(ImportedSheet& result);

  // A read sheet with rows the sheet hides (a filter: "离职" left out) or headings made of one
  // merged cell ("研发部" across A:E): asks about each kind whether to import them; the rows not
  // imported leave the result. The answer that leaves them out has the focus.
  void AskAboutLeftOutRows(ImportedSheet& result);

  // Every question about a read sheet, in order: AskAboutErrorCells, then AskAboutLeftOutRows.
  void AskAboutSheet(ImportedSheet& result);

  // After the read: "请求数据失败" with the reason, or the warnings and the summary of what was
  // changed; nothing for a cancel.
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
