#pragma once

// Pages of the winners wall as a pure function of the group sizes, the screen and a measure of the
// names: every winner so far, grouped by award, at a size the back of the hall can read.

#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

namespace kavrel {

struct WallItem {
  int group = 0;           // index into the groups given
  int winner = -1;         // index of the winner within its group; -1 for the group's heading
  bool continued = false;  // a heading repeated at the top of a page: the group began on the page before
  QRect rect;
};

struct WallLayout {
  int pixelSize = 0;         // the names' font
  int headingPixelSize = 0;  // the award headings' font
  std::vector<std::vector<WallItem>> pages;
};

// Glyph height of a CJK name as a share of its font's pixel size, and the share of the screen height
// the wall's names never go below.
inline constexpr double kWallInkPerPixel = 0.88;
inline constexpr double kWallMinGlyphShare = 0.025;

// `winners[g]`: the number of winners of group g. `widestName(px)`: the widest name's width at a pixel
// size. The names take the largest size at which everything fits one page of `area`, up to a tenth of
// its height; when even the smallest readable size (kWallMinGlyphShare of `screenHeight`, a little
// more for comfort) does not fit one page, the wall pages at that size. A group that does not fit the
// rest of a page continues on the next, under its heading again. Empty groups are left out.
WallLayout LayOutWall(const std::vector<int>& winners, QSize area, int screenHeight,
                      const std::function<int(int pixelSize)>& widestName);

}  // namespace kavrel
