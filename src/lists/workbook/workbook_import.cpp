#include "lists/workbook/workbook_import.h"

#include <QString>
#include <algorithm>

#include "storage/codec.h"

namespace kavrel {

namespace {

// Column letters as a user reads them in the sheet: 0 -> "A", 26 -> "AA".
std::string ColumnLetters(int column) {
  std::string letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters;
}

// UTF-8 cell text to GB18030 in place; the all-ASCII cells (numbers, IDs) need no work.
class ToGb {
 public:
  void Convert(std::string& text) {
    bool ascii = true;
    for (const char c : text)
      if (static_cast<unsigned char>(c) >= 0x80) {
        ascii = false;
        break;
      }
    if (ascii) return;
    text = FromQt(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
};

}  // namespace

std::string WorkbookImport::FileFilter() {
  return Gb("Excel文件(*.xlsx *.xls *.xlsm);;OpenDocument(*.ods);;CSV(*.csv);;文本文件(*.txt);;所有文件(*)");
}

std::string WorkbookImport::FileDialogTitle() {
  return Gb("打开");
}

bool WorkbookImport::ConfirmStart() {
  return prompter_.Message(Gb("导入excel，当数据量较大时导入速度较慢，请根据进度条进度耐心等待，或者根据txt格式模板转成"
                              "txt格式上传。"),
                           Gb("导入提醒："), Buttons::OkCancel, Icon::Question) == Answer::Ok;
}

std::optional<int> WorkbookImport::ChooseSheet(const std::string& path) {
  workbook::ReadOptions options;
  options.sheetIndex = -1;
  const workbook::Workbook book = workbook::ReadWorkbook(ToQt(path), options);
  if (!book.ok()) {
    ReportFailure(Gb(book.errorText));
    return std::nullopt;
  }
  const long long count = static_cast<long long>(book.sheets.size());
  if (count == 0) {
    ReportFailure(Gb("工作簿中没有工作表。"));
    return std::nullopt;
  }
  const auto typed = prompter_.InputInteger(Gb("请输入要导入的表格"),
                                            Gb("打开的excel文件有" + std::to_string(count) +
                                               "个表，请输入要导入的表数（第一个表为1，第二个表为2，以此类推……）"),
                                            "");
  long long number = typed.value_or(1);
  // 0 and negative numbers name no sheet either, so they get the same question as a number
  // past the end instead of reading whatever such an index would reach.
  if (number > count || number < 1) {
    if (prompter_.Message(Gb("输入的表格数不存在，是否要打开第一个表"), Gb("信息："), Buttons::YesNo, Icon::None) !=
        Answer::Yes)
      return std::nullopt;
    number = 1;
  }
  return static_cast<int>(number - 1);
}

ImportedSheet WorkbookImport::ReadSheet(const std::string& path, int sheetIndex, const workbook::ProgressFn& progress,
                                        const std::atomic<bool>* cancel) {
  ImportedSheet result;
  workbook::ReadOptions options;
  options.sheetIndex = sheetIndex;
  options.progress = progress;
  options.cancel = cancel;
  workbook::Workbook book = workbook::ReadWorkbook(ToQt(path), options);
  if (book.error == workbook::ErrorKind::Cancelled) {
    result.cancelled = true;
    return result;
  }
  if (!book.ok()) {
    result.error = Gb(book.errorText);
    return result;
  }
  workbook::Sheet& sheet = book.sheets[static_cast<std::size_t>(sheetIndex)];
  const std::size_t columns = static_cast<std::size_t>(std::max(sheet.columnCount, 1));
  ToGb toGb;
  result.sheetName = sheet.name;
  toGb.Convert(result.sheetName);
  if (!sheet.rows.empty()) result.header = std::move(sheet.rows.front());
  result.header.resize(columns);
  for (std::string& cell : result.header) toGb.Convert(cell);
  const std::size_t dataRows = sheet.rows.empty() ? 0 : sheet.rows.size() - 1;
  result.rows.resize(dataRows);
  for (std::size_t r = 0; r < dataRows; ++r) {
    std::vector<std::string>& row = result.rows[r];
    row = std::move(sheet.rows[r + 1]);
    sheet.rows[r + 1] = {};  // give the memory back as we go: a million rows are held once, not twice
    row.resize(columns);
    for (std::string& cell : row) toGb.Convert(cell);
  }
  for (const int column : sheet.longNumberColumns) {
    const std::string& title = result.header[static_cast<std::size_t>(column)];
    result.warnings.push_back(
        Gb(ColumnLetters(column) + "列") + (title.empty() ? std::string() : Gb("“") + title + Gb("”")) +
        Gb("中有超过13位的数字，已按13位有效数字导入，后面的位数丢失了（如身份证号）。请在表格中把这一列设为文本格式，"
           "再重新导入。"));
  }
  result.ok = true;
  return result;
}

void WorkbookImport::ReportFailure(const std::string& reason) {
  std::string text = Gb("请求数据失败");
  if (!reason.empty()) text += "\n" + reason;
  prompter_.Message(text, Gb("信息："), Buttons::Ok, Icon::Error);
}

void WorkbookImport::ReportOutcome(const ImportedSheet& result) {
  if (result.cancelled) return;
  if (!result.ok) {
    ReportFailure(result.error);
    return;
  }
  for (const std::string& warning : result.warnings)
    prompter_.Message(warning, Gb("提示："), Buttons::Ok, Icon::Warning);
}

std::optional<ImportedSheet> WorkbookImport::Run(const workbook::ProgressFn& progress,
                                                 const std::atomic<bool>* cancel) {
  if (!ConfirmStart()) return std::nullopt;
  const auto path = prompter_.PickOpenFile(FileDialogTitle(), FileFilter());
  if (!path) return std::nullopt;
  const auto sheet = ChooseSheet(*path);
  if (!sheet) return std::nullopt;
  ImportedSheet result = ReadSheet(*path, *sheet, progress, cancel);
  ReportOutcome(result);
  if (!result.ok) return std::nullopt;
  return result;
}

}  // namespace kavrel
