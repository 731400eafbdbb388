#include <QList>
#include <cstring>

#include "results/export/winner_export.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

// Quoted when a spreadsheet would otherwise split or trim it.
void AppendField(QByteArray& out, const QByteArray& field) {
  const bool quote = field.contains(',') || field.contains('"') || field.contains('\r') || field.contains('\n') ||
                     field.startsWith(' ') || field.endsWith(' ');
  if (!quote) {
    out += field;
    return;
  }
  QByteArray escaped = field;
  escaped.replace("\"", "\"\"");
  out += '"' + escaped + '"';
}

// ="0194": Excel takes the cell as a formula giving the text, so it stays text. The text has no quote
// (ExcelWouldConvert allows none), so nothing inside needs escaping.
void AppendExcelText(QByteArray& out, const QByteArray& field) {
  out += "=\"" + field + '"';
}

// `numberColumn`: the field that is a number and should stay one (-1 for none).
void AppendRow(QByteArray& out, const QList<QByteArray>& fields, bool excelSafe = false, qsizetype numberColumn = -1) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    if (excelSafe && i != numberColumn && ExcelWouldConvert(fields[i]))
      AppendExcelText(out, fields[i]);
    else
      AppendField(out, fields[i]);
  }
  out += "\r\n";
}

QByteArray Utf8(const std::string& gb) {
  return ToQt(gb).toUtf8();
}

}  // namespace

bool ExcelWouldConvert(const QByteArray& utf8) {
  // Digits with what a number or a date may carry: "0194", "110101199003071234", "1.50", "3/4",
  // "12:30", "1e5". A text with any other character (a letter, a Chinese character) stays text.
  bool digit = false;
  for (const char ch : utf8) {
    if (ch >= '0' && ch <= '9')
      digit = true;
    else if (ch == '\0' || !std::strchr("+-./: eE", ch))
      return false;
  }
  return digit;
}

QByteArray WinnersCsv(const WinnerTable& table, bool excelSafe) {
  QByteArray out("\xEF\xBB\xBF");
  out.reserve(static_cast<qsizetype>(table.rows.size()) * 64 + 256);
  QList<QByteArray> header;
  for (const auto& h : WinnerHeaders(table)) header << QByteArray::fromStdString(h);
  AppendRow(out, header);

  QList<QByteArray> fields;
  for (const auto& row : table.rows) {
    fields.clear();
    fields << Utf8(row.awardName) << Utf8(row.prizeName) << QByteArray::number(row.number);
    for (int c = 0; c < table.entryColumns; ++c)
      fields << (c < static_cast<int>(row.columns.size()) ? Utf8(row.columns[static_cast<std::size_t>(c)])
                                                          : QByteArray());
    fields << Utf8(row.drawnAt) << QByteArray::fromStdString(WinnerRemark(row));
    // The running number stays a number: it sorts and sums as one, and has no zero to lose.
    AppendRow(out, fields, excelSafe, 2);
  }
  if (!table.seal.empty()) {
    out += "\r\n";
    AppendRow(out, {QByteArray("公证封印"), QByteArray::fromStdString(table.seal)}, excelSafe);
    AppendRow(out, {QByteArray("最后一条公证记录"), QByteArray::fromStdString(table.lastReceiptHash)}, excelSafe);
  }
  return out;
}

}  // namespace kavrel
