#include "engine/mode_switch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine_fixture.h"
#include "storage/settings.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

const char* const kDiscardToPicture =
    "切换到图片(照片)抽奖模式将清空当前的抽奖人员名单，原名单文件会移到 history 文件夹保存。确定要切换吗？";
const char* const kRestart = "是否要重新开始抽奖(所有奖项和名单都将回到奖池)？";
const char* const kImportPictures = "当前模式为图片模式，请先导入图片，按【是】导入图片，按【否】更改为文字抽奖！";

// The stage as the mode switch sees it: the list editor and the menu's marks.
struct FakeHost : ModeSwitchHost {
  explicit FakeHost(const DrawState& drawState) : state(drawState) {}
  const DrawState& state;
  int editorOpened = 0;
  bool drawUnderWayInEditor = false;
  bool textChecked = true;
  void OpenListEditor() override {
    ++editorOpened;
    drawUnderWayInEditor = state.drawStarted;
  }
  void SetModeChecks(bool textMode) override { textChecked = textMode; }
};

class ModeSwitchTest : public EngineFixture {
 protected:
  ModeSwitchTest() {
    clock.now = {2026, 12, 9, 20, 5, 7};
    WriteList(6);
    WritePlan({"一等奖,2,1,1,2,奖品：甲,,", "二等奖,2,1,1,2,奖品：乙,,"});
    ctl().ResetDraw();
    EXPECT_TRUE(WriteTextFile(dir.Path(ProgramDir::kImDataDat), "table"));
    prompter.Clear();
  }
  std::vector<std::string> Utf8Messages() const {
    std::vector<std::string> out;
    for (const std::string& t : Messages()) out.push_back(ToQt(t).toStdString());
    return out;
  }
  bool TextModeSetting() const { return settings.ReadBool(Gb("模式"), Gb("文字抽奖模式"), true); }

  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  FakeHost host{state};
  ModeSwitch modes{ctl(), state, mode, dir, settings, prompter, clock, host};
};

TEST_F(ModeSwitchTest, ChoosingTheCheckedModeKeepsTheList) {
  modes.SwitchToText();
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_TRUE(Exists(ProgramDir::kSetDat));
  EXPECT_EQ(state.pool.size(), 6u);
}

TEST_F(ModeSwitchTest, CancelChangesNothingAndTheRollGoesOn) {
  ctl().StartPressed();
  Tick();
  ASSERT_TRUE(ctl().RollActive());
  prompter.ScriptAnswer(Answer::Cancel);
  std::vector<DrawPhase> told;  // what the stage's ticks follow
  ctl().SetChangeListener([&] { told.push_back(state.phase); });
  modes.SwitchToPicture();
  // The roll is frozen while the question is up and goes on after Cancel.
  EXPECT_EQ(told, (std::vector<DrawPhase>{DrawPhase::RollPaused, DrawPhase::Rolling}));
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  EXPECT_EQ(Utf8Messages(), std::vector<std::string>{kDiscardToPicture});
  EXPECT_EQ(prompter.shown()[0].buttons, Buttons::OkCancel);
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(host.textChecked);
  EXPECT_TRUE(Exists(ProgramDir::kSetDat));
  EXPECT_TRUE(Exists(ProgramDir::kImDataDat));
  EXPECT_EQ(state.pool.size(), 6u);

  // During a draw the restart question comes too, and its Cancel also keeps the draw and its record.
  Tick();
  ctl().StopPressed();
  ASSERT_TRUE(state.drawStarted);
  ASSERT_TRUE(Exists(ProgramDir::kExitIni));
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Ok);
  prompter.ScriptAnswer(Answer::Cancel);
  modes.SwitchToPicture();
  EXPECT_EQ(Utf8Messages(), (std::vector<std::string>{kDiscardToPicture, kRestart}));
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(state.drawStarted);
  EXPECT_EQ(state.pool.size(), 4u);
  EXPECT_TRUE(Exists(ProgramDir::kSetDat));
  EXPECT_TRUE(Exists(ProgramDir::kExitIni));
}

TEST_F(ModeSwitchTest, PictureModeEndsTheDrawAndKeepsListAndResultsInHistory) {
  Roll();
  ctl().StartPressed();  // the next batch is announced
  ctl().StartPressed();  // and rolls while the operator switches
  Tick();
  ASSERT_TRUE(ctl().RollActive());
  const std::string results = Read(ProgramDir::kResultDat);
  prompter.ScriptAnswer(Answer::Ok);   // discard the list
  prompter.ScriptAnswer(Answer::Ok);   // restart
  prompter.ScriptAnswer(Answer::Yes);  // import pictures
  modes.SwitchToPicture();
  EXPECT_EQ(Utf8Messages(), (std::vector<std::string>{kDiscardToPicture, kRestart, kImportPictures}));
  EXPECT_FALSE(mode.textMode);
  EXPECT_FALSE(host.textChecked);
  EXPECT_FALSE(TextModeSetting());
  // The frozen roll ended without a record, and the draw ended before the editor opened.
  EXPECT_FALSE(ctl().RollActive());
  EXPECT_FALSE(state.Rolling());
  EXPECT_EQ(host.editorOpened, 1);
  EXPECT_FALSE(host.drawUnderWayInEditor);
  EXPECT_FALSE(state.drawStarted);
  EXPECT_TRUE(state.pool.empty());
  EXPECT_FALSE(Exists(ProgramDir::kExitIni));
  EXPECT_FALSE(Exists(ProgramDir::kResultDat));
  EXPECT_FALSE(Exists(ProgramDir::kSetDat));
  EXPECT_FALSE(Exists(ProgramDir::kImDataDat));
  // The list goes first, the results of the ended draw beside it in a folder of their own.
  const fs::path kept = dir.Root() / "history" / "20261209-200507";
  EXPECT_EQ(ReadTextFile(kept / "set.dat"), "001\r\n002\r\n003\r\n004\r\n005\r\n006\r\n");
  EXPECT_EQ(ReadTextFile(kept / "imdata.dat"), "table");
  EXPECT_EQ(ReadTextFile(dir.Root() / "history" / "20261209-200507-2" / "result.dat"), results);
  // The stage shows the plan's first batch again.
  EXPECT_EQ(Number(), U("按空格键开始抽取"));
  EXPECT_EQ(stage.Text(StageElement::AwardLabel), U("一等奖"));
}

TEST_F(ModeSwitchTest, AnsweringNoToThePictureQuestionReturnsToTextModeOnce) {
  prompter.ScriptAnswer(Answer::Ok);  // discard the list
  prompter.ScriptAnswer(Answer::No);  // no pictures: back to text mode
  modes.SwitchToPicture();
  // The way back was agreed to already: no second question.
  EXPECT_EQ(Utf8Messages(), (std::vector<std::string>{kDiscardToPicture, kImportPictures}));
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(host.textChecked);
  EXPECT_TRUE(TextModeSetting());
  EXPECT_EQ(host.editorOpened, 0);
  EXPECT_TRUE(state.pool.empty());
  EXPECT_FALSE(Exists(ProgramDir::kSetDat));
}

TEST_F(ModeSwitchTest, CheckDrawModeAtStartUp) {
  // Text mode (also when nothing is stored): no question.
  modes.CheckDrawMode();
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(prompter.shown().empty());

  // Picture mode with its photo folder and list in place: no question, the ratio is read.
  const fs::path photos = dir.Root() / "photos";
  fs::create_directories(photos);
  settings.WriteBool(Gb("模式"), Gb("文字抽奖模式"), false);
  settings.WriteText(Gb("图片路径"), Gb("图片前缀"), GbPath(photos));
  settings.WriteText(Gb("图片路径"), Gb("图片比例"), "3:4");
  modes.CheckDrawMode();
  EXPECT_FALSE(mode.textMode);
  EXPECT_FALSE(host.textChecked);
  EXPECT_EQ(mode.pictureFolder, GbPath(photos));
  EXPECT_FALSE(mode.pictureRatio43);
  EXPECT_TRUE(prompter.shown().empty());

  // An empty folder setting asks at every start; "否" switches to text mode (asking before the
  // list of picture mode is discarded).
  settings.WriteText(Gb("图片路径"), Gb("图片前缀"), "");
  prompter.ScriptAnswer(Answer::No);
  prompter.ScriptAnswer(Answer::Ok);
  modes.CheckDrawMode();
  ASSERT_EQ(Utf8Messages().size(), 2u);
  EXPECT_EQ(Utf8Messages()[0], kImportPictures);
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(TextModeSetting());
  EXPECT_TRUE(state.pool.empty());
}

}  // namespace
}  // namespace kavrel
