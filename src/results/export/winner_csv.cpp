#include <QList>

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

void AppendRow(QByteArray& out, const QList<QByteArray>& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    AppendField(out, fields[i]);
  }
  out += "\r\n";
}

QByteArray Utf8(const std::string& gb) {
  return ToQt(gb).toUtf8();
}

}  // namespace

QByteArray WinnersCsv(const WinnerTable& table) {
  QByteArray out("\xEF\xBB\xBF");
  out.reserve(static_cast<qsizetype>(table.rows.size()) * 64 + 256);
  QList<QByteArray> header;
  for (const auto& h : WinnerHeaders(table)) header << QByteArray::fromStdString(h);
  AppendRow(out, header);

  const QByteArray abandoned("已弃奖");
  QList<QByteArray> fields;
  for (const auto& row : table.rows) {
    fields.clear();
    fields << Utf8(row.awardName) << Utf8(row.prizeName) << QByteArray::number(row.number);
    for (int c = 0; c < table.entryColumns; ++c)
      fields << (c < static_cast<int>(row.columns.size()) ? Utf8(row.columns[static_cast<std::size_t>(c)])
                                                          : QByteArray());
    fields << Utf8(row.drawnAt) << (row.abandoned ? abandoned : QByteArray());
    AppendRow(out, fields);
  }
  if (!table.seal.empty()) {
    out += "\r\n";
    AppendRow(out, {QByteArray("公证封印"), QByteArray::fromStdString(table.seal)});
    AppendRow(out, {QByteArray("最后一条公证记录"), QByteArray::fromStdString(table.lastReceiptHash)});
  }
  return out;
}

}  // namespace kavrel
