#pragma once

#include <xlsxwriter.h>

namespace kavrel {

// libxlsxwriter, reached through these pointers rather than linked in. How a shared library is found
// and kept apart from the program's own symbols depends on the system, so the loading lives here and
// the export sees only this table. It zips the workbook with the
// system's minizip, and QuaZip (the workbook import) carries its own minizip under the same function
// names: linked into one program, one library's calls land in the other's functions and the export
// crashes. Loaded on first use apart from the program's symbols, each side keeps its own zip code.
struct XlsxLibrary {
  decltype(&::workbook_new) workbookNew = nullptr;
  decltype(&::workbook_add_format) addFormat = nullptr;
  decltype(&::format_set_bold) setBold = nullptr;
  decltype(&::workbook_add_worksheet) addWorksheet = nullptr;
  decltype(&::workbook_close) workbookClose = nullptr;
  decltype(&::worksheet_write_string) writeString = nullptr;
  decltype(&::worksheet_write_number) writeNumber = nullptr;
  decltype(&::worksheet_freeze_panes) freezePanes = nullptr;
  decltype(&::worksheet_autofilter) autofilter = nullptr;
  decltype(&::worksheet_set_column) setColumn = nullptr;

  // nullptr when the library is not installed (or lacks one of the functions).
  static const XlsxLibrary* Get();
};

}  // namespace kavrel
