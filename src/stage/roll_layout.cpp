#include "stage/roll_layout.h"

#include <algorithm>

namespace kavrel {
namespace {

int Trunc(double v) {
  return static_cast<int>(v);
}
int CeilDiv(int a, int b) {
  return (a + b - 1) / b;
}

int ColumnsFor(int count) {
  if (count <= 12) return 1;
  if (count <= 26) return 2;
  if (count <= 39) return 3;
  return 4;
}

// Width the columns need for entries of width tw, with their gaps.
int RequiredWidth(int columns, int tw) {
  switch (columns) {
    case 1:
      return tw;
    case 2:
      return 2 * tw + 40;
    case 3:
      return 3 * tw + 80;
    default:
      return 4 * tw + 90;
  }
}

int PhotoHeight(int width, bool ratio43) {
  return ratio43 ? Trunc(width / 4.0 * 3) : Trunc(width / 3.0 * 4);
}

int PhotoRows(int count) {
  if (count <= 2) return 1;
  if (count <= 10) return 2;
  if (count <= 20) return 3;
  if (count <= 40) return 4;
  return 5;
}

}  // namespace

TextRollLayout PrepareTextLayout(int count, QSize area, const std::function<QSize(int pointSize)>& measure) {
  TextRollLayout layout;
  layout.pointSize = kTextRollStartPointSize;
  if (count <= 0) return layout;
  layout.count = count;
  layout.columns = ColumnsFor(count);
  layout.rows = CeilDiv(count, layout.columns);
  layout.fullColumns = count - (layout.rows - 1) * layout.columns;

  QSize text = measure(layout.pointSize);
  while ((area.height() < text.height() * layout.rows || area.width() < RequiredWidth(layout.columns, text.width())) &&
         layout.pointSize > kTextRollMinPointSize) {
    layout.pointSize -= 2;
    text = measure(layout.pointSize);
  }
  return layout;
}

ColumnSlot TextColumnSlot(const TextRollLayout& layout, int index) {
  if (layout.columns <= 1 || layout.rows <= 0) return {1, index};
  if (layout.columns == 2) return {index % 2 == 1 ? 1 : 2, (index + 1) / 2};
  // The first L columns hold R items, the others R - 1.
  const int r = layout.rows;
  const int inFull = layout.fullColumns * r;
  if (index <= inFull) return {(index - 1) / r + 1, (index - 1) % r + 1};
  const int rest = index - inFull;
  const int shortRows = r - 1;
  if (shortRows <= 0) return {layout.fullColumns + 1, 1};
  return {layout.fullColumns + (rest - 1) / shortRows + 1, (rest - 1) % shortRows + 1};
}

QPoint TextPosition(const TextRollLayout& layout, int index, QSize area, QSize text, int columnWidth) {
  const int w = area.width();
  const int h = area.height();
  const int tw = std::max(text.width(), columnWidth);
  const int th = text.height();
  const int top = Trunc((h - th * layout.rows) / 2.0);
  const ColumnSlot slot = TextColumnSlot(layout, index);
  const int y = top + (slot.row - 1) * th;
  switch (layout.columns) {
    case 1:
      return {Trunc((w - text.width()) / 2.0), y};
    case 2:
      // The left column is right-aligned 20 pixels left of the centre line, the right one starts 20
      // pixels right of it; each name's own width keeps them apart.
      return {slot.column == 1 ? Trunc(w / 2.0 - text.width() - 20) : Trunc(w / 2.0 + 20), y};
    case 3:
      return {Trunc((w - 3 * tw - 80) / 2.0) + (slot.column - 1) * (tw + 40), y};
    default:
      return {Trunc((w - 4 * tw - 90) / 2.0) + (slot.column - 1) * (tw + 30), y};
  }
}

PictureRollLayout PreparePictureLayout(int count, QSize area, bool ratio43) {
  PictureRollLayout layout;
  layout.ratio43 = ratio43;
  layout.photoWidth = ratio43 ? 200 : 150;
  layout.photoHeight = PhotoHeight(layout.photoWidth, ratio43);
  layout.pointSize = 20;
  if (count <= 0) return layout;
  layout.count = count;
  layout.rows = PhotoRows(count);
  layout.perRow = CeilDiv(count, layout.rows);
  if (count <= 2) return layout;

  const int bigStep = ratio43 ? 40 : 30;
  const int smallStep = ratio43 ? 4 : 3;
  auto fits = [&] {
    const int needW = layout.perRow * layout.photoWidth + (layout.perRow - 1) * kPhotoGap;
    const int needH = layout.rows * layout.photoHeight + (layout.rows - 1) * kPhotoGap;
    return area.height() >= needH && area.width() >= needW;
  };
  while (!fits()) {
    if (layout.photoWidth > bigStep) {
      layout.photoWidth -= bigStep;
      layout.pointSize -= 2;
    } else if (layout.photoWidth > smallStep) {
      layout.photoWidth -= smallStep;
      layout.pointSize = 8;
    } else {
      break;  // the smallest photos there are; an area this small cannot show the batch anyway
    }
    layout.photoHeight = PhotoHeight(layout.photoWidth, ratio43);
  }
  return layout;
}

QSize LargestPhotoCell(bool ratio43) {
  const PictureRollLayout unshrunk = PreparePictureLayout(0, QSize(), ratio43);
  return {unshrunk.photoWidth, unshrunk.photoHeight};
}

QRect PhotoRect(const PictureRollLayout& layout, int index, QSize area) {
  const int w = area.width();
  const int h = area.height();
  const int s = layout.photoWidth;
  const int hp = layout.photoHeight;
  if (layout.count == 1) return {Trunc((w - s) / 2.0), Trunc((h - hp) / 2.0), s, hp};
  if (layout.count == 2) {
    const int x = index == 1 ? Trunc(w / 2.0 - s - 10) : Trunc(w / 2.0 + 10);
    return {x, Trunc((h - hp) / 2.0), s, hp};
  }
  const int p = std::max(1, layout.perRow);
  const int x0 = Trunc((w - p * s - (p - 1) * kPhotoGap) / 2.0);
  const int y0 = Trunc((h - layout.rows * hp - (layout.rows - 1) * kPhotoGap) / 2.0);
  const int row = CeilDiv(index, p);
  const int column = index - (row - 1) * p;
  return {x0 + (column - 1) * (s + kPhotoGap), y0 + (row - 1) * (hp + kPhotoGap), s, hp};
}

QPoint PhotoCaptionPosition(const PictureRollLayout& layout, const QRect& photo, QSize text) {
  const int lift = layout.count <= 2 ? 10 : 5;
  return {Trunc(photo.left() + layout.photoWidth / 2.0 - text.width() / 2.0),
          photo.top() + layout.photoHeight - text.height() - lift};
}

}  // namespace kavrel
