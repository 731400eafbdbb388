#pragma once

namespace kavrel {

// Position of the winner-show list inside its area (the area begins below the 150-pixel title
// band). The list enters at the lower edge of the area, rises one pixel per tick and, once it
// has left the area at the top, comes back from the bottom edge of the screen, which lies one
// band height below the area's lower edge.
class WinnerShowScroll {
 public:
  static constexpr int kBandHeight = 150;
  static constexpr int kTickMilliseconds = 30;

  WinnerShowScroll(int screenHeight, int listHeight)
      : screenHeight_(screenHeight), listHeight_(listHeight), top_(screenHeight - kBandHeight) {}

  int top() const { return top_; }
  int listHeight() const { return listHeight_; }

  // One timer tick: up by a pixel, and round again once the list has gone.
  void Tick() {
    --top_;
    if (top_ + listHeight_ <= 0) top_ = screenHeight_;
  }

 private:
  int screenHeight_;
  int listHeight_;
  int top_;
};

}  // namespace kavrel
