#include <fstream>
#include <sstream>

#include "engine_fixture.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

std::string Golden(const std::string& name) {
  std::ifstream in(std::string(KAVREL_TEST_DATA_DIR) + "/engine/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Dashed(const std::vector<std::string>& entries) {
  std::string s;
  for (const auto& e : entries) s += e + "-";
  return s;
}

class WholeDraw : public EngineFixture {
 protected:
  void SetUp() override {
    WriteList(10);
    WritePlan(
        {"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本一台,,"});
    WriteConfig("标题设置", "中奖名额", "5");
    WriteConfig("音效设置", "启用停止音乐", "假");
  }
  // Writes the outputs beside the goldens when KAVREL_UPDATE_GOLDEN is set.
  void CheckGolden(const char* prefix) {
    const std::string dat = Read(ProgramDir::kResultDat), txt = Read(ProgramDir::kResultTxt);
    if (std::getenv("KAVREL_UPDATE_GOLDEN")) {
      WriteTextFile(std::string(KAVREL_TEST_DATA_DIR) + "/engine/" + prefix + "_result.dat", dat);
      WriteTextFile(std::string(KAVREL_TEST_DATA_DIR) + "/engine/" + prefix + "_result.txt", txt);
    }
    EXPECT_EQ(dat, Golden(std::string(prefix) + "_result.dat"));
    EXPECT_EQ(txt, Golden(std::string(prefix) + "_result.txt"));
  }
};

TEST_F(WholeDraw, ForwardOrderTextsFilesAndFinishedState) {
  ctl().StartUp();
  EXPECT_TRUE(prompter.shown().empty()) << "no exit record, no resume question";
  EXPECT_EQ(Status(), U("准备抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽0名/共4名)"));
  EXPECT_EQ(Number(), U("按空格键开始抽取"));
  EXPECT_EQ(stage.Text(StageElement::AwardLabel), U("三等奖"));
  EXPECT_EQ(stage.Text(StageElement::PrizeLabel), U("奖品：MP4一部"));
  EXPECT_EQ(stage.Text(StageElement::MainTitle), U("某某公司活动主题活动"));

  // Batch 1.
  ctl().StartPressed();
  EXPECT_TRUE(state.Rolling());
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  EXPECT_EQ(ctl().TickPeriod(), 1);
  EXPECT_FALSE(stage.IsVisible(StageElement::NumberLabel));
  EXPECT_EQ(sound.calls.back(), "play " + dir.Resolve("\\wav\\start3.mp3") + " loop");
  Tick();
  Tick();
  ctl().StopPressed();
  const auto w1 = Descending(stage.painted);  // the stop shows the batch's winners
  EXPECT_FALSE(state.Rolling());
  EXPECT_NE(state.phase, DrawPhase::Rolling);
  EXPECT_EQ(stage.Text(StageElement::StartButton), U("准备"));
  EXPECT_EQ(Status(), U("已抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽2名/共4名)"));
  EXPECT_EQ(stage.Text(StageElement::Marquee), U("恭喜：【三等奖】") + w1[0] + U("、") + w1[1]);
  EXPECT_EQ(Read(ProgramDir::kResultDat), U("三等奖-奖品：MP4一部-") + Dashed(w1));
  const std::string block1 = ResultTxtBlock("三等奖", w1, "2026年12月9日20时");
  EXPECT_EQ(Read(ProgramDir::kResultTxt), block1);
  EXPECT_EQ(state.pool.size(), 8u);
  EXPECT_EQ(sound.calls.back(), "stop") << "stop sound switched off: the start sound ends, nothing plays";

  // Announce batch 2.
  ctl().StartPressed();
  EXPECT_FALSE(state.Rolling());
  EXPECT_EQ(Number(), U("按空格键开始抽取"));
  EXPECT_EQ(stage.Text(StageElement::StartButton), U("开始"));
  EXPECT_EQ(Status(), U("准备抽取【三等奖】，本轮抽2名（第2轮/总2轮，已抽2名/共4名)"));

  clock.now = {2026, 12, 9, 20, 5, 9};
  const auto w2 = Descending(Roll());
  EXPECT_EQ(Status(), U("已抽取【三等奖】，本轮抽2名（第2轮/总2轮，已抽4名/共4名)"));
  EXPECT_EQ(Read(ProgramDir::kResultDat), U("三等奖-奖品：MP4一部-") + Dashed(w1) + Dashed(w2));
  const std::string block2 = ResultTxtBlock("三等奖", w2, "2026年12月9日20时5分9秒");
  EXPECT_EQ(Read(ProgramDir::kResultTxt), block1 + block2);

  ctl().StartPressed();
  EXPECT_EQ(Status(), U("准备抽取【一等奖】，本轮抽1名（第1轮/总1轮，已抽0名/共1名)"));
  EXPECT_EQ(stage.Text(StageElement::PrizeLabel), U("奖品：笔记本一台"));
  clock.now = {2026, 12, 9, 21, 0, 5};
  const auto w3 = Roll();
  EXPECT_EQ(Status(), U("已抽取【一等奖】，本轮抽1名（第1轮/总1轮，已抽1名/共1名)"));
  EXPECT_EQ(Read(ProgramDir::kResultDat),
            U("三等奖-奖品：MP4一部-") + Dashed(w1) + Dashed(w2) + "\r\n" + U("一等奖-奖品：笔记本一台-") + Dashed(w3));
  EXPECT_EQ(Read(ProgramDir::kResultTxt), block1 + block2 + ResultTxtBlock("一等奖", w3, "2026年12月9日21时0分5秒"));
  EXPECT_EQ(state.pool.size(), 5u);
  EXPECT_FALSE(Exists(ProgramDir::kExitIni)) << "no batch left: nothing to resume";
  CheckGolden("forward");

  // Finished: "抽奖完毕！", the batch number stays; presses alternate between a silent stop and
  // the "all drawn" message with the winner show.
  ctl().StartPressed();
  EXPECT_EQ(Number(), U("抽奖完毕！"));
  EXPECT_EQ(Status(), U("准备抽取【一等奖】，本轮抽1名（第1轮/总1轮，已抽1名/共1名)"));
  EXPECT_TRUE(state.Rolling());
  prompter.Clear();
  ctl().StartPressed();  // ignored
  EXPECT_TRUE(prompter.shown().empty());
  ctl().StopPressed();
  EXPECT_FALSE(state.Rolling());
  ctl().StartPressed();
  EXPECT_EQ(LastMessage(), U("全部奖项已经抽取完毕！"));
  EXPECT_EQ(prompter.shown().back().caption, U("提示："));
  EXPECT_EQ(stage.winnerShows, 1);
  EXPECT_TRUE(state.Rolling());
  ctl().StopPressed();
  ctl().StartPressed();
  EXPECT_EQ(stage.winnerShows, 2);
  EXPECT_EQ(Read(ProgramDir::kResultDat).size(), Golden("forward_result.dat").size());
}

TEST_F(WholeDraw, ReverseOrderDrawsTheLastAwardFirstAndCountsBatchesAsDrawn) {
  WriteConfig("标题设置", "抽奖顺序：", "1");
  ctl().StartUp();
  EXPECT_EQ(Status(), U("准备抽取【一等奖】，本轮抽1名（第1轮/总1轮，已抽0名/共1名)"));
  const auto w1 = Roll();
  EXPECT_EQ(Status(), U("已抽取【一等奖】，本轮抽1名（第1轮/总1轮，已抽1名/共1名)"));
  EXPECT_EQ(Read(ProgramDir::kResultDat), U("一等奖-奖品：笔记本一台-") + Dashed(w1));

  ctl().StartPressed();
  EXPECT_EQ(Status(), U("准备抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽0名/共4名)"));
  EXPECT_EQ(state.currentLine.batchNumber, "2");
  const auto w2 = Descending(Roll());
  EXPECT_EQ(Status(), U("已抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽2名/共4名)"));
  ctl().StartPressed();
  EXPECT_EQ(Status(), U("准备抽取【三等奖】，本轮抽2名（第2轮/总2轮，已抽2名/共4名)"));
  const auto w3 = Descending(Roll());
  EXPECT_EQ(Status(), U("已抽取【三等奖】，本轮抽2名（第2轮/总2轮，已抽4名/共4名)"));
  EXPECT_EQ(Read(ProgramDir::kResultDat),
            U("一等奖-奖品：笔记本一台-") + Dashed(w1) + "\r\n" + U("三等奖-奖品：MP4一部-") + Dashed(w2) + Dashed(w3));
  CheckGolden("reverse");
  ctl().StartPressed();
  EXPECT_EQ(Number(), U("抽奖完毕！"));
}

TEST_F(WholeDraw, StopBeforeTheFirstTickRecordsNothingAndTheRollGoesOn) {
  WriteConfig("标题设置", "抽奖随机滚动快慢", "0");
  ctl().StartUp();
  ctl().StartPressed();
  EXPECT_EQ(ctl().TickPeriod(), 1) << "a period below 1 ms would never tick";
  ctl().StopPressed();
  EXPECT_TRUE(state.Rolling());
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));
  Tick();
  ctl().StopPressed();
  EXPECT_TRUE(state.WinnersShown());
  ctl().StopPressed();  // a second quick stop finds nothing rolling
  EXPECT_EQ(state.pool.size(), 8u);
}

TEST_F(WholeDraw, ATickThatCanNoLongerFillTheBatchStopsTheRoll) {
  ctl().StartUp();
  ctl().StartPressed();
  Tick();
  state.pool.resize(1);  // e.g. a mode switch emptied the pool while rolling
  Tick();
  EXPECT_NE(state.phase, DrawPhase::Rolling);
  EXPECT_FALSE(state.Rolling());
  EXPECT_EQ(LastMessage(), U("待抽奖名单人数不足(小于奖项设定人数)，请检查确认！"));
  EXPECT_EQ(Number(), U("按空格键开始抽取"));
  ctl().StopPressed();
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));
}

TEST_F(WholeDraw, AbortedRollRecordsNothingAndTheNextPressRollsAgain) {
  ctl().StartUp();
  ctl().StartPressed();
  Tick();
  ctl().AbortRoll();  // e.g. the mode is switched while rolling
  EXPECT_NE(state.phase, DrawPhase::Rolling);
  EXPECT_FALSE(state.Rolling());
  EXPECT_EQ(Number(), U("按空格键开始抽取"));
  EXPECT_FALSE(stage.IsVisible(StageElement::RollingPanel));
  ctl().StartPressed();
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  EXPECT_TRUE(state.Rolling());
  Tick();
  ctl().StopPressed();
  EXPECT_TRUE(Exists(ProgramDir::kResultDat));
}

TEST_F(WholeDraw, MaskedTextRollsButResultsKeepTheEntry) {
  WriteConfig("标题设置", "启用隐私屏蔽：", "真");
  WriteConfig("标题设置", "屏蔽第几位至第几位:", "2");
  WriteConfig("标题设置", "至", "3");
  ctl().StartUp();
  const auto shown = Roll();
  for (const auto& s : shown) EXPECT_EQ(s.substr(1), "**");
  EXPECT_EQ(Read(ProgramDir::kResultDat).find('*'), std::string::npos);
}

}  // namespace
}  // namespace kavrel
