#include "results/title_label.h"

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kavrel {

TitleLabel::TitleLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setWordWrap(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
  setPalette(palette);
}

void TitleLabel::paintEvent(QPaintEvent*) {
  QTextDocument document;
  document.setDefaultFont(font());
  document.setDocumentMargin(0);
  document.setPlainText(text());
  document.setTextWidth(width());
  QTextBlockFormat format;
  format.setAlignment(Qt::AlignHCenter);
  format.setLineHeight(QFontInfo(font()).pixelSize() * 1.1, QTextBlockFormat::FixedHeight);
  QTextCursor cursor(&document);
  cursor.select(QTextCursor::Document);
  cursor.mergeBlockFormat(format);

  QPainter p(this);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette = palette();
  p.translate(2, 2);
  context.palette.setColor(QPalette::Text, QColor(0x3A, 0x02, 0x08, 220));
  document.documentLayout()->draw(&p, context);
  p.translate(-2, -2);
  context.palette.setColor(QPalette::Text, palette().color(QPalette::WindowText));
  document.documentLayout()->draw(&p, context);
}

}  // namespace kavrel
