#include "lists/workbook/workbook_import.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cctype>

#include "lists/workbook/sheet_builder.h"
#include "storage/codec.h"
#include "storage/participant_store.h"

namespace kavrel {

namespace {

// UTF-8 cell text to GB18030 in place; the all-ASCII cells (numbers, IDs) need no work. The same
// pass tells whether the text may hold a line break or TAB (a control character, or the lead
// byte of U+0085 or U+2028/U+2029), so the cells without one are not looked at again.
class ToGb {
 public:
  bool Convert(std::string& text) {
    // A table lookup and an OR per byte: this runs over every cell of a million-row sheet.
    std::uint8_t seen = 0;
    for (const char c : text) seen |= kByteClass[static_cast<unsigned char>(c)];
    if (seen & kNonAscii) {
      text = FromQt(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    return (seen & kMayBreak) != 0;
  }

 private:
  static constexpr std::uint8_t kNonAscii = 1;
  static constexpr std::uint8_t kMayBreak = 2;
  static constexpr std::array<std::uint8_t, 256> kByteClass = [] {
    std::array<std::uint8_t, 256> classes{};
    for (int b = 0; b < 0x20; ++b) classes[static_cast<std::size_t>(b)] = kMayBreak;
    for (int b = 0x80; b < 0x100; ++b) classes[static_cast<std::size_t>(b)] = kNonAscii;
    classes[0xC2] |= kMayBreak;  // U+0085
    classes[0xE2] |= kMayBreak;  // U+2028, U+2029
    return classes;
  }();
};

// The texts office programs show for a formula that failed.
bool IsFormulaError(std::string_view text) {
  static constexpr std::string_view kErrors[] = {"#NULL!",    "#DIV/0!",   "#VALUE!", "#REF!",     "#NAME?",
                                                 "#NUM!",     "#N/A",      "#SPILL!", "#CALC!",    "#FIELD!",
                                                 "#BLOCKED!", "#CONNECT!", "#BUSY!",  "#UNKNOWN!", "#GETTING_DATA"};
  if (text.empty() || (text.front() != '#' && text.front() != 'E')) return false;
  if (std::find(std::begin(kErrors), std::end(kErrors), text) != std::end(kErrors)) return true;
  // LibreOffice writes its errors as "Err:502".
  return text.size() == 7 && text.starts_with("Err:") && std::isdigit(static_cast<unsigned char>(text[4])) &&
         std::isdigit(static_cast<unsigned char>(text[5])) && std::isdigit(static_cast<unsigned char>(text[6]));
}

}  // namespace

std::string WorkbookImport::FileFilter() {
  return Gb("Excel文件(*.xlsx *.xls *.xlsm);;OpenDocument(*.ods);;CSV(*.csv);;文本文件(*.txt);;所有文件(*)");
}

std::string WorkbookImport::FileDialogTitle() {
  return Gb("打开");
}

bool WorkbookImport::ConfirmStart() {
  // A reminder, not a warning: Enter goes on with the import.
  return prompter_.MessageWithFocus(
             Gb("导入excel，当数据量较大时导入速度较慢，请根据进度条进度耐心等待，或者根据txt格式模板转成"
                "txt格式上传。"),
             Gb("导入提醒："), Buttons::OkCancel, Icon::Question, Answer::Ok) == Answer::Ok;
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
  // Every cell as the table will hold it: GB18030, on one line, its formula errors noted.
  const auto take = [&](std::string& cell, std::size_t sheetRow, std::size_t column) {
    if (cell.empty()) return;
    if (toGb.Convert(cell) && MakeSingleLine(cell)) ++result.cellsMadeSingleLine;
    if (IsFormulaError(cell)) result.errorCells.push_back({static_cast<int>(sheetRow), static_cast<int>(column), cell});
  };
  if (!sheet.rows.empty()) result.header = std::move(sheet.rows.front());
  result.header.resize(columns);
  for (std::size_t c = 0; c < columns; ++c) take(result.header[c], 1, c);
  const std::size_t dataRows = sheet.rows.empty() ? 0 : sheet.rows.size() - 1;
  result.rows.resize(dataRows);
  result.rowCount = dataRows;
  for (std::size_t r = 0; r < dataRows; ++r) {
    // Rows keep their own length (up to their last cell): the table fills the rest, so no grid as
    // wide as the widest row is ever built here.
    std::vector<std::string>& row = result.rows[r];
    row = std::move(sheet.rows[r + 1]);
    sheet.rows[r + 1] = {};  // give the memory back as we go: a million rows are held once, not twice
    for (std::size_t c = 0; c < row.size(); ++c) take(row[c], r + 2, c);
  }
  for (const int row : sheet.hiddenRows)
    if (row >= 1) result.hiddenRows.push_back(row + 1);
  for (const int row : sheet.headingRows)
    if (row >= 1) result.headingRows.push_back(row + 1);
  if (!result.HasEntries()) {
    result.empty = true;
    result.error = Gb("工作表“") + result.sheetName + Gb("”中没有名单（第一行以下没有任何内容），表格没有改变。");
    return result;
  }
  for (const int column : sheet.longNumberColumns) {
    const std::string& title = result.header[static_cast<std::size_t>(column)];
    result.warnings.push_back(
        Gb(workbook::ColumnName(column) + "列") + (title.empty() ? std::string() : Gb("“") + title + Gb("”")) +
        Gb("中有超过15位的数字（如身份证号）。表格文件本身只保存了前15位有效数字，后面的位数已经丢失，导入的是补了0的"
           "数字。请在表格中把这一列设为文本格式，重新输入这些数字，再重新导入。"));
  }
  result.ok = true;
  return result;
}

bool ImportedSheet::HasEntries() const {
  for (const auto& row : rows)
    for (const std::string& cell : row)
      if (!IsBlankEntry(cell)) return true;
  return false;
}

void WorkbookImport::AskAboutErrorCells(ImportedSheet& result) {
  if (result.errorCells.empty()) return;
  const std::size_t count = result.errorCells.size();
  std::string text =
      Gb("表格中有") + std::to_string(count) + Gb("个单元格是公式的错误值（如#REF!、#N/A），不是真正的名单内容：\n");
  constexpr std::size_t kListed = 8;
  for (std::size_t i = 0; i < count && i < kListed; ++i) {
    const ErrorCell& cell = result.errorCells[i];
    text += Gb("第") + std::to_string(cell.sheetRow) + Gb("行") + workbook::ColumnName(cell.column) + Gb("列：") +
            cell.text + "\n";
  }
  if (count > kListed) text += Gb("……\n");
  text += Gb("\n按【是】清空这些单元格，按【否】保留原样导入。");
  if (prompter_.Message(text, Gb("导入提醒："), Buttons::YesNo, Icon::Warning) != Answer::Yes) return;
  for (const ErrorCell& cell : result.errorCells) {
    const auto column = static_cast<std::size_t>(cell.column);
    if (cell.sheetRow == 1) {
      result.header[column].clear();
    } else {
      auto& row = result.rows[static_cast<std::size_t>(cell.sheetRow) - 2];
      if (column < row.size()) row[column].clear();
    }
  }
}

void WorkbookImport::AskAboutLeftOutRows(ImportedSheet& result) {
  std::vector<bool> leaveOut(result.rows.size(), false);
  const auto rowText = [&result](int sheetRow) {
    std::string text;
    for (const std::string& cell : result.rows[static_cast<std::size_t>(sheetRow) - 2])
      if (!IsBlankEntry(cell)) text += (text.empty() ? "" : "  ") + cell;
    return CutAtCharacter(text, 40) + (text.size() > 40 ? Gb("…") : "");
  };
  const auto ask = [&](const std::vector<int>& rows, const std::string& opening, const std::string& choices) {
    if (rows.empty()) return;
    std::string text = opening;
    constexpr std::size_t kListed = 8;
    for (std::size_t i = 0; i < rows.size() && i < kListed; ++i)
      text += Gb("第") + std::to_string(rows[i]) + Gb("行：") + rowText(rows[i]) + "\n";
    if (rows.size() > kListed) text += Gb("……\n");
    text += choices;
    if (prompter_.MessageWithFocus(text, Gb("导入提醒："), Buttons::YesNo, Icon::Question, Answer::No) == Answer::Yes)
      return;
    for (const int row : rows) leaveOut[static_cast<std::size_t>(row) - 2] = true;
  };
  ask(result.hiddenRows,
      Gb("表格中有") + std::to_string(result.hiddenRows.size()) +
          Gb("行被筛选隐藏（在Excel中看不到，例如筛选掉的离职人员）：\n"),
      Gb("\n按【是】导入这些行，按【否】不导入（推荐）。"));
  ask(result.headingRows,
      Gb("表格中有") + std::to_string(result.headingRows.size()) +
          Gb("行是跨列合并的一个单元格，像是标题或分组名称（如部门名），不像是人名：\n"),
      Gb("\n按【是】把这些行也作为名单导入，按【否】不导入（推荐）。"));
  if (std::find(leaveOut.begin(), leaveOut.end(), true) == leaveOut.end()) return;
  std::size_t kept = 0;
  for (std::size_t r = 0; r < result.rows.size(); ++r) {
    if (leaveOut[r]) continue;
    if (kept != r) result.rows[kept] = std::move(result.rows[r]);
    ++kept;
  }
  result.rows.resize(kept);
  result.rowCount = kept;
  result.hiddenRows.clear();
  result.headingRows.clear();
  result.errorCells.clear();  // their rows moved; they were asked about already
}

void WorkbookImport::AskAboutSheet(ImportedSheet& result) {
  AskAboutErrorCells(result);
  AskAboutLeftOutRows(result);
}

void WorkbookImport::ReportFailure(const std::string& reason) {
  std::string text = Gb("请求数据失败");
  if (!reason.empty()) text += "\n" + reason;
  prompter_.Message(text, Gb("信息："), Buttons::Ok, Icon::Error);
}

void WorkbookImport::ReportOutcome(const ImportedSheet& result) {
  if (result.cancelled) return;
  if (result.empty) {
    prompter_.Message(result.error, Gb("导入提醒："), Buttons::Ok, Icon::Information);
    return;
  }
  if (!result.ok) {
    ReportFailure(result.error);
    return;
  }
  for (const std::string& warning : result.warnings)
    prompter_.Message(warning, Gb("提示："), Buttons::Ok, Icon::Warning);
  if (result.cellsMadeSingleLine > 0)
    prompter_.Message(Gb("导入完成：共") + std::to_string(result.rowCount) + Gb("行。其中") +
                          std::to_string(result.cellsMadeSingleLine) +
                          Gb("个单元格里有换行或制表符，已换成空格：表格的一行就是一个抽奖名单。"),
                      Gb("导入提醒："), Buttons::Ok, Icon::Information);
}

std::optional<ImportedSheet> WorkbookImport::Run(const workbook::ProgressFn& progress,
                                                 const std::atomic<bool>* cancel) {
  if (!ConfirmStart()) return std::nullopt;
  const auto path = prompter_.PickOpenFile(FileDialogTitle(), FileFilter());
  if (!path) return std::nullopt;
  const auto sheet = ChooseSheet(*path);
  if (!sheet) return std::nullopt;
  ImportedSheet result = ReadSheet(*path, *sheet, progress, cancel);
  if (result.ok) AskAboutSheet(result);
  ReportOutcome(result);
  if (!result.ok) return std::nullopt;
  return result;
}

}  // namespace kavrel
