// kavrel-sheet FILE [SHEET]: prints what the list editor's workbook import would put into its
// table - the header row, then every data row - so that users and support can see why a sheet
// imports as it does. It runs the very code the window runs.
#include <QByteArray>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <string>

#include "lists/workbook/sheet_builder.h"
#include "lists/workbook/workbook.h"
#include "lists/workbook/workbook_import.h"
#include "platform/utf8_console.h"
#include "storage/codec.h"

namespace {

// One decoder for the whole run: opening a GB18030 converter per cell costs more than the
// conversion itself.
std::string Utf8(const std::string& gb) {
  bool ascii = true;
  for (const char c : gb)
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return gb;
  return kavrel::ToQt(gb).toStdString();
}

// One cell as one field of a TAB-separated line: \, TAB, CR and LF written as \\, \t, \r, \n.
void AppendCell(std::string& line, const std::string& gb) {
  for (const char c : Utf8(gb)) {
    switch (c) {
      case '\\':
        line += "\\\\";
        break;
      case '\t':
        line += "\\t";
        break;
      case '\r':
        line += "\\r";
        break;
      case '\n':
        line += "\\n";
        break;
      default:
        line += c;
    }
  }
}

// A row is as wide as the header: the cells a row lacks are the table's empty ones.
void WriteRow(std::string& out, const std::vector<std::string>& cells, std::size_t width) {
  for (std::size_t i = 0; i < std::max(width, cells.size()); ++i) {
    if (i > 0) out += '\t';
    if (i < cells.size()) AppendCell(out, cells[i]);
  }
  out += '\n';
  if (out.size() > (1 << 20)) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
  }
}

int Fail(const std::string& utf8, int code) {
  std::fprintf(stderr, "%s\n", utf8.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Qt's arguments, not argv: on Windows argv holds the file name in the ANSI code page, which has no
  // room for most Chinese names.
  const kavrel::Utf8Console console;
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2 || args.size() > 3) {
    return Fail(
        "用法: kavrel-sheet 文件 [表数]\n"
        "按列表编辑器导入Excel的方式读取工作簿(.xlsx .xlsm .xls .ods .csv)，先输出表头行，再输出每一行数据，"
        "单元格之间用TAB分隔(UTF-8)。表数从1开始，默认为第一个表。",
        2);
  }
  const QString file = args.at(1);
  const std::string path = kavrel::FromQt(file);
  long long sheet = 1;
  if (args.size() == 3) {
    bool number = false;
    sheet = args.at(2).toLongLong(&number);
    if (!number) return Fail("表数必须是一个数字。", 2);
  }
  kavrel::workbook::ReadOptions listing;
  listing.sheetIndex = -1;
  const auto book = kavrel::workbook::ReadWorkbook(file, listing);
  if (!book.ok()) return Fail("请求数据失败\n" + book.errorText, 1);
  if (sheet < 1 || sheet > static_cast<long long>(book.sheets.size()))
    return Fail("输入的表格数不存在（工作簿有" + std::to_string(book.sheets.size()) + "个表）。", 1);

  const kavrel::ImportedSheet result =
      kavrel::WorkbookImport::ReadSheet(path, static_cast<int>(sheet - 1), {}, nullptr);
  if (result.empty) return Fail(Utf8(result.error), 1);
  if (!result.ok) return Fail("请求数据失败\n" + Utf8(result.error), 1);
  std::string out;
  WriteRow(out, result.header, result.header.size());
  for (const auto& row : result.rows) WriteRow(out, row, result.header.size());
  std::fwrite(out.data(), 1, out.size(), stdout);
  for (const std::string& warning : result.warnings) std::fprintf(stderr, "%s\n", Utf8(warning).c_str());
  if (result.cellsMadeSingleLine > 0)
    std::fprintf(stderr, "%d个单元格里的换行或制表符已换成空格。\n", result.cellsMadeSingleLine);
  for (const kavrel::ErrorCell& cell : result.errorCells)
    std::fprintf(stderr, "第%d行%s列是公式的错误值：%s\n", cell.sheetRow,
                 kavrel::workbook::ColumnName(cell.column).c_str(), Utf8(cell.text).c_str());
  return std::fflush(stdout) == 0 ? 0 : 1;
}
