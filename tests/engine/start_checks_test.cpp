#include <fstream>

#include "engine_fixture.h"
#include "storage/result_store.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

class StartChecks : public EngineFixture {
 protected:
  void SetUp() override {
    WriteList(10);
    WritePlan({"三等奖,4,2,1,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本一台,C:\\p\\laptop.jpg,"});
  }
  // The message of a start press that must not start a roll.
  void ExpectRefused(const char* text, const char* caption) {
    prompter.Clear();
    ctl().StartPressed();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, U(text));
    EXPECT_EQ(prompter.shown()[0].caption, U(caption));
    EXPECT_EQ(prompter.shown()[0].buttons, Buttons::Ok);
    EXPECT_NE(state.phase, DrawPhase::Rolling);
    EXPECT_FALSE(state.Rolling());
  }
};

TEST_F(StartChecks, DataChecksBeforeTheFirstBatchOnly) {
  WriteTextFile(dir.Path(ProgramDir::kSetDat), "");
  ctl().StartUp();
  ExpectRefused("无数据，请先导入抽奖名单！", "提示信息：");

  WriteList(3);
  WritePlan({});
  ctl().ResetDraw();
  ExpectRefused("无奖项，请先设定奖项！", "提示信息：");

  WritePlan({"三等奖,4,2,1,2,奖品：MP4一部,,"});
  WriteConfig("标题设置", "中奖名额", "4");
  ctl().ResetDraw();
  ExpectRefused("设定中奖名额大于总抽奖人数，请修正！", "操作提示：");

  // Once a batch is recorded only the fill check guards a start.
  WritePlan({"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,"});
  WriteConfig("标题设置", "中奖名额", "2");
  ctl().ResetDraw();
  Roll();
  ctl().StartPressed();
  ExpectRefused("待抽奖名单人数不足(小于奖项设定人数)，请检查确认！", "奖名单人数不足提醒：");
}

TEST_F(StartChecks, BatchSizeBelowOneAndBadGroupsAreRefused) {
  WritePlan({"四等奖,4,3,3,0,奖品,,"});
  ctl().StartUp();
  ExpectRefused("本批次的中奖人数小于1，无法抽取，请在奖项设置中修改本奖项的分批详情！", "错误提示：");

  WritePlan({"三等奖,4,2,1,2,奖品：MP4一部,,"});
  ctl().ResetDraw();
  state.groupActive = true;
  state.groupStart = 5;
  state.groupEnd = 12;
  ExpectRefused("奖项分组的行号超出了待抽奖名单的范围(第1至第10行)，请重新设置奖项分组！", "操作提示：");
  state.groupEnd = 5;
  ExpectRefused("待抽奖名单人数不足(小于奖项设定人数)，请检查确认！", "奖名单人数不足提醒：");
  state.groupEnd = 6;
  const auto shown = Roll();
  auto sorted = Descending(shown);
  EXPECT_EQ(sorted, (std::vector<std::string>{"006", "005"}));
  EXPECT_FALSE(state.groupActive) << "a group lasts one batch";
}

TEST_F(StartChecks, PictureModeNeedsThePictureOfTheFirstEntry) {
  mode.textMode = false;
  mode.pictureFolder = GbPath(root / "pics");
  std::filesystem::create_directories(root / "pics");
  ctl().StartUp();
  ExpectRefused(
      "图片不存在，请先添加图片！\n\n照片文件夹中缺少：001.jpg、002.jpg、003.jpg、004.jpg、005.jpg、006.jpg、007.jpg、"
      "008.jpg、009.jpg、010.jpg\n\n抽奖名单保持不变，补齐照片后再按开始。",
      "提示信息：");
  // The list and the pool survive a missing photo.
  EXPECT_EQ(state.pool.size(), 10u);
  EXPECT_TRUE(Exists(ProgramDir::kSetDat));

  WriteList(10);
  std::ofstream(root / "pics" / "001.jpg") << "jpeg";
  ctl().ResetDraw();
  ctl().StartPressed();
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  EXPECT_NE(std::find(stage.calls.begin(), stage.calls.end(), "prepare picture 2"), stage.calls.end());
}

TEST_F(StartChecks, PrizePictureFollowsTheLine) {
  ctl().StartUp();
  EXPECT_FALSE(stage.IsVisible(StageElement::PrizePicture));
  ctl().StartPressed();
  EXPECT_FALSE(stage.IsVisible(StageElement::PrizePicture)) << "no picture path: hidden";
  EXPECT_NE(std::find(stage.calls.begin(), stage.calls.end(), "prepare text 2 001"), stage.calls.end());
  Tick();
  ctl().StopPressed();
  ctl().StartPressed();
  EXPECT_TRUE(stage.IsVisible(StageElement::PrizePicture));
  EXPECT_EQ(stage.prizePicture, "C:\\p\\laptop.jpg");

  // The ready stage shows the announced award's picture before any press: after start-up, and when a
  // batch is queued by another way than the start press.
  WritePlan({"一等奖,1,1,1,1,奖品：笔记本一台,C:\\p\\laptop.jpg,"});
  stage.SetVisible(StageElement::PrizePicture, false);
  ctl().StartUp();
  EXPECT_TRUE(stage.IsVisible(StageElement::PrizePicture)) << "after start-up";
  stage.SetVisible(StageElement::PrizePicture, false);
  ctl().ShowReadyState();
  EXPECT_TRUE(stage.IsVisible(StageElement::PrizePicture)) << "a queued batch";
}

// A prize picture too large to show, or missing, is told once per picture, with its size; the
// stage shows the award without it and the draw goes on.
TEST_F(StartChecks, APrizePictureThatWillNotShowIsToldOncePerPicture) {
  WritePlan(
      {"三等奖,4,2,1,2,奖品,D:\\big.png,", "三等奖,4,2,2,2,奖品,D:\\big.png,", "一等奖,1,1,1,1,奖品,D:\\gone.jpg,"});
  stage.pictureChecks[U("D:\\big.png")] = {PictureCheck::TooLarge, 30000, 30000};
  stage.pictureChecks[U("D:\\gone.jpg")] = {PictureCheck::Unreadable, 0, 0};
  ctl().StartUp();
  for (int batch = 0; batch < 3; ++batch) {
    Roll();
    ctl().StartPressed();
  }
  EXPECT_EQ(
      Messages(),
      (std::vector<std::string>{
          U("奖品图片 D:\\big.png 太大(30000×30000像素)，舞台上不显示这张图片。请把图片缩小(例如缩到4000×3000像素以内)"
            "后在奖项设定中重新选择。"),
          U("奖品图片 D:\\gone.jpg 不存在或不是能读取的图片，舞台上不显示这张图片。请在奖项设定中重新选择。")}));
  EXPECT_EQ(LoadResultLog(dir).size(), 2u) << "every batch drawn";
}

}  // namespace
}  // namespace kavrel

namespace kavrel {
namespace {

// Writes that fail are told to the operator, the exit record's failure only once.
TEST_F(StartChecks, FailedWritesAreReported) {
  WritePlan({"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品,,"});
  ctl().StartUp();
  std::filesystem::create_directories(dir.Path(ProgramDir::kResultDat));  // a folder in the file's place
  std::filesystem::create_directories(dir.Path(ProgramDir::kExitIni));
  Roll();
  ASSERT_EQ(Messages().size(), 1u) << "a batch the results do not hold changes nothing else";
  EXPECT_EQ(Messages()[0],
            U("中奖结果未能保存到 config\\result.dat 和 result.txt，本批不算抽出，名单未作任何改动。"
              "请检查程序目录是否可写（或关闭占用文件的程序、断开多余的手机连接），然后按空格键重新抽取本批。"));
  EXPECT_EQ(prompter.shown()[0].caption, U("错误提示："));

  std::filesystem::remove(dir.Path(ProgramDir::kResultDat));
  Roll();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1],
            U("断点记录 config\\exit.ini 无法写入，程序意外关闭后将不能继续本次抽奖，请检查程序目录是否可写！"));
  ctl().StartPressed();
  Roll();
  EXPECT_EQ(Messages().size(), 2u) << "the exit record's failure is not repeated";
}

}  // namespace
}  // namespace kavrel
