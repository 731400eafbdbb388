#include <QFile>
#include <algorithm>

#include "platform/xlsx_writer_library.h"
#include "results/export/winner_export.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

// Column widths are counted in Excel's character widths; a Chinese character takes two.
int DisplayWidth(const QByteArray& utf8) {
  int width = 0;
  for (QChar ch : QString::fromUtf8(utf8)) {
    if (ch.isLowSurrogate()) continue;
    width += ch.unicode() >= 0x1100 ? 2 : 1;
  }
  return width;
}

// One sheet being filled: writes cells and remembers the widest text of every column.
class SheetWriter {
 public:
  SheetWriter(const XlsxLibrary& lib, lxw_worksheet* sheet, lxw_format* header)
      : lib_(lib), sheet_(sheet), header_(header) {}

  void Header(const std::vector<std::string>& titles) {
    for (std::size_t c = 0; c < titles.size(); ++c) Text(0, c, QByteArray::fromStdString(titles[c]), header_);
    // The header stays in view while the list scrolls, and sorts and filters like a table.
    lib_.freezePanes(sheet_, 1, 0);
  }

  // Every data text goes in as text: staff numbers, phone and ID numbers keep their leading zeros
  // and all their digits instead of turning into rounded numbers.
  void Text(std::size_t row, std::size_t col, const QByteArray& utf8, lxw_format* format = nullptr) {
    Track(col, DisplayWidth(utf8));
    if (utf8.isEmpty()) return;
    if (lib_.writeString(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), utf8.constData(), format) !=
        LXW_NO_ERROR)
      failed_ = true;
  }

  void Number(std::size_t row, std::size_t col, double value) {
    Track(col, static_cast<int>(QByteArray::number(value).size()));
    if (lib_.writeNumber(sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col), value, nullptr) !=
        LXW_NO_ERROR)
      failed_ = true;
  }

  void Finish(std::size_t lastRow) {
    if (!widths_.empty())
      lib_.autofilter(sheet_, 0, 0, static_cast<lxw_row_t>(lastRow), static_cast<lxw_col_t>(widths_.size() - 1));
    for (std::size_t c = 0; c < widths_.size(); ++c)
      lib_.setColumn(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), std::clamp(widths_[c] + 3, 6, 60),
                     nullptr);
  }

  bool failed() const { return failed_; }

 private:
  void Track(std::size_t col, int width) {
    if (widths_.size() <= col) widths_.resize(col + 1, 0);
    widths_[col] = std::max(widths_[col], width);
  }

  const XlsxLibrary& lib_;
  lxw_worksheet* sheet_;
  lxw_format* header_;
  std::vector<int> widths_;
  bool failed_ = false;
};

QByteArray Utf8(const std::string& gb) {
  return ToQt(gb).toUtf8();
}

void FillWinners(SheetWriter& sheet, const WinnerTable& table) {
  sheet.Header(WinnerHeaders(table));
  const std::size_t columns = static_cast<std::size_t>(table.entryColumns);
  std::size_t r = 0;
  for (const auto& row : table.rows) {
    ++r;
    sheet.Text(r, 0, Utf8(row.awardName));
    sheet.Text(r, 1, Utf8(row.prizeName));
    sheet.Number(r, 2, row.number);
    for (std::size_t c = 0; c < columns; ++c) sheet.Text(r, 3 + c, c < row.columns.size() ? Utf8(row.columns[c]) : "");
    sheet.Text(r, 3 + columns, Utf8(row.drawnAt));
    sheet.Text(r, 4 + columns, QByteArray::fromStdString(WinnerRemark(row)));
  }
  sheet.Finish(r);
}

void FillSummary(SheetWriter& sheet, const WinnerTable& table) {
  sheet.Header({"奖项", "奖品", "中奖名额", "已抽取", "已弃奖", "实际中奖"});
  std::size_t r = 0;
  for (const auto& award : table.awards) {
    ++r;
    sheet.Text(r, 0, Utf8(award.awardName));
    sheet.Text(r, 1, Utf8(award.prizeNames));
    bool numeric = !award.quota.empty() && award.quota.size() <= 9;
    for (char ch : award.quota) numeric = numeric && ch >= '0' && ch <= '9';
    if (numeric)
      sheet.Number(r, 2, std::stod(award.quota));
    else
      sheet.Text(r, 2, Utf8(award.quota));
    sheet.Number(r, 3, award.drawn);
    sheet.Number(r, 4, award.abandoned);
    sheet.Number(r, 5, award.drawn - award.abandoned);
  }
  sheet.Finish(r);
  // Below the table and its filter: the seal and the chain's end the receipts can be checked against.
  if (!table.seal.empty()) {
    sheet.Text(r + 2, 0, QByteArray("公证封印"));
    sheet.Text(r + 2, 1, QByteArray::fromStdString(table.seal));
    sheet.Text(r + 3, 0, QByteArray("最后一条公证记录"));
    sheet.Text(r + 3, 1, QByteArray::fromStdString(table.lastReceiptHash));
  }
}

}  // namespace

// libxlsxwriter opens its file with the C library's narrow fopen, its MinGW build too (it uses the
// wide API only when built with Microsoft's compiler): the name goes in the system's 8-bit encoding.
bool XlsxTakesFileName(const QString& file) {
  return QFile::decodeName(QFile::encodeName(file)) == file;
}

bool WriteWinnersXlsx(const WinnerTable& table, const QString& file) {
  const XlsxLibrary* lib = XlsxLibrary::Get();
  if (!lib || !XlsxTakesFileName(file)) return false;
  lxw_workbook* book = lib->workbookNew(QFile::encodeName(file).constData());
  if (!book) return false;
  lxw_format* bold = lib->addFormat(book);
  lib->setBold(bold);

  lxw_worksheet* winners = lib->addWorksheet(book, "中奖名单");
  lxw_worksheet* summary = lib->addWorksheet(book, "汇总");
  if (!winners || !summary) {
    lib->workbookClose(book);
    return false;
  }
  SheetWriter winnerSheet(*lib, winners, bold);
  FillWinners(winnerSheet, table);
  SheetWriter summarySheet(*lib, summary, bold);
  FillSummary(summarySheet, table);
  const lxw_error closed = lib->workbookClose(book);
  return closed == LXW_NO_ERROR && !winnerSheet.failed() && !summarySheet.failed();
}

}  // namespace kavrel
