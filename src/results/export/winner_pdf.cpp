#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include "results/export/winner_export.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

QString Html(const std::string& gb) {
  return ToQt(gb).toHtmlEscaped();
}

QString WinnersHtml(const WinnerTable& table) {
  QString html = QStringLiteral("<html><body>");
  if (!table.mainTitle.empty()) html += QStringLiteral("<h1 align=\"center\">%1</h1>").arg(Html(table.mainTitle));
  if (!table.subTitle.empty()) html += QStringLiteral("<h2 align=\"center\">%1</h2>").arg(Html(table.subTitle));
  html += QStringLiteral("<p align=\"center\">中奖名单</p>");
  if (table.groups.empty()) html += QStringLiteral("<p align=\"center\">暂无中奖结果</p>");

  QString entryHeads;
  const auto headers = WinnerHeaders(table);
  // The same column widths in every table, so the award tables line up down the page.
  const int entryWidth = 50 / std::max(1, table.entryColumns);
  for (int c = 0; c < table.entryColumns; ++c)
    entryHeads += QStringLiteral("<th width=\"%1%\">%2</th>")
                      .arg(entryWidth)
                      .arg(QString::fromStdString(headers[3 + static_cast<std::size_t>(c)]));

  for (const auto& group : table.groups) {
    int abandoned = 0;
    int redrawn = 0;
    for (std::size_t i = 0; i < group.rowCount; ++i) {
      abandoned += table.rows[group.firstRow + i].abandoned ? 1 : 0;
      redrawn += table.rows[group.firstRow + i].redrawn ? 1 : 0;
    }
    QString notes;
    if (abandoned) notes += QStringLiteral("，其中弃奖 %1 名").arg(abandoned);
    if (redrawn) notes += QStringLiteral("，补抽 %1 名").arg(redrawn);
    html += QStringLiteral("<h3>%1 %2名（%3）%4</h3>")
                .arg(Html(group.awardName))
                .arg(group.rowCount)
                .arg(Html(group.prizeName))
                .arg(notes);
    // A header row in <thead> repeats at the top of every page the table continues on.
    html += QStringLiteral(
                "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">"
                "<thead><tr><th width=\"8%\">序号</th>%1<th width=\"30%\">抽取时间</th><th width=\"12%\">备注</th></tr>"
                "</thead><tbody>")
                .arg(entryHeads);
    for (std::size_t i = 0; i < group.rowCount; ++i) {
      const WinnerRow& row = table.rows[group.firstRow + i];
      html += QStringLiteral("<tr><td align=\"center\">%1</td>").arg(row.number);
      for (std::size_t c = 0; c < static_cast<std::size_t>(table.entryColumns); ++c)
        html += QStringLiteral("<td>%1</td>").arg(c < row.columns.size() ? Html(row.columns[c]) : QString());
      // The time stays on one line: the column takes the room it needs from the entry columns.
      html += QStringLiteral("<td style=\"white-space: nowrap\">%1</td><td align=\"center\">%2</td></tr>")
                  .arg(Html(row.drawnAt), QString::fromStdString(WinnerRemark(row)));
    }
    html += QStringLiteral("</tbody></table>");
  }
  if (!table.seal.empty())
    html += QStringLiteral("<p><small>公证封印：%1<br>最后一条公证记录：%2<br>可用 kavrel-verify 核验。</small></p>")
                .arg(QString::fromStdString(table.seal), QString::fromStdString(table.lastReceiptHash));
  return html + QStringLiteral("</body></html>");
}

}  // namespace

void PrintWinners(const WinnerTable& table, QPrinter& printer) {
  QPainter painter(&printer);
  if (!painter.isActive()) return;
  const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());

  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(10.5);
  QTextDocument document;
  document.documentLayout()->setPaintDevice(&printer);
  document.setDefaultFont(font);
  document.setHtml(WinnersHtml(table));

  // The foot of every page keeps a line for its number.
  const QFontMetricsF footMetrics(font, &printer);
  const qreal footHeight = footMetrics.height() * 2;
  const QSizeF body(area.width(), area.height() - footHeight);
  document.setPageSize(body);
  const int pages = std::max(1, document.pageCount());

  for (int page = 0; page < pages; ++page) {
    if (page > 0) printer.newPage();
    painter.save();
    const QRectF visible(0, page * body.height(), body.width(), body.height());
    painter.translate(0, -visible.top());
    document.drawContents(&painter, visible);
    painter.restore();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, body.height(), body.width(), footHeight), Qt::AlignCenter,
                     QStringLiteral("第 %1 页 / 共 %2 页").arg(page + 1).arg(pages));
  }
}

}  // namespace kavrel
