// The workbook import: one target per format (KAVREL_FUZZ_FORMAT), each given what it is best
// mutated as. .xlsx: the worksheet, shared strings, styles and workbook parts (NUL-separated),
// zipped here; .ods: the spreadsheet body of content.xml, zipped here; .xls and .csv: the file.
#include <QFile>

#include "fuzz_support.h"
#include "lists/workbook/workbook.h"
#include "workbook_fixtures.h"

using namespace kavrel;

namespace {

void ReadAll(const QString& path) {
  workbook::ReadOptions options;
  options.sheetIndex = -1;
  const workbook::Workbook names = workbook::ReadWorkbook(path, options);
  options.sheetIndex = 0;
  const workbook::Workbook book = workbook::ReadWorkbook(path, options);
  if (!book.ok()) return;
  for (const auto& sheet : book.sheets) {
    if (sheet.rows.size() > static_cast<std::size_t>(sheet.rowCount)) fuzz::Fail("more rows than the used size");
    for (const auto& row : sheet.rows)
      if (row.size() > static_cast<std::size_t>(sheet.columnCount)) fuzz::Fail("a row wider than the used size");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::EnsureApp();
  const std::string_view input = fuzz::Bytes(data, size);
#if defined(KAVREL_FUZZ_XLSX)
  static const QString path = fuzz::ScratchPath("book.xlsx");
  const auto parts = fuzz::SplitParts(input, 4);
  testing::HandXlsx book;
  book.sheets = {{"Sheet1", parts[0]}};
  book.targets = {"worksheets/sheet1.xml"};
  book.sharedStrings = parts[1];
  book.styles = parts[2];
  book.date1904 = !parts[3].empty() && parts[3][0] == '1';
  QFile::remove(path);
  testing::WriteHandXlsx(path, book);
#elif defined(KAVREL_FUZZ_ODS)
  static const QString path = fuzz::ScratchPath("book.ods");
  QFile::remove(path);
  testing::WriteOds(path, std::string(input));
#elif defined(KAVREL_FUZZ_XLS)
  static const QString path = fuzz::ScratchPath("book.xls");
  fuzz::WriteScratch(path, input);
#else
  static const QString path = fuzz::ScratchPath("list.csv");
  fuzz::WriteScratch(path, input);
#endif
  ReadAll(path);
  return 0;
}
