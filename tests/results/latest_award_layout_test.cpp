#include "results/latest_award_layout.h"

#include <gtest/gtest.h>

#include "storage/codec.h"

namespace kavrel {
namespace {

// Synthetic metrics: a line is twice the point size high, a byte is half the point size wide.
class FakeMeasure : public TextMeasure {
 public:
  int LineHeight(int pointSize, const std::string&) const override {
    ++heightCalls;
    return pointSize * 2;
  }
  int Width(int pointSize, const std::string& text) const override {
    return static_cast<int>(text.size()) * pointSize / 2;
  }
  mutable int heightCalls = 0;
};

ResultLine Award(int winners) {
  ResultLine line{"A", "P", {}};
  for (int k = 1; k <= winners; ++k) line.winners.push_back(std::string(k < 10 ? "00" : "0") + std::to_string(k));
  return line;
}

TEST(LatestAwardLayout, RowsAreAwardPrizeAndOnePerPairOfWinners) {
  EXPECT_EQ(LatestAwardRows(0), 2);
  EXPECT_EQ(LatestAwardRows(1), 3);
  EXPECT_EQ(LatestAwardRows(4), 4);
  EXPECT_EQ(LatestAwardRows(10), 7);
  EXPECT_EQ(LatestAwardRows(11), 8);
}

TEST(LatestAwardLayout, OneWinnerSitsLeftOfTheCentreOnRowTwo) {
  FakeMeasure m;
  const auto layout = LayOutLatestAward(Award(1), 1000, 800, m);
  ASSERT_EQ(layout.texts.size(), 3u);
  EXPECT_EQ(layout.pointSize, 26);
  const int h = 52;
  const int top = (800 - 3 * h) / 2;
  // Heading "A" + "1" + "名": 1 + 1 + 2 bytes wide at 13 pixels per byte.
  EXPECT_EQ(layout.texts[0].text, "A1" + Gb("名"));
  EXPECT_EQ(layout.texts[0].x, (1000 - 4 * 13) / 2);
  EXPECT_EQ(layout.texts[0].y, top);
  EXPECT_EQ(layout.texts[1].text, "(P)");
  EXPECT_EQ(layout.texts[1].x, static_cast<int>((1000 - 3 * 13) / 2.0));
  EXPECT_EQ(layout.texts[1].y, top + h);
  EXPECT_EQ(layout.texts[2].text, "001");
  EXPECT_EQ(layout.texts[2].x, 500 - 3 * 13 - 30);
  EXPECT_EQ(layout.texts[2].y, top + 2 * h);
}

TEST(LatestAwardLayout, WinnersPairUpLeftAndRight) {
  FakeMeasure m;
  const auto four = LayOutLatestAward(Award(4), 1000, 800, m);
  ASSERT_EQ(four.texts.size(), 6u);
  const int h = 52;
  const int top = (800 - 4 * h) / 2;
  const int left = 500 - 39 - 30;
  const int right = 530;
  EXPECT_EQ(four.texts[2].x, left);
  EXPECT_EQ(four.texts[2].y, top + 2 * h);
  EXPECT_EQ(four.texts[3].x, right);
  EXPECT_EQ(four.texts[3].y, top + 2 * h);
  EXPECT_EQ(four.texts[4].x, left);
  EXPECT_EQ(four.texts[4].y, top + 3 * h);
  EXPECT_EQ(four.texts[5].x, right);
  EXPECT_EQ(four.texts[5].y, top + 3 * h);

  // Two batches of five of one award: ten winners on five rows, the heading counts all ten.
  const auto ten = LayOutLatestAward(Award(10), 1000, 1000, m);
  ASSERT_EQ(ten.texts.size(), 12u);
  EXPECT_EQ(ten.texts[0].text, "A10" + Gb("名"));
  const int top10 = (1000 - 7 * h) / 2;
  EXPECT_EQ(ten.texts[11].text, "010");
  EXPECT_EQ(ten.texts[11].x, right);
  EXPECT_EQ(ten.texts[11].y, top10 + 6 * h);
  EXPECT_EQ(ten.texts[10].text, "009");
  EXPECT_EQ(ten.texts[10].y, top10 + 6 * h);
  EXPECT_EQ(ten.hiddenWinners, 0);
}

TEST(LatestAwardLayout, FontShrinksInTwoPointStepsUntilTheBlockFits) {
  FakeMeasure m;
  // 10 winners: 7 rows. At 26 pt the block is 364 high; the limit is 400 - 100 = 300.
  // 24 pt: 336, 22 pt: 308, 20 pt: 280 fits.
  const auto layout = LayOutLatestAward(Award(10), 1000, 400, m);
  EXPECT_EQ(layout.pointSize, 20);
  EXPECT_EQ(layout.lineHeight, 40);
  EXPECT_EQ(layout.texts.size(), 12u);
  EXPECT_EQ(layout.texts[0].y, (400 - 280) / 2);
  // A block that fits at once keeps the starting size.
  EXPECT_EQ(LayOutLatestAward(Award(10), 1000, 500, m).pointSize, 26);
}

TEST(LatestAwardLayout, BeyondTheSmallestSizeTheListIsCutAndTheRestCounted) {
  FakeMeasure m;
  // 1,000 winners cannot fit 600 pixels at any size: 8 pt gives 16-pixel rows, 500 / 16 = 31 rows
  // fit: award, prize, 28 winner rows (56 winners) and the row counting the other 944.
  const auto layout = LayOutLatestAward(Award(1000), 1200, 600, m);
  EXPECT_EQ(layout.pointSize, kLatestAwardMinPointSize);
  EXPECT_EQ(layout.hiddenWinners, 944);
  ASSERT_EQ(layout.texts.size(), 2u + 56u + 1u);
  const auto& note = layout.texts.back();
  EXPECT_EQ(note.text, HiddenWinnersText(944));
  EXPECT_EQ(note.text, Gb("……另有944名中奖人员未能显示"));
  const int top = (600 - 31 * 16) / 2;
  EXPECT_EQ(note.y, top + 30 * 16);
  EXPECT_LE(note.y + 16, 600 - 50);
  EXPECT_LE(m.heightCalls, 1 + (26 - 8) / 2);

  // A panel too small for anything still ends: only the heading rows and the count remain.
  const auto tiny = LayOutLatestAward(Award(5), 300, 90, m);
  EXPECT_EQ(tiny.pointSize, kLatestAwardMinPointSize);
  EXPECT_EQ(tiny.hiddenWinners, 5);
  EXPECT_EQ(tiny.texts.size(), 3u);
}

}  // namespace
}  // namespace kavrel
