#include "engine/split_quota.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kavrel {
namespace {

using Sizes = std::vector<long long>;

TEST(SplitQuota, KeepsTheUsualSplitWhereEveryBatchGetsAWinner) {
  EXPECT_EQ(SplitQuota(10, 2), (Sizes{5, 5}));
  EXPECT_EQ(SplitQuota(10, 3), (Sizes{4, 4, 2}));
  EXPECT_EQ(SplitQuota(7, 4), (Sizes{2, 2, 2, 1}));
  EXPECT_EQ(SplitQuota(1, 1), (Sizes{1}));
  EXPECT_EQ(SplitQuota(3, 2), (Sizes{2, 1}));
}

TEST(SplitQuota, SpreadsEvenlyWhereTheUsualSplitLeavesAnEmptyOrNegativeBatch) {
  EXPECT_EQ(SplitQuota(5, 4), (Sizes{2, 1, 1, 1}));
  EXPECT_EQ(SplitQuota(10, 6), (Sizes{2, 2, 2, 2, 1, 1}));
  EXPECT_EQ(SplitQuota(9, 9), (Sizes(9, 1)));
  EXPECT_EQ(SplitQuota(10, 9), (Sizes{2, 1, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(SplitQuota, GivesNoSplitForImpossibleNumbers) {
  EXPECT_TRUE(SplitQuota(0, 1).empty());
  EXPECT_TRUE(SplitQuota(5, 0).empty());
  EXPECT_TRUE(SplitQuota(-3, 1).empty());
  EXPECT_TRUE(SplitQuota(3, 4).empty());
}

TEST(SplitQuota, EveryBatchHasAWinnerAndTheSizesAddUpForAllSmallQuotas) {
  for (long long q = 1; q <= 80; ++q)
    for (long long b = 1; b <= q; ++b) {
      const Sizes s = SplitQuota(q, b);
      ASSERT_EQ(static_cast<long long>(s.size()), b) << q << " in " << b;
      EXPECT_EQ(std::accumulate(s.begin(), s.end(), 0LL), q) << q << " in " << b;
      for (std::size_t i = 0; i < s.size(); ++i) {
        EXPECT_GE(s[i], 1) << q << " in " << b;
        if (i > 0) {
          EXPECT_LE(s[i], s[i - 1]) << q << " in " << b << ": larger batches first";
        }
      }
    }
}

TEST(BatchDetails, JoinsSizesWithPlusAndShowsASingleBatchAsTheQuota) {
  EXPECT_EQ(BatchDetails({5, 5}), "5+5");
  EXPECT_EQ(BatchDetails({2, 1, 1, 1}), "2+1+1+1");
  EXPECT_EQ(BatchDetails({12}), "12");
  EXPECT_EQ(BatchDetails({}), "");
}

}  // namespace
}  // namespace kavrel
