#pragma once

// Where the candidates of one batch go in the rolling area, as pure functions of the batch size, the
// area's size and measured text sizes. Computed once when a roll is prepared and used by every frame.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

namespace kavrel {

// Text mode: the candidates stand in rows and columns sized so the names are as large as the area
// allows; two columns are filled alternately, three and more top to bottom, then left to right.
struct TextRollLayout {
  int count = 0;        // N, the batch size
  int rows = 0;         // R
  int columns = 0;      // 1 or more
  int fullColumns = 0;  // L: columns holding R items (the rest hold R - 1); equals `columns` when even
  int pixelSize = 0;    // the rolling font's pixel size
  int rowHeight = 0;    // the distance from one row to the next
  int gap = 0;          // the space between two columns
};

inline constexpr int kTextRollMinPixelSize = 6;
// The space between two columns, as a share of the font's pixel size.
inline constexpr double kColumnGapEm = 0.8;

// What a size choice needs to know of the names at a pixel size: the widest name's width and the
// height of one row (the names' ink with the space a row needs around it).
using MeasureNames = std::function<QSize(int pixelSize)>;

// Chooses the columns and the font size for `count` candidates so the names are as large as `area`
// allows: for every column count, the largest pixel size at which the rows fit the height and the
// columns (the widest name each, with their gaps) fit the width; the column count giving the largest
// size wins (the fewer columns on a tie). Never above `maxPixelSize`, never below
// kTextRollMinPixelSize. The names are assumed to grow in proportion to the pixel size; the size
// found is then checked with `measure` and lowered until it really fits.
TextRollLayout FitTextLayout(int count, QSize area, const MeasureNames& measure, int maxPixelSize);

// Top-left corner of the row cell of candidate `index` (1-based) whose text measures `text` in the
// rolling font (its height is the row height). Every value is truncated toward zero. Columns are
// spaced by `columnWidth`, the widest name painted with this one (the candidate's own width when 0 or
// less), so names of different lengths never run into the next column. One column centres each name
// on its own width; two columns align the names on either side of the centre line.
QPoint TextPosition(const TextRollLayout& layout, int index, QSize area, QSize text, int columnWidth = 0);

// Column (1-based) and row within that column (1-based) of candidate `index`; column 1 row `index`
// for one column.
struct ColumnSlot {
  int column = 1;
  int row = 1;
};
ColumnSlot TextColumnSlot(const TextRollLayout& layout, int index);

// Picture mode: S x H_p photos (4:3 landscape or 3:4 portrait) in K rows of P, 10 pixels apart.
struct PictureRollLayout {
  int count = 0;        // N
  bool ratio43 = true;  // 4:3 photos when true, 3:4 when false
  int photoWidth = 0;   // S
  int photoHeight = 0;  // H_p
  int rows = 0;         // K
  int perRow = 0;       // P
  int pointSize = 20;   // the name's font size after shrinking (8 once the photos get very small)
};

inline constexpr int kPhotoGap = 10;

// Chooses S, the grid and the font for `count` photos and shrinks them until the block fits `area`
// (one or two photos have no size requirement). Stops when a further step would make S zero.
PictureRollLayout PreparePictureLayout(int count, QSize area, bool ratio43);

// The largest cell a photo is ever drawn in (one photo, nothing shrunk): the size its thumbnail is made at.
QSize LargestPhotoCell(bool ratio43);

// The photo cell of candidate `index` (1-based).
QRect PhotoRect(const PictureRollLayout& layout, int index, QSize area);

// Top-left corner of the name drawn over the lower part of `photo`, centred on it.
QPoint PhotoCaptionPosition(const PictureRollLayout& layout, const QRect& photo, QSize text);

}  // namespace kavrel
