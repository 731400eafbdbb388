#pragma once

// Where the candidates of one batch go in the rolling area, as pure functions of the batch size, the
// area's size and measured text sizes. Computed once when a roll is prepared and used by every frame.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

namespace kavrel {

// Text mode: one column up to 12 candidates, two columns up to 26 (filled alternately), three up to
// 39 and four from 40 (filled top to bottom, then left to right).
struct TextRollLayout {
  int count = 0;        // N, the batch size
  int rows = 0;         // R
  int columns = 0;      // 1 to 4
  int fullColumns = 0;  // L: columns holding R items (the rest hold R - 1); equals `columns` when even
  int pointSize = 36;   // the rolling font's size after shrinking
};

inline constexpr int kTextRollStartPointSize = 36;
inline constexpr int kTextRollMinPointSize = 2;

// Chooses rows and columns for `count` candidates and shrinks the font by 2 points while the rows or
// columns of the first entry's size (`measure(pointSize)`) would not fit `area`. Stops at 2 points.
TextRollLayout PrepareTextLayout(int count, QSize area, const std::function<QSize(int pointSize)>& measure);

// Top-left corner of candidate `index` (1-based) whose text measures `text` in the rolling font.
// Every value is truncated toward zero. In the three- and four-column layouts the columns are spaced
// by `columnWidth`, the width of the widest name painted with this one (the candidate's own width when
// 0 or less): spacing them by each name's own width would let a four-character name run into the next
// column whenever the names differ in length. With names of equal width both agree.
QPoint TextPosition(const TextRollLayout& layout, int index, QSize area, QSize text, int columnWidth = 0);

// Column (1-based) and row within that column (1-based) of candidate `index` in the three- and
// four-column layouts; column 1 row `index` for one column.
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
