#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kavrel::workbook {

// One worksheet as a user sees it in an office program: every cell as the text it shows
// (numbers by SheetBuilder::NumberText, padded with zeros where the cell's number format says so;
// dates "yyyy-MM-dd[ HH:mm]", booleans TRUE/FALSE), UTF-8.
struct Sheet {
  std::string name;
  // The used size: up to the last row and the last column that hold a non-empty cell, counted
  // from A1. Empty trailing rows and columns (formatting only, or an office suite's million
  // repeated empty rows) do not count.
  int rowCount = 0;
  int columnCount = 0;
  // rows[r][c] is the cell of sheet row r + 1, column c + 1. A row may be shorter than
  // columnCount: the missing cells are empty.
  std::vector<std::vector<std::string>> rows;
  // 0-based columns holding a whole number beyond what a workbook keeps exactly (an 18-digit ID
  // typed as a number: its last digits are lost in the file itself); the import warns about them
  // so the column can be stored as text.
  std::vector<int> longNumberColumns;
  // 0-based rows holding something that the sheet hides (a filter, or rows hidden by hand): people
  // the organiser left out, who would otherwise come back unseen.
  std::vector<int> hiddenRows;
  // 0-based rows that are one merged cell across the sheet's columns and hold nothing else: a
  // heading (a department's name above its people), no person.
  std::vector<int> headingRows;
};

// A sheet known by its name only (cells not read).
inline Sheet NamedSheet(std::string name) {
  Sheet sheet;
  sheet.name = std::move(name);
  return sheet;
}

enum class Format { Unknown, Xlsx, Xls, Ods, Csv };

enum class ErrorKind {
  None,
  Unreadable,    // missing file, no permission, read error
  NotAWorkbook,  // content of no kind we read
  Encrypted,     // password-protected workbook
  Xlsb,          // binary Excel workbook
  Damaged,       // broken zip, broken XML, broken BIFF
  TooLarge,      // parts that would unpack to more than the cap
  NoSuchSheet,   // the requested sheet index is outside the workbook
  Cancelled,
};

// Reports progress as work done out of a total (both in the same unit, bytes for most formats).
// Called from the reading thread, a few hundred times per file at most.
using ProgressFn = std::function<void(std::int64_t done, std::int64_t total)>;

struct ReadOptions {
  // Which sheet to read cells of (0-based). -1 lists the sheet names only (cells left empty,
  // sizes 0), which is cheap for every format but .ods, whose names live in the large part.
  int sheetIndex = 0;
  ProgressFn progress;
  const std::atomic<bool>* cancel = nullptr;  // set to true from another thread to stop the read
  // Largest number of bytes any one part may unpack to, and all parts together.
  std::int64_t unpackCap = std::int64_t{1} << 30;
};

struct Workbook {
  Format format = Format::Unknown;
  ErrorKind error = ErrorKind::None;
  std::string errorText;      // a clear Chinese message naming the reason (UTF-8); empty on success
  std::vector<Sheet> sheets;  // every sheet in workbook order; only the chosen one holds cells

  bool ok() const { return error == ErrorKind::None; }
};

// The one entry point: finds the type from the file's content (not its name) and reads it.
// Safe to run on any thread; touches no widget.
Workbook ReadWorkbook(const QString& path, const ReadOptions& options);

// The type of a file from its first bytes and, for zips, the names of the parts inside.
Format SniffFormat(const QString& path);

}  // namespace kavrel::workbook
