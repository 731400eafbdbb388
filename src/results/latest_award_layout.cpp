#include "results/latest_award_layout.h"

#include <algorithm>

#include "results/result_texts.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

// Coordinates are computed in floating point and truncated when drawn.
int Trunc(double v) {
  return static_cast<int>(v);
}

}  // namespace

int LatestAwardRows(int winnerCount) {
  return 2 + (winnerCount + 1) / 2;
}

std::string HiddenWinnersText(int hiddenWinners) {
  return Gb("……另有") + std::to_string(hiddenWinners) + Gb("名中奖人员未能显示");
}

LatestAwardLayout LayOutLatestAward(const ResultLine& line, int panelWidth, int panelHeight,
                                    const TextMeasure& measure) {
  LatestAwardLayout out;
  const int n = static_cast<int>(line.winners.size());
  int rows = LatestAwardRows(n);
  const double limit = panelHeight - 100;

  int size = kLatestAwardStartPointSize;
  int h = measure.LineHeight(size, line.awardName);
  while (static_cast<double>(rows) * h > limit && size - 2 >= kLatestAwardMinPointSize) {
    size -= 2;
    h = measure.LineHeight(size, line.awardName);
  }

  // Winner rows actually drawn; at the smallest size the list is cut so that the block, with
  // the row that counts the rest, fits the panel.
  int winnerRows = rows - 2;
  if (static_cast<double>(rows) * h > limit) {
    const int capacity = h > 0 ? std::max(0, static_cast<int>(limit) / h) : 0;
    winnerRows = std::max(0, capacity - 3);
    out.hiddenWinners = n - std::min(n, 2 * winnerRows);
    rows = 2 + winnerRows + 1;
  }
  out.pointSize = size;
  out.lineHeight = h;

  const double width = panelWidth;
  const double top = (panelHeight - static_cast<double>(rows * h)) / 2;
  auto centred = [&](const std::string& text, double y) {
    out.texts.push_back({text, Trunc((width - measure.Width(size, text)) / 2), Trunc(y)});
  };

  centred(line.awardName + WinnerCountText(line) + Gb("名"), top);
  centred("(" + line.prizeName + ")", top + h);
  const int shown = std::min(n, 2 * winnerRows);
  for (int k = 1; k <= shown; ++k) {
    const std::string& winner = line.winners[static_cast<std::size_t>(k - 1)];
    const double y = top + static_cast<double>(h) * (1 + (k + 1) / 2);
    const double x = (k % 2 == 1) ? width / 2 - measure.Width(size, winner) - 30 : width / 2 + 30;
    out.texts.push_back({winner, Trunc(x), Trunc(y)});
  }
  if (out.hiddenWinners > 0)
    centred(HiddenWinnersText(out.hiddenWinners), top + static_cast<double>(h) * (2 + winnerRows));
  return out;
}

}  // namespace kavrel
