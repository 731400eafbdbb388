#include <gtest/gtest.h>

#include <vector>

#include "stage/roll_layout.h"

namespace kavrel {
namespace {

// The rolling area of a 1024 x 768 stage with the synthetic captions of the layout tests.
const QSize kArea(824, 410);

// Synthetic metrics of a name of three CJK characters in a CJK face: 3 px wide per pixel of font size,
// the ink 0.88 px high and a row (ink and the space between rows) 1.06 px.
constexpr double kInkPerPx = 0.88;
QSize Names(int px) {
  return {px * 3, static_cast<int>(px * 1.06)};
}

// A grid as the fitting would leave it, for the placement tests.
TextRollLayout Grid(int count, int columns, int rowHeight = 30, int gap = 40) {
  TextRollLayout layout;
  layout.count = count;
  layout.columns = columns;
  layout.rows = (count + columns - 1) / columns;
  layout.fullColumns = count - (layout.rows - 1) * columns;
  layout.rowHeight = rowHeight;
  layout.gap = gap;
  return layout;
}

std::vector<int> ItemsPerColumn(const TextRollLayout& layout) {
  std::vector<int> counts(layout.columns, 0);
  for (int i = 1; i <= layout.count; ++i) ++counts[TextColumnSlot(layout, i).column - 1];
  return counts;
}

bool Fits(int count, int columns, int px, QSize area, const MeasureNames& measure) {
  const QSize n = measure(px);
  const int rows = (count + columns - 1) / columns;
  return rows * n.height() <= area.height() &&
         columns * n.width() + (columns - 1) * static_cast<int>(px * kColumnGapEm) <= area.width();
}

TEST(TextRollLayout, ChoosesTheColumnsThatGiveTheLargestNames) {
  // Against a search of every size and column count: nothing larger would fit.
  for (const QSize area : {QSize(824, 380), QSize(1720, 670), QSize(600, 700), QSize(300, 90)}) {
    for (int count : {1, 2, 3, 5, 10, 13, 25, 27, 40, 50, 100}) {
      const TextRollLayout layout = FitTextLayout(count, area, Names, 1000);
      ASSERT_TRUE(Fits(count, layout.columns, layout.pixelSize, area, Names)) << count;
      bool larger = false;
      for (int columns = 1; columns <= count; ++columns)
        larger |= Fits(count, columns, layout.pixelSize + 1, area, Names);
      EXPECT_FALSE(larger) << count << " names in " << area.width() << "x" << area.height();
      EXPECT_EQ(layout.rows, (count + layout.columns - 1) / layout.columns);
      EXPECT_EQ(layout.rowHeight, Names(layout.pixelSize).height());
      EXPECT_EQ(ItemsPerColumn(layout).size(), static_cast<std::size_t>(layout.columns));
    }
  }
  // The cap holds a single name back from filling the whole area.
  EXPECT_EQ(FitTextLayout(1, {824, 380}, Names, 150).pixelSize, 150);
  EXPECT_EQ(FitTextLayout(1, {824, 380}, Names, 150).columns, 1);
}

TEST(TextRollLayout, NamesReadFromTheBackOfTheHall) {
  // The rolling areas of a 1024 x 768 and a 1920 x 1080 stage with its titles and drawer caption; the
  // glyph's share of the screen height for 1, 3, 10, 25 and 50 names.
  const struct {
    QSize area;
    int screenHeight;
  } stages[] = {{{824, 380}, 768}, {{1720, 670}, 1080}};
  const std::pair<int, double> targets[] = {{1, 0.12}, {3, 0.08}, {10, 0.05}, {25, 0.035}, {50, 0.025}};
  for (const auto& stage : stages) {
    for (const auto& [count, share] : targets) {
      const TextRollLayout layout = FitTextLayout(count, stage.area, Names, stage.area.height() * 42 / 100);
      EXPECT_GE(layout.pixelSize * kInkPerPx / stage.screenHeight, share)
          << count << " names at " << stage.screenHeight << " lines";
    }
  }
}

TEST(TextRollLayout, LongEntriesAndUnevenGlyphsStillFit) {
  // 工号 姓名 部门: about 13 characters' width.
  const auto wide = [](int px) { return QSize(px * 13, static_cast<int>(px * 1.06)); };
  const QSize area(824, 380);
  const TextRollLayout layout = FitTextLayout(50, area, wide, 160);
  const QSize cell = wide(layout.pixelSize);
  for (int i = 1; i <= 50; ++i) {
    const QRect r(TextPosition(layout, i, area, cell), cell);
    EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(r)) << i;
  }
  // Hinting makes a font grow in steps: the size found is checked and lowered until it fits.
  const auto stepped = [](int px) { return QSize(px * 3 + (px > 40 ? 60 : 0), px); };
  const TextRollLayout s = FitTextLayout(1, {170, 400}, stepped, 400);
  EXPECT_LE(stepped(s.pixelSize).width(), 170);
  EXPECT_EQ(s.pixelSize, 40);
  // Nothing to show, or no room: the smallest size, never a loop without end.
  EXPECT_EQ(FitTextLayout(0, area, Names, 100).rows, 0);
  EXPECT_EQ(FitTextLayout(5, {10, 10}, Names, 100).pixelSize, kTextRollMinPixelSize);
}

TEST(TextRollLayout, TwoColumnsAlternateAroundTheCentreLine) {
  const QSize area(824, 410);
  const TextRollLayout layout = Grid(13, 2);
  EXPECT_EQ(ItemsPerColumn(layout), (std::vector<int>{7, 6}));
  const QSize text(80, 30);                                          // top = (410 - 7 * 30) / 2 = 100
  EXPECT_EQ(TextPosition(layout, 1, area, text), QPoint(312, 100));  // right edge 20 px left of 412
  EXPECT_EQ(TextPosition(layout, 2, area, text), QPoint(432, 100));  // 20 px right of 412
  EXPECT_EQ(TextPosition(layout, 13, area, text), QPoint(312, 280));
  // Each name keeps its right edge on the left column's line, whatever its width.
  EXPECT_EQ(TextPosition(layout, 3, area, {150, 30}, 150).x() + 150, 392);
  // One column centres each name on its own width.
  EXPECT_EQ(TextPosition(Grid(3, 1), 2, area, {81, 30}), QPoint(371, 190));
}

TEST(TextRollLayout, ColumnsFillTopToBottomWithTheLongColumnsFirst) {
  // 28 in three columns: 10, 9 and 9.
  const TextRollLayout n28 = Grid(28, 3);
  EXPECT_EQ(ItemsPerColumn(n28), (std::vector<int>{10, 9, 9}));
  EXPECT_EQ(TextColumnSlot(n28, 10).column, 1);
  EXPECT_EQ(TextColumnSlot(n28, 11).column, 2);
  EXPECT_EQ(TextColumnSlot(n28, 19).row, 9);
  EXPECT_EQ(TextColumnSlot(n28, 28).column, 3);
  EXPECT_EQ(ItemsPerColumn(Grid(41, 4)), (std::vector<int>{11, 10, 10, 10}));
  EXPECT_EQ(ItemsPerColumn(Grid(23, 5)), (std::vector<int>{5, 5, 5, 4, 4}));

  // Columns are spaced by the widest name of the tick (150) and the gap: x0 = (824 - 450 - 80) / 2.
  const QSize area(824, 410);
  const TextRollLayout n27 = Grid(27, 3);
  const QPoint wide = TextPosition(n27, 1, area, {150, 30}, 150);
  const QPoint narrow = TextPosition(n27, 10, area, {100, 30}, 150);
  EXPECT_EQ(wide, QPoint(147, 70));
  EXPECT_EQ(narrow, QPoint(337, 70));
  EXPECT_GE(narrow.x() - (wide.x() + 150), 40);
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
