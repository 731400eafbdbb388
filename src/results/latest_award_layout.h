#pragma once

#include <string>
#include <vector>

#include "storage/result_store.h"

namespace kavrel {

// Text metrics at a given point size of the panel's font, so that the layout can be computed
// and tested without a screen.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int LineHeight(int pointSize, const std::string& gbText) const = 0;
  virtual int Width(int pointSize, const std::string& gbText) const = 0;
};

struct PlacedText {
  std::string text;  // GB18030
  int x = 0;         // top-left corner of the text
  int y = 0;
};

struct LatestAwardLayout {
  int pointSize = 0;
  int lineHeight = 0;
  std::vector<PlacedText> texts;
  int hiddenWinners = 0;  // winners left out because they fit at no font size
};

inline constexpr int kLatestAwardStartPointSize = 26;
// Below this the names cannot be read from the back of a hall; the layout then cuts the list.
inline constexpr int kLatestAwardMinPointSize = 8;

// Rows of the latest-award block: award, prize, one row per pair of winners.
int LatestAwardRows(int winnerCount);

// Lays the last result line out on a panel: the award heading and "(prize)" centred on the
// first two rows, winners in pairs to the left and right of the centre. The font shrinks in
// 2-point steps while the block is taller than the panel less 100 pixels. When it still does
// not fit at the smallest size, as many winner rows as fit are shown and a last row says how
// many winners are not shown.
LatestAwardLayout LayOutLatestAward(const ResultLine& line, int panelWidth, int panelHeight,
                                    const TextMeasure& measure);

// The row that replaces the winners that do not fit.
std::string HiddenWinnersText(int hiddenWinners);

}  // namespace kavrel
