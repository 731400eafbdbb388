#pragma once

// The stage's layout pass as a pure function: element sizes and the screen size in, every element's
// rectangle out. No widget and no font metrics are touched here, so tests feed synthetic sizes and the
// stage window measures its captions first (see stage_elements.h for the widget-side wrapper).

#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>
#include <functional>

#include "engine/ports/stage_hooks.h"

namespace kavrel {

// The rectangle of the stage window and of every element on it, in stage coordinates.
struct StageGeometry {
  QRect window;
  std::array<QRect, kStageElementKinds> rects{};

  QRect& operator[](StageElement e) { return rects[static_cast<std::size_t>(e)]; }
  const QRect& operator[](StageElement e) const { return rects[static_cast<std::size_t>(e)]; }
  bool operator==(const StageGeometry&) const = default;
};

// Measured caption sizes of the labels that the layout pass fits to their captions. The marquee keeps
// its height (24) and only takes the caption's width.
struct CaptionSizes {
  QSize mainTitle;
  QSize subtitle;
  QSize award;
  QSize marquee;
  QSize status;
  QSize drawer;
  QSize centre;
  QSize prizeName;  // the prize name's current size; empty while it is hidden or has no text
  // The start and stop buttons and the status line are all hidden: the drawer caption then sits just
  // above the marquee, and the rolling area takes the room they leave.
  bool controlsHidden = false;
};

// Sizes and the two positions the very first pass reads before it has set them: the stage was
// designed on an 800 x 600 grid with the marquee at top 552 and the main title at top 32.
StageGeometry DesignGeometry();

// Design sizes that other code needs by name.
inline constexpr QSize kButtonSize{129, 50};
inline constexpr QSize kMenuBarSize{160, 22};
inline constexpr QSize kPrizePictureSize{160, 120};
inline constexpr QSize kSmallPrizePictureSize{120, 90};
inline constexpr QSize kPrizeNameDesignSize{300, 30};
inline constexpr int kMarqueeHeight = 24;
inline constexpr int kMarqueeStartLeft = 500;

// One layout pass. `current` is the geometry the elements have now (the previous pass's result, or
// DesignGeometry() on the first pass): several steps read positions that only a later step sets
// (the buttons read the marquee's previous top, the menu bar the main title's previous top), so the
// stage settles after the second pass. The prize-name label and the prize picture keep their sizes
// except that the picture becomes 120 x 90 on screens at most 600 pixels high. The rolling area is
// RollingArea's.
StageGeometry LayoutStage(const StageGeometry& current, const CaptionSizes& captions, QSize screen);

// The drawer caption's top when the buttons and the status line are all hidden: 10 pixels above the
// marquee.
int DrawerTopWithoutControls(int screenHeight, int drawerHeight);

// The rolling area: between the award and the drawer caption, 100 pixels in from either side, and
// above the prize name (`prizeName`, empty when none is shown) where the two would meet, so the last
// row of winners never runs into the prize text. Never of negative height.
QRect RollingArea(int screenWidth, int awardBottom, int drawerTop, const QRect& prizeName);

// Point sizes of the six labels that shrink together when the main title is too wide.
struct TitleFontSizes {
  int mainTitle = 36;
  int subtitle = 36;
  int award = 28;
  int drawer = 18;
  int status = 16;
  int prizeName = 18;
  bool operator==(const TitleFontSizes&) const = default;
};

// While the main title (measured at its current point size by `mainTitleWidth`) is wider than
// screenWidth - 50, the titles and the award lose 2 points and drawer, status and prize name 1 point
// each. Stops at a 2-point main title so an absurdly long title cannot loop forever; no size goes
// below 1 point.
TitleFontSizes FitTitleFontSizes(TitleFontSizes sizes, int screenWidth,
                                 const std::function<int(int pointSize)>& mainTitleWidth);

// Result of fitting the prize name into the space right of the drawer caption.
struct PrizeNameFit {
  int pointSize = 0;
  int width = 0;
  int left = 0;
};

// Shrinks the prize name one point at a time until its left edge (screenWidth - width - 5) is at or
// right of drawerRight; `widthAt` measures the caption at a point size. Stops at 1 point.
PrizeNameFit FitPrizeNameSize(int pointSize, int screenWidth, int drawerRight,
                              const std::function<int(int pointSize)>& widthAt);

}  // namespace kavrel
