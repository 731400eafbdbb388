#include "stage/roll_layout.h"

#include <algorithm>
#include <vector>

namespace kavrel {
namespace {

int Trunc(double v) {
  return static_cast<int>(v);
}
int CeilDiv(int a, int b) {
  return (a + b - 1) / b;
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

namespace {

int Gap(int pixelSize) {
  return Trunc(pixelSize * kColumnGapEm);
}

bool TextFits(int columns, int rows, QSize names, int pixelSize, QSize area) {
  return rows * names.height() <= area.height() &&
         columns * names.width() + (columns - 1) * Gap(pixelSize) <= area.width();
}

}  // namespace

TextRollLayout FitTextLayout(int count, QSize area, const MeasureNames& measure, int maxPixelSize) {
  TextRollLayout layout;
  maxPixelSize = std::max(kTextRollMinPixelSize, maxPixelSize);
  layout.pixelSize = maxPixelSize;
  if (count <= 0) return layout;
  layout.count = count;

  // The names measured once, at a size large enough that rounding does not matter; the size each
  // column count allows follows by proportion.
  constexpr int kProbe = 100;
  const QSize probe = measure(kProbe);
  const double rowPerPx = std::max(1, probe.height()) / double(kProbe);
  const double widthPerPx = std::max(1, probe.width()) / double(kProbe);
  // The size each column count allows by proportion; the ones close to the best are then measured
  // exactly (glyphs do not scale exactly: hinting, rounding), and the largest size that really fits wins.
  struct Option {
    int columns;
    double estimate;
  };
  std::vector<Option> options;
  double bestEstimate = 0;
  // More columns than names, or than a row of the shortest names could hold, never help.
  const int maxColumns = std::min(count, 64);
  for (int columns = 1; columns <= maxColumns; ++columns) {
    const int rows = CeilDiv(count, columns);
    if (columns > 1 && CeilDiv(count, columns - 1) == rows) continue;  // the same rows with a column fewer
    const double byHeight = area.height() / (rows * rowPerPx);
    const double byWidth = area.width() / (columns * widthPerPx + (columns - 1) * kColumnGapEm);
    const double size = std::min({byHeight, byWidth, double(maxPixelSize)});
    options.push_back({columns, size});
    bestEstimate = std::max(bestEstimate, size);
  }
  int bestColumns = 0;
  int px = kTextRollMinPixelSize;
  QSize names = measure(px);
  for (const Option& o : options) {
    if (o.estimate < bestEstimate * 0.94) continue;
    const int rows = CeilDiv(count, o.columns);
    int size = std::clamp(static_cast<int>(o.estimate), kTextRollMinPixelSize, maxPixelSize);
    QSize at = measure(size);
    while (size > kTextRollMinPixelSize && !TextFits(o.columns, rows, at, size, area)) at = measure(--size);
    while (size < maxPixelSize) {
      const QSize larger = measure(size + 1);
      if (!TextFits(o.columns, rows, larger, size + 1, area)) break;
      ++size;
      at = larger;
    }
    // Ties go to the fewer columns, which come first.
    if (bestColumns == 0 || size > px) {
      px = size;
      names = at;
      bestColumns = o.columns;
    }
  }
  layout.columns = std::max(1, bestColumns);
  layout.rows = CeilDiv(count, bestColumns);
  layout.fullColumns = count - (layout.rows - 1) * layout.columns;
  layout.pixelSize = px;
  layout.rowHeight = names.height();
  layout.gap = Gap(px);
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
  const int th = layout.rowHeight > 0 ? layout.rowHeight : text.height();
  const int top = Trunc((h - th * layout.rows) / 2.0);
  const ColumnSlot slot = TextColumnSlot(layout, index);
  const int y = top + (slot.row - 1) * th;
  const int gap = layout.gap;
  switch (layout.columns) {
    case 1:
      return {Trunc((w - text.width()) / 2.0), y};
    case 2:
      // The left column is right-aligned half a gap left of the centre line, the right one starts half a
      // gap right of it; each name's own width keeps them apart.
      return {slot.column == 1 ? Trunc(w / 2.0 - gap / 2.0 - text.width()) : Trunc(w / 2.0 + gap / 2.0), y};
    default: {
      const int c = layout.columns;
      return {Trunc((w - c * tw - (c - 1) * gap) / 2.0) + (slot.column - 1) * (tw + gap), y};
    }
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
