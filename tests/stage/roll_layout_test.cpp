#include <gtest/gtest.h>

#include <vector>

#include "stage/roll_layout.h"

namespace kavrel {
namespace {

// The rolling area of a 1024 x 768 stage with the synthetic captions of the layout tests.
const QSize kArea(824, 410);

// Synthetic text metrics: 4 pixels wide and 2 high per point.
QSize Measure(int pt) {
  return {pt * 4, pt * 2};
}

std::vector<int> ItemsPerColumn(const TextRollLayout& layout) {
  std::vector<int> counts(layout.columns, 0);
  for (int i = 1; i <= layout.count; ++i) ++counts[TextColumnSlot(layout, i).column - 1];
  return counts;
}

TEST(TextRollLayout, OneColumnUpToTwelveShrinksTheFontUntilTheRowsFit) {
  TextRollLayout one = PrepareTextLayout(1, kArea, Measure);
  EXPECT_EQ(one.columns, 1);
  EXPECT_EQ(one.rows, 1);
  EXPECT_EQ(one.pointSize, 36);
  EXPECT_EQ(TextPosition(one, 1, kArea, {100, 40}), QPoint(362, 185));

  // Twelve rows of 2 px per point fit 410 pixels at 16 points (17 is skipped: steps of 2).
  TextRollLayout twelve = PrepareTextLayout(12, kArea, Measure);
  EXPECT_EQ(twelve.rows, 12);
  EXPECT_EQ(twelve.pointSize, 16);
  for (int i = 1; i <= 12; ++i) {
    EXPECT_EQ(TextPosition(twelve, i, kArea, {80, 30}), QPoint(372, 25 + (i - 1) * 30)) << i;
  }
  // Each line is centred on its own width.
  EXPECT_EQ(TextPosition(twelve, 3, kArea, {81, 30}).x(), 371);
}

TEST(TextRollLayout, ThirteenGivesTwoColumnsOfSevenAndSixFilledAlternately) {
  TextRollLayout layout = PrepareTextLayout(13, kArea, Measure);
  EXPECT_EQ(layout.columns, 2);
  EXPECT_EQ(layout.rows, 7);
  EXPECT_EQ(ItemsPerColumn(layout), (std::vector<int>{7, 6}));
  const QSize text(80, 30);                                           // top = (410 - 7 * 30) / 2 = 100
  EXPECT_EQ(TextPosition(layout, 1, kArea, text), QPoint(312, 100));  // right edge 20 px left of 412
  EXPECT_EQ(TextPosition(layout, 2, kArea, text), QPoint(432, 100));  // 20 px right of 412
  EXPECT_EQ(TextPosition(layout, 12, kArea, text), QPoint(432, 250));
  EXPECT_EQ(TextPosition(layout, 13, kArea, text), QPoint(312, 280));
  // A wide first entry makes the width decide: 2 * 12 pt + 40 <= 824 first at 32 points.
  EXPECT_EQ(PrepareTextLayout(13, kArea, [](int pt) { return QSize(pt * 12, pt); }).pointSize, 32);
}

TEST(TextRollLayout, ThreeColumnsFillTopToBottomWithTheLongColumnsFirst) {
  TextRollLayout n27 = PrepareTextLayout(27, kArea, Measure);
  EXPECT_EQ(n27.columns, 3);
  EXPECT_EQ(n27.rows, 9);
  EXPECT_EQ(n27.fullColumns, 3);
  EXPECT_EQ(ItemsPerColumn(n27), (std::vector<int>{9, 9, 9}));
  const QSize text(100, 30);  // top 70, x0 = (824 - 300 - 80) / 2 = 222, step 140
  EXPECT_EQ(TextPosition(n27, 1, kArea, text), QPoint(222, 70));
  EXPECT_EQ(TextPosition(n27, 10, kArea, text), QPoint(362, 70));
  EXPECT_EQ(TextPosition(n27, 27, kArea, text), QPoint(502, 310));

  // 28: columns of 10, 9 and 9.
  TextRollLayout n28 = PrepareTextLayout(28, kArea, Measure);
  EXPECT_EQ(n28.rows, 10);
  EXPECT_EQ(n28.fullColumns, 1);
  EXPECT_EQ(ItemsPerColumn(n28), (std::vector<int>{10, 9, 9}));
  EXPECT_EQ(TextColumnSlot(n28, 10).column, 1);
  EXPECT_EQ(TextColumnSlot(n28, 11).column, 2);
  EXPECT_EQ(TextColumnSlot(n28, 19).row, 9);
  EXPECT_EQ(TextColumnSlot(n28, 20).column, 3);
  EXPECT_EQ(TextColumnSlot(n28, 28).row, 9);

  // 30: three columns of ten, items 21-30 in column 3 (whatever the batch before was).
  TextRollLayout n30 = PrepareTextLayout(30, kArea, Measure);
  EXPECT_EQ(ItemsPerColumn(n30), (std::vector<int>{10, 10, 10}));
  for (int i = 21; i <= 30; ++i) {
    EXPECT_EQ(TextColumnSlot(n30, i).column, 3) << i;
    EXPECT_EQ(TextColumnSlot(n30, i).row, i - 20) << i;
  }
}

TEST(TextRollLayout, NamesOfDifferentWidthsNeverRunIntoTheNextColumn) {
  TextRollLayout n27 = PrepareTextLayout(27, kArea, Measure);
  // Columns spaced by the widest name of the tick (150): x0 = (824 - 450 - 80) / 2 = 147, step 190.
  const QPoint wide = TextPosition(n27, 1, kArea, {150, 30}, 150);
  const QPoint narrow = TextPosition(n27, 10, kArea, {100, 30}, 150);
  EXPECT_EQ(wide, QPoint(147, 70));
  EXPECT_EQ(narrow, QPoint(337, 70));
  EXPECT_GE(narrow.x() - (wide.x() + 150), 40);
  // Two columns keep their centre-line alignment per name.
  TextRollLayout n13 = PrepareTextLayout(13, kArea, Measure);
  EXPECT_EQ(TextPosition(n13, 1, kArea, {150, 30}, 150).x() + 150, 392);
  EXPECT_EQ(TextPosition(n13, 3, kArea, {100, 30}, 150).x() + 100, 392);
}

TEST(TextRollLayout, FourColumnsFromFortyUpToAHundred) {
  TextRollLayout n40 = PrepareTextLayout(40, kArea, Measure);
  EXPECT_EQ(n40.columns, 4);
  EXPECT_EQ(ItemsPerColumn(n40), (std::vector<int>{10, 10, 10, 10}));
  EXPECT_EQ(n40.pointSize, 20);
  const QSize text(100, 30);  // top 55, x0 = (824 - 400 - 90) / 2 = 167, step 130
  EXPECT_EQ(TextPosition(n40, 1, kArea, text), QPoint(167, 55));
  EXPECT_EQ(TextPosition(n40, 40, kArea, text), QPoint(557, 325));

  TextRollLayout n100 = PrepareTextLayout(100, kArea, Measure);
  EXPECT_EQ(n100.rows, 25);
  EXPECT_EQ(n100.pointSize, 8);
  EXPECT_EQ(ItemsPerColumn(n100), (std::vector<int>{25, 25, 25, 25}));
  const QSize small(32, 16);  // top = (410 - 400) / 2 = 5, x0 = (824 - 128 - 90) / 2, step 62
  EXPECT_EQ(TextPosition(n100, 100, kArea, small), QPoint(303 + 3 * 62, 5 + 24 * 16));

  // 41 leaves one long column: 11, 10, 10, 10.
  EXPECT_EQ(ItemsPerColumn(PrepareTextLayout(41, kArea, Measure)), (std::vector<int>{11, 10, 10, 10}));
}

TEST(TextRollLayout, DegenerateBatchesAndAreasStop) {
  EXPECT_EQ(PrepareTextLayout(0, kArea, Measure).rows, 0);
  EXPECT_EQ(PrepareTextLayout(5, {10, 10}, Measure).pointSize, kTextRollMinPointSize);
}

TEST(PictureRollLayout, OneAndTwoPhotosSitOnTheCentreLine) {
  PictureRollLayout one = PreparePictureLayout(1, kArea, true);
  EXPECT_EQ(one.photoWidth, 200);
  EXPECT_EQ(one.photoHeight, 150);
  EXPECT_EQ(one.pointSize, 20);
  const QRect photo = PhotoRect(one, 1, kArea);
  EXPECT_EQ(photo, QRect(312, 130, 200, 150));
  EXPECT_EQ(PhotoCaptionPosition(one, photo, {80, 30}), QPoint(372, 240));

  PictureRollLayout two = PreparePictureLayout(2, kArea, true);
  const QRect a = PhotoRect(two, 1, kArea);
  const QRect b = PhotoRect(two, 2, kArea);
  EXPECT_EQ(a, QRect(202, 130, 200, 150));
  EXPECT_EQ(b, QRect(422, 130, 200, 150));
  EXPECT_EQ(b.left() - (a.left() + a.width()), 20);
  EXPECT_EQ(a.left() + (b.left() + b.width()), 824) << "centred on the area's centre line";
  // One or two photos make no size demand, even on an area too small for them.
  EXPECT_EQ(PreparePictureLayout(2, {100, 100}, true).photoWidth, 200);
}

TEST(PictureRollLayout, ThreePhotosMakeTwoRowsWithTheShortRowAtTheLeft) {
  PictureRollLayout layout = PreparePictureLayout(3, kArea, true);
  EXPECT_EQ(layout.rows, 2);
  EXPECT_EQ(layout.perRow, 2);
  EXPECT_EQ(PhotoRect(layout, 1, kArea), QRect(207, 50, 200, 150));
  EXPECT_EQ(PhotoRect(layout, 2, kArea), QRect(417, 50, 200, 150));
  EXPECT_EQ(PhotoRect(layout, 3, kArea), QRect(207, 210, 200, 150));
  EXPECT_EQ(PhotoCaptionPosition(layout, PhotoRect(layout, 3, kArea), {80, 30}), QPoint(267, 325));
}

TEST(PictureRollLayout, FifteenPortraitPhotosShrinkUntilThreeRowsFit) {
  PictureRollLayout layout = PreparePictureLayout(15, kArea, false);
  EXPECT_EQ(layout.rows, 3);
  EXPECT_EQ(layout.perRow, 5);
  // 150x200 and 120x160 are too tall for 410 pixels; 90x120 fits (3 * 120 + 20 = 380).
  EXPECT_EQ(layout.photoWidth, 90);
  EXPECT_EQ(layout.photoHeight, 120);
  EXPECT_EQ(layout.pointSize, 16);
  EXPECT_EQ(PhotoRect(layout, 1, kArea), QRect(167, 15, 90, 120));
  EXPECT_EQ(PhotoRect(layout, 15, kArea), QRect(567, 275, 90, 120));
}

TEST(PictureRollLayout, FortyOnePhotosMakeFiveRowsOfNine) {
  PictureRollLayout layout = PreparePictureLayout(41, kArea, true);
  EXPECT_EQ(layout.rows, 5);
  EXPECT_EQ(layout.perRow, 9);
  EXPECT_EQ(layout.photoWidth, 80);
  EXPECT_EQ(layout.photoHeight, 60);
  EXPECT_EQ(layout.pointSize, 14);
  EXPECT_EQ(PhotoRect(layout, 1, kArea), QRect(12, 35, 80, 60));
  EXPECT_EQ(PhotoRect(layout, 9, kArea), QRect(732, 35, 80, 60));
  EXPECT_EQ(PhotoRect(layout, 41, kArea), QRect(372, 315, 80, 60));
}

TEST(PictureRollLayout, TinyAreasStopAtTheSmallestPhoto) {
  PictureRollLayout layout = PreparePictureLayout(30, {20, 20}, true);
  EXPECT_EQ(layout.photoWidth, 4);
  EXPECT_EQ(layout.pointSize, 8);
  PictureRollLayout portrait = PreparePictureLayout(30, {20, 20}, false);
  EXPECT_EQ(portrait.photoWidth, 3);
  EXPECT_EQ(portrait.photoHeight, 4);
}

}  // namespace
}  // namespace kavrel
