#include "lists/list_print.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "lists/list_table.h"
#include "storage/codec.h"

namespace kavrel {

std::unique_ptr<QTextDocument> BuildPrintDocument(const ListTable& table) {
  auto document = std::make_unique<QTextDocument>();
  QTextCursor cursor(document.get());
  QTextTableFormat format;
  format.setHeaderRowCount(1);
  format.setCellPadding(3);
  format.setCellSpacing(0);
  format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  format.setBorderCollapse(true);
  QTextTable* grid = cursor.insertTable(table.RowCount(), table.ColumnCount(), format);
  for (int r = 0; r < table.RowCount(); ++r) {
    for (int c = 0; c < table.ColumnCount(); ++c) {
      const CellFormat f = table.FormatAt(r, c);
      QTextCharFormat chars;
      if (f.bold) chars.setFontWeight(*f.bold ? QFont::Bold : QFont::Normal);
      if (f.colour) chars.setForeground(QColor((*f.colour >> 16) & 0xFF, (*f.colour >> 8) & 0xFF, *f.colour & 0xFF));
      if (r == 0) chars.setBackground(QColor(0xC0, 0xC0, 0xC0));
      QTextCursor cell = grid->cellAt(r, c).firstCursorPosition();
      if (f.align == CellAlign::Right || f.align == CellAlign::Centre) {
        QTextBlockFormat block;
        block.setAlignment(f.align == CellAlign::Right ? Qt::AlignRight : Qt::AlignHCenter);
        cell.setBlockFormat(block);
      }
      cell.insertText(ToQt(table.Cell(r, c)), chars);
    }
  }
  return document;
}

}  // namespace kavrel
