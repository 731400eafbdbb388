#include "results/result_texts.h"

#include <gtest/gtest.h>

#include "result_folder.h"
#include "storage/codec.h"

namespace kavrel {
namespace {

using testing::ResultFolder;

std::vector<ResultLine> Golden(const std::string& name) {
  ResultFolder folder;
  folder.UseGolden(name);
  return LoadResultLog(folder.dir());
}

TEST(ResultTexts, WinnerListPutsNewestLineFirstWithoutBlankLines) {
  EXPECT_EQ(WinnerListText(Golden("one_award.dat")),
            Gb("三等奖5名(奖品：MP4一部)\r\n017\r\n012\r\n009\r\n004\r\n001\r\n"));
  // The same award drawn again after another one keeps its own line and its own count.
  EXPECT_EQ(WinnerListText(Golden("same_award_twice.dat")), Gb("三等奖2名(奖品：MP4一部)\r\n033\r\n028\r\n"
                                                               "一等奖1名(奖品：笔记本一台)\r\n042\r\n"
                                                               "三等奖2名(奖品：MP4一部)\r\n017\r\n012\r\n"));
  EXPECT_EQ(WinnerListText(Golden("abandoned.dat")),
            Gb("一等奖1名(笔记本一台)\r\n042(已弃奖)\r\n二等奖2名(平板电脑)\r\n023(已弃奖)\r\n031\r\n"));
}

TEST(ResultTexts, WinnerShowPutsPrizeOnItsOwnLineAndABlankLineAfterEachAward) {
  const auto lines = Golden("same_award_twice.dat");
  const auto rows = WinnerShowRows(lines);
  EXPECT_EQ(JoinRows(rows), Gb("三等奖2名\r\n(奖品：MP4一部)\r\n033\r\n028\r\n\r\n"
                               "一等奖1名\r\n(奖品：笔记本一台)\r\n042\r\n\r\n"
                               "三等奖2名\r\n(奖品：MP4一部)\r\n017\r\n012\r\n\r\n"));
  // The list height in lines: one per result line plus its field count.
  std::size_t expected = lines.size();
  for (const auto& line : lines) expected += 2 + line.winners.size();
  EXPECT_EQ(rows.size(), expected);

  EXPECT_EQ(
      JoinRows(WinnerShowRows(Golden("abandoned.dat"))),
      Gb("一等奖1名\r\n(笔记本一台)\r\n042(已弃奖)\r\n\r\n二等奖2名\r\n(平板电脑)\r\n023(已弃奖)\r\n031\r\n\r\n"));
}

TEST(ResultTexts, MissingOrEmptyResultFileGivesNoText) {
  ResultFolder folder;
  EXPECT_TRUE(LoadResultLog(folder.dir()).empty());
  EXPECT_EQ(WinnerListText(LoadResultLog(folder.dir())), "");
  folder.WriteResult("");
  EXPECT_TRUE(WinnerShowRows(LoadResultLog(folder.dir())).empty());
}

TEST(ResultTexts, DamagedLineNeverShowsANegativeCount) {
  ResultLine awardOnly{Gb("特等奖"), "", {}};
  EXPECT_EQ(WinnerListText({awardOnly}), Gb("特等奖0名()\r\n"));
}

TEST(ResultTexts, NonWinnerListIsHeadingAndPoolInPoolOrder) {
  EXPECT_EQ(NonWinnerListText({"005", Gb("张三"), "001"}), Gb("未中奖人员信息\r\n005\r\n张三\r\n001\r\n"));
  EXPECT_EQ(NonWinnerListText({}), Gb("未中奖人员信息\r\n"));
}

TEST(ResultTexts, WinnerShowTitlePadsMonthAndDay) {
  EXPECT_EQ(WinnerShowTitle(Gb("年会"), Gb("抽奖"), {2027, 3, 9, 20, 1, 2}),
            Gb("年会\r\n抽奖\r\n2027-03-09  抽奖结果\r\n") + std::string(50, '-'));
  EXPECT_EQ(WinnerShowTitle("", "", {2026, 12, 31, 0, 0, 0}),
            "\r\n\r\n2026-12-31  " + Gb("抽奖结果") + "\r\n" + std::string(50, '-'));
}

}  // namespace
}  // namespace kavrel
