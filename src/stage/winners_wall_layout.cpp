#include "stage/winners_wall_layout.h"

#include <algorithm>
#include <cmath>

namespace kavrel {
namespace {

struct Metrics {
  int px = 0;
  int heading = 0;     // heading font
  int rowHeight = 0;   // one row of names
  int headingRow = 0;  // a heading with the space above it
  int cellWidth = 0;   // a name with the gap after it
  int columns = 1;
};

Metrics MetricsAt(int px, QSize area, const std::function<int(int)>& widestName) {
  Metrics m;
  m.px = px;
  m.heading = static_cast<int>(std::lround(px * 1.15));
  m.rowHeight = static_cast<int>(std::lround(px * 1.25));
  m.headingRow = static_cast<int>(std::lround(m.heading * 1.6));
  const int gap = std::max(4, static_cast<int>(px * 1.2));
  m.cellWidth = std::max(1, widestName(px)) + gap;
  m.columns = std::max(1, (area.width() + gap) / m.cellWidth);
  return m;
}

int RowsOf(int winners, int columns) {
  return (winners + columns - 1) / columns;
}

int HeightOnOnePage(const std::vector<int>& winners, const Metrics& m) {
  int h = 0;
  for (int n : winners) {
    if (n > 0) h += m.headingRow + RowsOf(n, m.columns) * m.rowHeight;
  }
  return h;
}

}  // namespace

WallLayout LayOutWall(const std::vector<int>& winners, QSize area, int screenHeight,
                      const std::function<int(int pixelSize)>& widestName) {
  WallLayout layout;
  const int minPx = std::max(6, static_cast<int>(std::ceil(screenHeight * kWallMinGlyphShare / kWallInkPerPixel)));
  const int pagingPx = static_cast<int>(minPx * 1.2);
  const int maxPx = std::max(minPx, area.height() / 10);

  // The largest size that fits everything on one page, else the paging size.
  Metrics m = MetricsAt(pagingPx, area, widestName);
  for (int px = maxPx; px >= pagingPx; px = std::min(px - 1, static_cast<int>(px * 0.95))) {
    const Metrics at = MetricsAt(px, area, widestName);
    if (HeightOnOnePage(winners, at) <= area.height()) {
      m = at;
      break;
    }
  }
  layout.pixelSize = m.px;
  layout.headingPixelSize = m.heading;

  std::vector<WallItem> page;
  int y = 0;
  auto newPage = [&] {
    if (!page.empty()) layout.pages.push_back(std::move(page));
    page.clear();
    y = 0;
  };
  auto heading = [&](int g, bool continued) {
    page.push_back({g, -1, continued, QRect(0, y, area.width(), m.headingRow)});
    y += m.headingRow;
  };
  for (int g = 0; g < static_cast<int>(winners.size()); ++g) {
    const int n = winners[static_cast<std::size_t>(g)];
    if (n <= 0) continue;
    // A heading never stands alone at the foot of a page.
    if (y > 0 && y + m.headingRow + m.rowHeight > area.height()) newPage();
    heading(g, false);
    for (int row = 0; row < RowsOf(n, m.columns); ++row) {
      if (y + m.rowHeight > area.height() && y > m.headingRow) {
        newPage();
        heading(g, true);
      }
      const int first = row * m.columns;
      const int inRow = std::min(m.columns, n - first);
      // Each row is centred as a block of cells; the last cell has no gap after it.
      const int rowWidth = inRow * m.cellWidth;
      // A name wider than the page gets the page's width (and is cut short when painted).
      const int x0 = std::max(0, (area.width() - rowWidth) / 2);
      const int cell = std::min(m.cellWidth, area.width());
      for (int c = 0; c < inRow; ++c)
        page.push_back({g, first + c, false, QRect(x0 + c * m.cellWidth, y, cell, m.rowHeight)});
      y += m.rowHeight;
    }
  }
  newPage();
  return layout;
}

}  // namespace kavrel
