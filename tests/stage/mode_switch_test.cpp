#include "stage/mode_switch.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

const char* const kDiscardToPicture =
    "切换到图片(照片)抽奖模式将清空当前的抽奖人员名单，原名单文件会移到 history 文件夹保存。确定要切换吗？";
const char* const kRestart = "是否要重新开始抽奖(所有奖项和名单都将回到奖池)？";
const char* const kImportPictures = "当前模式为图片模式，请先导入图片，按【是】导入图片，按【否】更改为文字抽奖！";

struct FakeHost : ModeSwitchHost {
  bool rolling = false;
  bool drawStarted = false;
  bool poolEmpty = false;
  int paused = 0, resumed = 0, ended = 0, resets = 0, editorOpened = 0;
  bool textChecked = true;
  bool Rolling() const override { return rolling; }
  void PauseRoll() override { ++paused; }
  void ResumeRoll() override { ++resumed; }
  void EndRoll() override {
    ++ended;
    rolling = false;
  }
  bool DrawStarted() const override { return drawStarted; }
  bool PoolEmpty() const override { return poolEmpty; }
  void EmptyPool() override { poolEmpty = true; }
  void ResetDraw() override {
    ++resets;
    drawStarted = false;
  }
  void OpenListEditor() override { ++editorOpened; }
  void SetModeChecks(bool textMode) override { textChecked = textMode; }
};

class ModeSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    dir.EnsureConfigDir();
    clock.now = {2026, 12, 9, 20, 5, 7};
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const std::string& t : prompter.MessageTexts()) out.push_back(ToQt(t).toStdString());
    return out;
  }
  void WriteList() {
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), "001\r\n002\r\n"));
    ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kImDataDat), "table"));
  }
  bool TextModeSetting() const { return settings.ReadBool(Gb("模式"), Gb("文字抽奖模式"), true); }

  QTemporaryDir tmp;
  ProgramDir dir{fs::path(tmp.path().toStdString())};
  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  ScriptedPrompter prompter;
  FakeClock clock;
  FakeHost host;
  DrawMode mode;
  ModeSwitch modes{dir, settings, prompter, clock, host, mode};
};

TEST_F(ModeSwitchTest, ChoosingTheCheckedModeKeepsTheList) {
  WriteList();
  modes.SwitchToText();
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kSetDat)));
  EXPECT_EQ(host.resets, 0);
}

TEST_F(ModeSwitchTest, CancelChangesNothing) {
  WriteList();
  host.rolling = true;
  prompter.ScriptAnswer(Answer::Cancel);
  modes.SwitchToPicture();
  // The roll is frozen while the question is up and goes on after Cancel.
  EXPECT_EQ(host.paused, 1);
  EXPECT_EQ(host.resumed, 1);
  EXPECT_EQ(host.ended, 0);
  EXPECT_EQ(Messages(), std::vector<std::string>{kDiscardToPicture});
  EXPECT_EQ(prompter.shown()[0].buttons, Buttons::OkCancel);
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(host.textChecked);
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kSetDat)));
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kImDataDat)));
  EXPECT_FALSE(host.poolEmpty);
  EXPECT_EQ(host.resets, 0);

  // During a draw the restart question comes too, and its Cancel also keeps everything.
  prompter.Clear();
  host.drawStarted = true;
  prompter.ScriptAnswer(Answer::Ok);
  prompter.ScriptAnswer(Answer::Cancel);
  modes.SwitchToPicture();
  EXPECT_EQ(Messages(), (std::vector<std::string>{kDiscardToPicture, kRestart}));
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(FileExists(dir.Path(ProgramDir::kSetDat)));
}

TEST_F(ModeSwitchTest, PictureModeKeepsTheOldListInHistoryAndAsksForPictures) {
  WriteList();
  host.drawStarted = true;
  host.rolling = true;
  prompter.ScriptAnswer(Answer::Ok);   // discard the list
  prompter.ScriptAnswer(Answer::Ok);   // restart
  prompter.ScriptAnswer(Answer::Yes);  // import pictures
  modes.SwitchToPicture();
  EXPECT_EQ(Messages(), (std::vector<std::string>{kDiscardToPicture, kRestart, kImportPictures}));
  EXPECT_FALSE(mode.textMode);
  EXPECT_FALSE(host.textChecked);
  EXPECT_FALSE(TextModeSetting());
  EXPECT_TRUE(host.poolEmpty);
  EXPECT_EQ(host.editorOpened, 1);
  EXPECT_EQ(host.resets, 1);
  EXPECT_EQ(host.ended, 1);  // the frozen roll ended without a record
  EXPECT_FALSE(FileExists(dir.Path(ProgramDir::kSetDat)));
  EXPECT_FALSE(FileExists(dir.Path(ProgramDir::kImDataDat)));
  const fs::path kept = dir.Root() / "history" / "20261209-200507";
  EXPECT_EQ(ReadTextFile(kept / "set.dat"), "001\r\n002\r\n");
  EXPECT_EQ(ReadTextFile(kept / "imdata.dat"), "table");
}

TEST_F(ModeSwitchTest, AnsweringNoToThePictureQuestionReturnsToTextModeOnce) {
  WriteList();
  prompter.ScriptAnswer(Answer::Ok);  // discard the list
  prompter.ScriptAnswer(Answer::No);  // no pictures: back to text mode
  modes.SwitchToPicture();
  // The way back was agreed to already: no second question, one reload.
  EXPECT_EQ(Messages(), (std::vector<std::string>{kDiscardToPicture, kImportPictures}));
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(host.textChecked);
  EXPECT_TRUE(TextModeSetting());
  EXPECT_EQ(host.resets, 1);
  EXPECT_EQ(host.editorOpened, 0);
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
  WriteList();
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
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0], kImportPictures);
  EXPECT_TRUE(mode.textMode);
  EXPECT_TRUE(TextModeSetting());
  EXPECT_EQ(host.resets, 1);
}

}  // namespace
}  // namespace kavrel
