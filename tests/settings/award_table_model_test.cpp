#include "settings/award_table_model.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "storage/codec.h"
#include "storage/text_file.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

std::string Golden(const char* name) {
  return ReadTextFile(std::filesystem::path(KAVREL_TEST_DATA_DIR) / "settings" / name);
}

AwardRow FirstPrize() {
  return {Gb("一等奖"), "1", "1", "1", Gb("奖品：笔记本电脑一台"), ""};
}
AwardRow ThirdPrize() {
  return {Gb("三等奖"), "10", "3", "4+4+2", Gb("奖品：MP4一部"), Gb("D:\\图片\\mp4.png")};
}

class AwardTableModelTest : public ::testing::Test {
 protected:
  AwardTableModelTest() { dir.EnsureConfigDir(); }

  std::string AwardFile() const { return ReadTextFile(dir.Path(ProgramDir::kAwardTableDat)); }
  std::string PlanFile() const { return ReadTextFile(dir.Path(ProgramDir::kBatchPlanDat)); }
  std::string Key(const char* key) const { return settings.ReadText(Gb("标题设置"), Gb(key), "<missing>"); }
  void WriteList(int entries) {
    std::string text;
    for (int i = 1; i <= entries; ++i) text += std::to_string(i) + "\r\n";
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), text));
  }
  void ExpectOnlyMessage(const char* text, const char* caption, Buttons buttons) {
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, Gb(text));
    EXPECT_EQ(prompter.shown()[0].caption, Gb(caption));
    EXPECT_EQ(prompter.shown()[0].buttons, buttons);
    prompter.Clear();
  }

  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  ScriptedPrompter prompter;
  DrawOptions options;
  AwardTableModel model{{dir, settings, prompter, false, options}};
  // The same files, opened while a draw is under way.
  AwardTableModel duringDraw{{dir, settings, prompter, true, options}};
};

TEST_F(AwardTableModelTest, EveryChangeSavesTheTableThePlanAndTheTotalQuota) {
  model.Load();
  EXPECT_TRUE(model.Rows().empty());
  model.Add(FirstPrize());
  model.Add(ThirdPrize());
  EXPECT_EQ(AwardFile(), Golden("jiangx_two.dat"));
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two.dat"));
  EXPECT_EQ(Key("中奖名额"), "11");
  EXPECT_EQ(options.totalQuota, 11);

  EXPECT_FALSE(model.MoveDown(1)) << "the last row cannot move down";
  EXPECT_FALSE(model.MoveUp(0)) << "the first row cannot move up";
  EXPECT_TRUE(model.MoveDown(0));
  EXPECT_EQ(AwardFile(), Golden("jiangx_two_moved.dat"));
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two_moved.dat"));
  EXPECT_TRUE(model.MoveUp(1));
  EXPECT_EQ(AwardFile(), Golden("jiangx_two.dat"));

  AwardRow changed = FirstPrize();
  changed.quota = "2";
  changed.batches = "2";
  changed.detail = "1+1";
  model.Modify(0, changed);
  EXPECT_EQ(model.Rows()[0], changed);
  EXPECT_EQ(Key("中奖名额"), "12");

  model.Delete(5);  // no selection: nothing happens
  EXPECT_EQ(model.Rows().size(), 2u);
  model.Delete(0);
  model.Delete(0);
  EXPECT_EQ(AwardFile(), "");
  EXPECT_EQ(PlanFile(), "");
  EXPECT_EQ(Key("中奖名额"), "0");
  EXPECT_TRUE(prompter.shown().empty()) << "no question while no draw is under way";

  // A fresh window reads what was saved.
  model.Add(FirstPrize());
  AwardTableModel reopened{{dir, settings, prompter, false, options}};
  reopened.Load();
  EXPECT_EQ(reopened.Rows(), std::vector<AwardRow>{FirstPrize()});
}

TEST_F(AwardTableModelTest, AnInvalidRowIsRemovedWithAMessageAndTheNextSaveWritesTheRest) {
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kAwardTableDat), Golden("jiangx_bad_row.dat")));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), "old plan\r\n"));
  model.Load();
  ASSERT_EQ(model.Rows().size(), 3u);
  EXPECT_TRUE(model.MoveDown(0));  // any change saves, and the save meets the bad row
  ExpectOnlyMessage("第1行的奖项设定有误，将自动删除此行！", "错误提示：", Buttons::Ok);
  EXPECT_TRUE(model.SaveErrorMarked());
  EXPECT_EQ(AwardFile(), Golden("jiangx_bad_row.dat")) << "a failed save writes nothing";
  EXPECT_EQ(PlanFile(), "old plan\r\n");
  ASSERT_EQ(model.Rows().size(), 2u);

  // Closing saves once more.
  WriteList(20);
  EXPECT_TRUE(model.CloseWithCancel());
  EXPECT_FALSE(model.SaveErrorMarked());
  EXPECT_EQ(AwardFile(), Golden("jiangx_two.dat"));
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two.dat"));
}

TEST_F(AwardTableModelTest, DrawOrderRebuildsThePlanAtOnceAndStoresTheIndex) {
  model.Load();
  model.Add(FirstPrize());
  model.Add(ThirdPrize());
  model.SetDrawOrder(1);
  EXPECT_FALSE(options.forwardOrder);
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two_reverse.dat"));
  EXPECT_EQ(AwardFile(), Golden("jiangx_two.dat"));
  EXPECT_EQ(Key("抽奖顺序："), "1");
  model.SetDrawOrder(0);
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two.dat"));
  EXPECT_EQ(Key("抽奖顺序："), "0");
}

TEST_F(AwardTableModelTest, RestartQuestionDuringADrawDecidesTheRestartButThePlanFileAlwaysFollows) {
  model.Load();
  model.Add(FirstPrize());
  EXPECT_FALSE(model.RestartRequested()) << "no draw under way: nothing to ask";
  EXPECT_TRUE(prompter.shown().empty());

  AwardTableModel& m = duringDraw;
  m.Load();
  prompter.ScriptAnswer(Answer::Cancel);
  m.Add(ThirdPrize());
  ExpectOnlyMessage("是否要重新开始抽奖(所有奖项和名单都将回到奖池)？", "提示信息：", Buttons::OkCancel);
  EXPECT_FALSE(m.RestartRequested()) << "Cancel keeps the running draw";
  EXPECT_EQ(AwardFile(), Golden("jiangx_two.dat"));
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two.dat")) << "the plan file never lags behind the table";

  prompter.ScriptAnswer(Answer::Cancel);
  m.SetDrawOrder(1);
  EXPECT_EQ(prompter.shown().size(), 1u);
  prompter.Clear();
  EXPECT_EQ(Key("抽奖顺序："), "1");
  EXPECT_EQ(PlanFile(), Golden("shezhijx_two_reverse.dat"));
  EXPECT_FALSE(m.RestartRequested());

  prompter.ScriptAnswer(Answer::Ok);
  m.SetDrawOrder(0);
  EXPECT_TRUE(m.RestartRequested()) << "OK makes the stage reset the draw when the window closes";
  prompter.Clear();
  m.MoveDown(0);
  EXPECT_TRUE(prompter.shown().empty()) << "asked once: the draw is to start over anyway";
}

TEST_F(AwardTableModelTest, ClosingChecksTheQuotaOnlyBeforeTheDrawAndNeverTrapsTheOperator) {
  WriteList(5);
  model.Load();
  model.Add(ThirdPrize());  // 10 winners, 5 participants
  TitleOptions titles = LoadTitleOptions(settings);
  titles.marqueeText = Gb("欢迎光临");

  EXPECT_FALSE(model.CloseWithOk(titles));
  ExpectOnlyMessage("设定中奖名额大于总抽奖人数，请修正！", "操作提示：", Buttons::Ok);
  EXPECT_EQ(Key("字幕区文字"), Gb("欢迎光临")) << "the titles are written before the check";

  EXPECT_TRUE(model.CloseWithCancel());
  ExpectOnlyMessage("设定中奖名额大于总抽奖人数，开始抽奖前请修正！", "操作提示：", Buttons::Ok);
  EXPECT_TRUE(model.CloseRequested());
  ExpectOnlyMessage("设定中奖名额大于总抽奖人数，开始抽奖前请修正！", "操作提示：", Buttons::Ok);

  // Mid-event the remaining pool is smaller than the quotas by design: no check at all.
  duringDraw.Load();
  EXPECT_TRUE(duringDraw.CloseWithOk(titles));
  EXPECT_TRUE(duringDraw.CloseRequested());
  EXPECT_TRUE(prompter.shown().empty());
  // Unless the draw is to start over from the list when the window closes.
  prompter.ScriptAnswer(Answer::Ok);
  duringDraw.Save();
  ASSERT_TRUE(duringDraw.RestartRequested());
  prompter.Clear();
  EXPECT_FALSE(duringDraw.CloseWithOk(titles));
  ExpectOnlyMessage("设定中奖名额大于总抽奖人数，请修正！", "操作提示：", Buttons::Ok);

  WriteList(10);
  EXPECT_TRUE(model.CloseWithOk(titles));
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(AwardTableModelTest, WithoutAParticipantListThereIsNothingToCheckAgainst) {
  model.Load();
  model.Add(ThirdPrize());
  EXPECT_TRUE(model.CloseWithOk(LoadTitleOptions(settings)));
  EXPECT_TRUE(prompter.shown().empty());
}

TEST(TitleOptions, DefaultsAndEveryKeyRoundTrip) {
  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  dir.EnsureConfigDir();
  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  const TitleOptions d = LoadTitleOptions(settings);
  EXPECT_EQ(d.mainTitle, Gb("某某公司活动主题活动"));
  EXPECT_EQ(d.subTitle, Gb("某某公司活动主题活动"));
  EXPECT_EQ(d.marqueeText, Gb("可以设置滚动的内容"));
  EXPECT_EQ(d.tickInterval, "1");
  EXPECT_EQ(d.maskFrom, "4");
  EXPECT_EQ(d.maskTo, "7");
  EXPECT_TRUE(d.mainTitleCentred && d.subTitleCentred && d.noRepeat);
  EXPECT_FALSE(d.maskOn || d.hideMainTitle || d.hideStopButton);
  EXPECT_EQ(d.drawOrderIndex, 0);

  TitleOptions o = d;
  o.mainTitle = Gb("年会");
  o.mainTitleCentred = false;
  o.drawOrderIndex = 1;
  o.noRepeat = false;
  o.maskOn = true;
  o.maskFrom = "-2";
  o.tickInterval = "";
  o.hidePrizePicture = true;
  o.hideStopButton = true;
  ASSERT_TRUE(SaveTitleOptions(settings, o));
  EXPECT_EQ(LoadTitleOptions(settings), o);
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("隐藏停止按钮")), Gb("真"));
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("主标题居中选中")), Gb("假"));
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("抽奖顺序：")), "1");
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("屏蔽第几位至第几位:")), "-2");
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("中奖名额"), "<none>"), "<none>") << "not the window's key";

  ASSERT_TRUE(settings.WriteText(Gb("标题设置"), Gb("抽奖顺序："), "7"));
  EXPECT_EQ(LoadTitleOptions(settings).drawOrderIndex, 1) << "a number above 1 selects the last entry";
}

}  // namespace
}  // namespace kavrel
