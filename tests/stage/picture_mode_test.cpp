// A whole picture-mode event offscreen: the mode check opens the picture list editor, a folder is
// imported, photos roll and stop with their names, and a late arrival's photo added mid-draw asks
// before the draw is restarted.
#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "lists/photo_list_window.h"
#include "stage/rolling_panel.h"
#include "stage/stage_menus.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/stage_parts.h"
#include "support/when_shown.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kImportPictures = "当前模式为图片模式，请先导入图片，按【是】导入图片，按【否】更改为文字抽奖！";

class PictureModeTest : public ::testing::Test {
 protected:
  PictureModeTest() {
    dir.EnsureConfigDir();
    fs::create_directories(photos);
    fs::create_directories(late);
    for (const char* name : {"zhang", "wang", "li", "zhao"}) Photo(photos, name);
    Photo(late, "chen");
    WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                  Gb("一等奖,2,1,1,2,奖品：手机,,\r\n二等奖,2,1,1,2,奖品：耳机,,\r\n"));
    Settings settings(dir.Path(ProgramDir::kConfigIni));
    settings.WriteText(Gb("标题设置"), Gb("中奖名额"), "4");
    settings.WriteBool(Gb("模式"), Gb("文字抽奖模式"), false);
  }
  static void Photo(const fs::path& folder, const std::string& name) {
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    ASSERT_TRUE(image.save(QString::fromStdString((folder / (name + ".jpg")).string()), "JPG"));
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> out;
    for (const auto& s : prompter.shown()) out.push_back(ToQt(s.text).toStdString());
    return out;
  }

  QTemporaryDir tmp;
  ProgramDir dir{fs::path(tmp.path().toStdString()) / "app"};
  fs::path photos = fs::path(tmp.path().toStdString()) / "photos";
  fs::path late = fs::path(tmp.path().toStdString()) / "late";
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  FakeClock clock;
};

TEST_F(PictureModeTest, TheModeCheckOpensTheEditorAndPhotosRoll) {
  DrawSession session(prompter, sound, clock, dir);
  StageWindow stage(session, prompter, sound, clock, dir, nullptr);
  stage.show();
  // No photos yet: the check asks, 【是】 opens the picture list editor, which imports the folder.
  WhenShown<PhotoListWindow>([this](PhotoListWindow* window) {
    prompter.ScriptPath(GbPath(photos));
    window->ImportPictures();
    EXPECT_EQ(window->findChild<QListWidget*>(QStringLiteral("列表框_名单"))->count(), 4);
    window->close();
  });
  stage.StartUp();
  const auto shown = Shown();
  ASSERT_NE(std::find(shown.begin(), shown.end(), kImportPictures), shown.end());
  EXPECT_EQ(std::count(shown.begin(), shown.end(), kImportPictures), 1);  // asked once: the editor fixed it
  EXPECT_FALSE(session.Mode().textMode);
  EXPECT_EQ(session.Mode().pictureFolder, GbPath(photos));
  EXPECT_EQ(session.Draw().pool.size(), 4u);
  EXPECT_TRUE(MenusOf(stage)->action(StageCommand::EditList)->isEnabled());

  stage.RunCommand(StageCommand::Start);
  ASSERT_TRUE(session.Draw().Rolling());
  for (int i = 0; i < 30; ++i) session.Tick();
  const QImage frame = StageElementsOf(stage).rolling->grab().toImage();  // photos are read when a frame is painted
  EXPECT_EQ(StageElementsOf(stage).rolling->CachedPhotoCount() >= 2, true);
  // The photo is painted: somewhere in the area is its red.
  bool red = false;
  for (int y = 0; y < frame.height() && !red; y += 4)
    for (int x = 0; x < frame.width() && !red; x += 4) {
      const QColor c = frame.pixelColor(x, y);
      red = c.red() > 170 && c.green() < 70 && c.blue() < 80;
    }
  EXPECT_TRUE(red);
  stage.RunCommand(StageCommand::Stop);
  ASSERT_TRUE(session.Draw().WinnersShown());
  EXPECT_TRUE(session.Draw().drawStarted);
  EXPECT_EQ(session.Draw().pool.size(), 2u);

  // A late arrival mid-draw: Cancel on the restart question changes nothing.
  prompter.Clear();
  prompter.ScriptAnswer(Answer::Cancel);
  WhenShown<PhotoListWindow>([this](PhotoListWindow* window) {
    window->List().AddFile(GbPath(late / "chen.jpg"));
    window->close();
  });
  stage.RunCommand(StageCommand::EditList);
  EXPECT_EQ(Shown(), std::vector<std::string>{"是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"});
  EXPECT_TRUE(session.Draw().drawStarted);
  EXPECT_EQ(session.Draw().pool.size(), 2u);
  EXPECT_FALSE(fs::exists(photos / "chen.jpg"));

  // OK: the photo is copied in and the draw starts afresh with five people.
  prompter.Clear();
  WhenShown<PhotoListWindow>([this](PhotoListWindow* window) {
    window->List().AddFile(GbPath(late / "chen.jpg"));
    window->close();
  });
  stage.RunCommand(StageCommand::EditList);
  EXPECT_TRUE(fs::exists(photos / "chen.jpg"));
  EXPECT_FALSE(session.Draw().drawStarted);
  EXPECT_EQ(session.Draw().pool.size(), 5u);
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kSetDat)), "li\r\nwang\r\nzhang\r\nzhao\r\nchen\r\n");
}

TEST_F(PictureModeTest, DeleteAllThenTheCheckAsksAgain) {
  WriteTextFile(dir.Path(ProgramDir::kSetDat), "zhang\r\n");
  Settings(dir.Path(ProgramDir::kConfigIni)).WriteText(Gb("图片路径"), Gb("图片前缀"), GbPath(photos));
  DrawSession session(prompter, sound, clock, dir);
  StageWindow stage(session, prompter, sound, clock, dir, nullptr);
  stage.show();
  stage.StartUp();
  EXPECT_TRUE(prompter.shown().empty());
  // Delete all, close: the check finds no list and asks; 【否】 switches to text mode.
  WhenShown<PhotoListWindow>([](PhotoListWindow* window) {
    window->DeleteAll();
    window->close();
  });
  prompter.ScriptAnswer(Answer::Ok);  // 确定要删除全部数据吗？
  prompter.ScriptAnswer(Answer::No);  // the mode check
  stage.RunCommand(StageCommand::EditList);
  const auto shown = Shown();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[1], kImportPictures);
  EXPECT_TRUE(session.Mode().textMode);
  EXPECT_TRUE(fs::exists(photos / "zhang.jpg"));
}

TEST_F(PictureModeTest, SwitchingToPictureModeOpensTheEditorOnYes) {
  Settings(dir.Path(ProgramDir::kConfigIni)).WriteBool(Gb("模式"), Gb("文字抽奖模式"), true);
  WriteTextFile(dir.Path(ProgramDir::kSetDat), Gb("张三\r\n"));
  DrawSession session(prompter, sound, clock, dir);
  StageWindow stage(session, prompter, sound, clock, dir, nullptr);
  stage.show();
  stage.StartUp();
  ASSERT_TRUE(session.Mode().textMode);
  // The text list is put aside (OK), the check asks for pictures (是), the editor imports a folder.
  WhenShown<PhotoListWindow>([this](PhotoListWindow* window) {
    prompter.ScriptPath(GbPath(photos));
    window->ImportPictures();
    window->close();
  });
  stage.RunCommand(StageCommand::PictureMode);
  EXPECT_FALSE(session.Mode().textMode);
  EXPECT_EQ(session.Draw().pool, (std::vector<std::string>{"li", "wang", "zhang", "zhao"}));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kSetDat)), "li\r\nwang\r\nzhang\r\nzhao\r\n");
}

}  // namespace
}  // namespace kavrel
