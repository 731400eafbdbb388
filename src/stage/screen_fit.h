#pragma once

// Keeps the stage's captions on the screen whatever font the operator picks: before a layout pass,
// a caption too wide for the screen, or captions too tall to stack above and below the rolling area,
// lose font size. Sizes that fit are left alone.

#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>
#include <functional>

namespace kavrel {

struct StageElements;

enum class FitCaption : std::size_t { MainTitle, SubTitle, Award, Drawer, Status, PrizeName, Centre };
inline constexpr std::size_t kFitCaptionCount = 7;
using CaptionPointSizes = std::array<int, kFitCaptionCount>;

// Room the fixed elements take below the drawer caption: the marquee band (30 from the bottom), the
// buttons (50) and the gaps of the layout pass, plus the gaps above the drawer and the prize name.
inline constexpr int kBottomFixedHeight = 120;

// The sizes at which every caption fits `screen`:
// - each caption is at most screen width - 10 wide, and the centre caption at most screen height - 10 high;
// - the titles and the award (stacked from top 8) take at most half the screen height;
// - the drawer, status and prize-name captions (stacked above the buttons) take at most half the
//   screen height less kBottomFixedHeight.
// When a stack is too tall its tallest caption shrinks first (by a point, or a twentieth of a large size). `measure`
// gives a caption's size (as the layout fits it) at a point size. No size goes below 1 point.
CaptionPointSizes FitCaptionsToScreen(CaptionPointSizes sizes, QSize screen,
                                      const std::function<QSize(FitCaption, int pointSize)>& measure);

// The same on the stage's labels, measuring their captions in their own fonts.
void KeepCaptionsOnScreen(const StageElements& elements, const QRect& screen);

}  // namespace kavrel
