#include "lists/workbook/xls_reader.h"

#include <freexl.h>

#include <QDir>
#include <QFile>
#include <optional>

#include "lists/workbook/date_text.h"
#include "lists/workbook/sheet_builder.h"
#include "lists/workbook/xls_records.h"
#include "storage/reserved_file.h"

namespace kavrel::workbook {

namespace {

constexpr const char* kDamagedXls = "文件已损坏或不是有效的Excel 97-2003工作簿(.xls)，无法读取。";
constexpr const char* kNoWorkbookInside =
    "这个文件里没有Excel工作表，无法导入。如果它是设置了打开密码的工作簿，请在Excel或WPS中取消密码后另存，再导入。";
constexpr const char* kOldXls = "不支持Excel 5.0及更早版本的工作簿，请在Excel中另存为.xlsx后再导入。";

class FreeXlHandle {
 public:
  ~FreeXlHandle() {
    if (handle_ != nullptr) freexl_close(handle_);
  }
  const void** out() { return &handle_; }
  const void* get() const { return handle_; }

 private:
  const void* handle_ = nullptr;
};

// The name FreeXL is given. It opens the file with the C library's narrow fopen, which reads the name
// in the system's 8-bit encoding (the ANSI code page on Windows): a file whose name that encoding
// cannot hold (Chinese on a western Windows) is read from a copy in the temporary folder, removed
// after the read.
class NarrowName {
 public:
  explicit NarrowName(const QString& path) : bytes_(QFile::encodeName(path)) {
    if (QFile::decodeName(bytes_) == path || !QFile::exists(path)) return;
    copy_.emplace(QDir::tempPath(), QStringLiteral("kavrel-xls-"), QStringLiteral("xls"));
    if (!copy_->ok()) return;
    QFile::remove(copy_->name());  // QFile::copy writes no file that exists
    if (QFile::copy(path, copy_->name())) bytes_ = QFile::encodeName(copy_->name());
  }
  const char* get() const { return bytes_.constData(); }

 private:
  QByteArray bytes_;
  std::optional<ReservedFile> copy_;  // removed with this
};

std::string CellText(const FreeXL_CellValue& cell, bool* lostDigits) {
  *lostDigits = false;
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return std::to_string(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return SheetBuilder::NumberText(cell.value.double_value, lostDigits);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
      return cell.value.text_value != nullptr ? cell.value.text_value : "";
    case FREEXL_CELL_DATETIME: {
      // "YYYY-MM-DD HH:MM:SS" -> "yyyy-MM-dd HH:mm", the date alone at midnight.
      std::string text = cell.value.text_value != nullptr ? cell.value.text_value : "";
      if (text.size() >= 16) text.resize(text.compare(10, 9, " 00:00:00") == 0 ? 10 : 16);
      return text;
    }
    case FREEXL_CELL_TIME: {
      std::string text = cell.value.text_value != nullptr ? cell.value.text_value : "";
      if (text.size() >= 5) text.resize(5);
      return text;
    }
    default:
      return {};
  }
}

}  // namespace

void ReadXls(const QString& path, ReadContext& context, Workbook& out) {
  out.format = Format::Xls;
  const NarrowName name(path);  // outlives the handle
  FreeXlHandle xls;
  const int opened = freexl_open(name.get(), xls.out());
  if (opened == FREEXL_FILE_NOT_FOUND) {
    context.Fail(ErrorKind::Unreadable, "文件不存在或无法读取。");
    return;
  }
  if (opened == FREEXL_BIFF_WORKBOOK_NOT_FOUND) {
    // An Office container without a workbook inside: another Office document, or a workbook whose
    // encryption was not recognised. It is no .xls, so the message must not call it one.
    context.Fail(ErrorKind::NotAWorkbook, kNoWorkbookInside);
    return;
  }
  if (opened != FREEXL_OK) {
    context.Fail(ErrorKind::Damaged, kDamagedXls);
    return;
  }
  unsigned int info = 0;
  if (freexl_get_info(xls.get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
    context.Fail(ErrorKind::Encrypted, texts::kEncrypted);
    return;
  }
  if (freexl_get_info(xls.get(), FREEXL_BIFF_VERSION, &info) == FREEXL_OK && info != FREEXL_BIFF_VER_8 &&
      info != FREEXL_UNKNOWN) {
    context.Fail(ErrorKind::NotAWorkbook, kOldXls);
    return;
  }
  unsigned int sheetCount = 0;
  if (freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK) {
    context.Fail(ErrorKind::Damaged, kDamagedXls);
    return;
  }
  for (unsigned int i = 0; i < sheetCount && i < 65535; ++i) {
    const char* sheetName = nullptr;
    freexl_get_worksheet_name(xls.get(), static_cast<unsigned short>(i), &sheetName);
    out.sheets.push_back(NamedSheet(sheetName != nullptr ? sheetName : ""));
  }
  const int index = context.options().sheetIndex;
  if (index < 0) return;
  if (index >= static_cast<int>(out.sheets.size())) {
    context.Fail(ErrorKind::NoSuchSheet, texts::kNoSuchSheet);
    return;
  }
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_select_active_worksheet(xls.get(), static_cast<unsigned short>(index)) != FREEXL_OK ||
      freexl_worksheet_dimensions(xls.get(), &rows, &columns) != FREEXL_OK) {
    context.Fail(ErrorKind::Damaged, kDamagedXls);
    return;
  }
  // What FreeXL does not tell: error cells, padding formats, hidden rows, merged ranges. A workbook
  // past any list's size goes without them.
  XlsSheetExtras extras;
  {
    QFile file(path);
    constexpr qint64 kMaxExtrasFile = qint64{256} << 20;
    if (file.size() <= kMaxExtrasFile && file.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = file.readAll();
      extras = ReadXlsExtras(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), index,
                             out.sheets[static_cast<std::size_t>(index)].name);
    }
  }
  context.SetProgressTotal(rows);
  SheetBuilder builder;
  for (const int row : extras.hiddenRows) builder.NoteHiddenRow(row);
  for (const auto& m : extras.merges) builder.NoteMerge(m.firstRow, m.lastRow, m.firstColumn, m.lastColumn);
  for (unsigned int r = 0; r < rows; ++r) {
    if (context.Cancelled()) {
      context.Fail(ErrorKind::Cancelled, texts::kCancelled);
      return;
    }
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue cell;
      if (freexl_get_cell_value(xls.get(), r, c, &cell) != FREEXL_OK) continue;
      bool lost = false;
      std::string text;
      const std::uint32_t key = XlsSheetExtras::Key(static_cast<int>(r), c);
      if (const auto error = extras.errors.find(key); error != extras.errors.end()) {
        text = error->second;  // FreeXL reads an error as the number 1
      } else {
        text = CellText(cell, &lost);
        if (cell.type == FREEXL_CELL_INT || cell.type == FREEXL_CELL_DOUBLE)
          if (const auto pad = extras.zeroPad.find(key); pad != extras.zeroPad.end())
            text = ZeroPadded(std::move(text), pad->second);
      }
      if (lost) builder.NoteLostDigits(c);
      if (!builder.Set(static_cast<int>(r), c, std::move(text))) {
        context.Fail(ErrorKind::TooLarge, builder.Failure());
        return;
      }
    }
    context.Advance(1);
  }
  out.sheets[static_cast<std::size_t>(index)] = builder.Finish(out.sheets[static_cast<std::size_t>(index)].name);
  context.ReportDone();
}

}  // namespace kavrel::workbook
