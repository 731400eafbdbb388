#include "lists/photo_list.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel::test {
namespace {

namespace fs = std::filesystem;

class PhotoListTest : public ::testing::Test {
 protected:
  PhotoListTest() : dir_(fs::path(temp_.path().toStdString()) / "app"), settings_(dir_.Path(ProgramDir::kConfigIni)) {
    fs::create_directories(dir_.Root());
    dir_.EnsureConfigDir();
  }

  PhotoList& List(bool drawUnderWay = false, const std::string& folder = "", bool ratio43 = true) {
    list_ = std::make_unique<PhotoList>(
        PhotoListContext{dir_, settings_, prompter_, clock_, drawUnderWay, folder, ratio43});
    list_->Open();
    return *list_;
  }
  // A folder below the temporary root holding files of the given names (the content tells them apart).
  fs::path Folder(const std::string& name, const std::vector<std::string>& files, const std::string& content = "x") {
    const fs::path folder = fs::path(temp_.path().toStdString()) / name;
    fs::create_directories(folder);
    for (const auto& f : files) WriteTextFile(folder / f, content + f);
    return folder;
  }
  std::string SetDat() const { return ReadTextFile(dir_.Path(ProgramDir::kSetDat)); }
  std::string Setting(const char* key) { return settings_.ReadText(Gb("图片路径"), Gb(key), "?"); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const auto& s : prompter_.shown()) out.push_back(ToQt(s.text).toStdString());
    return out;
  }
  int HistoryFiles() const {
    int n = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir_.Path(ProgramDir::kHistoryDir), ec), end; !ec && it != end;
         it.increment(ec))
      n += it->is_regular_file() ? 1 : 0;
    return n;
  }

  QTemporaryDir temp_;
  ProgramDir dir_;
  Settings settings_;
  ScriptedPrompter prompter_;
  FakeClock clock_;
  std::unique_ptr<PhotoList> list_;
};

TEST_F(PhotoListTest, FolderImportListsOnlyJpgAndSavesAtOnce) {
  const fs::path photos = Folder("photos", {"b.JPG", "a.jpg", "c.jpeg", "d.png"});
  fs::create_directories(photos / "sub.jpg");  // a folder is never an item
  PhotoList& list = List();
  prompter_.ScriptPath(GbPath(photos));
  std::vector<std::string> shown;
  const auto outcome = list.ImportFolder(true, [&](int, int, const std::string& path) { shown.push_back(path); });
  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(outcome.select, 0);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"a.jpg", "b.JPG"}));
  EXPECT_EQ(SetDat(), "a\r\nb\r\n");
  EXPECT_EQ(Setting("图片前缀"), GbPath(photos));
  EXPECT_EQ(Setting("图片比例"), "4:3");
  EXPECT_EQ(shown.back(), GbPath(photos / "b.JPG"));
  EXPECT_EQ(prompter_.shown()[0].caption, Gb("请选择图片的位置："));
  EXPECT_TRUE(list.DrawRestartWanted());

  // The same folder again without clearing lists every picture twice; with clearing it replaces them.
  prompter_.ScriptPath(GbPath(photos));
  list.ImportFolder(false);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(SetDat(), "a\r\nb\r\na\r\nb\r\n");
  prompter_.ScriptPath(GbPath(photos));
  list.ImportFolder(true);
  EXPECT_EQ(list.Count(), 2);

  // Cancelling the picker, or a folder without pictures, changes nothing.
  prompter_.ScriptPath(std::nullopt);
  EXPECT_FALSE(list.ImportFolder(true).changed);
  prompter_.ScriptPath(GbPath(Folder("empty", {"x.png"})));
  EXPECT_FALSE(list.ImportFolder(true).changed);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(Setting("图片前缀"), GbPath(photos));

  // Reopening reads the list back.
  EXPECT_EQ(List(false, GbPath(photos)).Items(), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(PhotoListTest, ImportFromASecondFolderCopiesIntoTheListsFolder) {
  const fs::path first = Folder("first", {"a.jpg", "b.jpg"}, "first");
  const fs::path second = Folder("second", {"b.jpg", "c.jpg"}, "second");
  PhotoList& list = List();
  list.ImportFolderFrom(GbPath(first), true);

  // "b.jpg" is another person's photo in the list's folder: the operator keeps it (否).
  prompter_.ScriptAnswer(Answer::No);
  auto outcome = list.ImportFolderFrom(GbPath(second), false);
  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(list.Folder(), GbPath(first));
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
  EXPECT_EQ(ReadTextFile(first / "b.jpg"), "firstb.jpg");
  EXPECT_EQ(ReadTextFile(first / "c.jpg"), "secondc.jpg");
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].buttons, Buttons::YesNoCancel);
  EXPECT_NE(Captions()[0].find("1张"), std::string::npos);

  // Replacing (是) keeps the old photo in history/; cancelling imports nothing.
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(list.ImportFolderFrom(GbPath(second), false).changed);
  EXPECT_EQ(list.Count(), 3);
  prompter_.ScriptAnswer(Answer::Yes);
  list.ImportFolderFrom(GbPath(second), false);
  EXPECT_EQ(ReadTextFile(first / "b.jpg"), "secondb.jpg");
  EXPECT_EQ(HistoryFiles(), 1);
  EXPECT_EQ(Setting("图片前缀"), GbPath(first));
}

TEST_F(PhotoListTest, AddOneCopiesFromElsewhereAndAsksBeforeReplacing) {
  const fs::path photos = Folder("photos", {"a.jpg", "inside.jpg"});
  PhotoList& list = List();
  // No picture folder yet: refused before any file dialog, nothing written.
  EXPECT_FALSE(list.AddOne().changed);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].kind, ScriptedPrompter::Shown::Kind::Message);
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));

  list.ImportFolderFrom(GbPath(photos), true);
  // From inside the folder: listed without a copy.
  auto outcome = list.AddFile(GbPath(photos / "inside.jpg"));
  EXPECT_EQ(outcome.select, 2);
  // From outside: copied in; a file not named .jpg is ignored.
  const fs::path other = Folder("other", {"new.JPG", "a.jpg", "same.jpg", "x.png"}, "other");
  WriteTextFile(photos / "same.jpg", "othersame.jpg");
  EXPECT_FALSE(list.AddFile(GbPath(other / "x.png")).changed);
  EXPECT_TRUE(list.AddFile(GbPath(other / "new.JPG")).changed);
  EXPECT_EQ(ReadTextFile(photos / "new.JPG"), "othernew.JPG");
  // An identical photo of the same name needs no question.
  prompter_.Clear();
  EXPECT_TRUE(list.AddFile(GbPath(other / "same.jpg")).changed);
  EXPECT_TRUE(prompter_.shown().empty());
  // A different photo of the same name: Cancel keeps the old one, OK replaces it and keeps it in history/.
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(list.AddFile(GbPath(other / "a.jpg")).changed);
  EXPECT_EQ(ReadTextFile(photos / "a.jpg"), "xa.jpg");
  prompter_.ScriptAnswer(Answer::Ok);
  EXPECT_TRUE(list.AddFile(GbPath(other / "a.jpg")).changed);
  EXPECT_EQ(ReadTextFile(photos / "a.jpg"), "othera.jpg");
  EXPECT_EQ(HistoryFiles(), 1);
  EXPECT_EQ(SetDat(), "a\r\ninside\r\ninside\r\nnew\r\nsame\r\na\r\n");
}

TEST_F(PhotoListTest, DeleteOneAsksAndKeepsThePhotoInHistory) {
  const fs::path photos = Folder("photos", {"a.jpg", "b.jpg", "c.jpg"});
  PhotoList& list = List();
  list.ImportFolderFrom(GbPath(photos), true);

  EXPECT_FALSE(list.DeleteOne(std::nullopt).changed);
  EXPECT_EQ(prompter_.shown().back().text, Gb("请先选择一行要删除的数据！"));
  EXPECT_EQ(prompter_.shown().back().caption, Gb("操作提示："));

  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(list.DeleteOne(1).changed);
  EXPECT_TRUE(FileExists(photos / "b.jpg"));

  auto outcome = list.DeleteOne(1);  // OK
  EXPECT_EQ(outcome.select, 0);
  EXPECT_FALSE(FileExists(photos / "b.jpg"));
  EXPECT_EQ(HistoryFiles(), 1);
  EXPECT_EQ(SetDat(), "a\r\nc\r\n");
  EXPECT_EQ(list.DeleteOne(0).select, 0);  // the first one: the next first is selected
  EXPECT_EQ(list.DeleteOne(0).select, std::nullopt);
  EXPECT_EQ(list.PreviewItem(std::nullopt), std::nullopt);
  EXPECT_EQ(SetDat(), "");
}

TEST_F(PhotoListTest, DeleteAllKeepsFilesAndEmptiesTheFolderKey) {
  const fs::path photos = Folder("photos", {"a.jpg"});
  PhotoList& list = List();
  list.ImportFolderFrom(GbPath(photos), true);
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(list.DeleteAll());
  EXPECT_EQ(list.Count(), 1);
  EXPECT_TRUE(list.DeleteAll());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  EXPECT_TRUE(FileExists(photos / "a.jpg"));
  EXPECT_EQ(Setting("图片前缀"), "");
  EXPECT_EQ(prompter_.shown().back().text, Gb("确定要删除全部数据吗？"));
  // The folder stays in memory, so a picture can still be added before the window closes.
  EXPECT_EQ(list.Folder(), GbPath(photos));
}

TEST_F(PhotoListTest, AspectIsWrittenAtOnce) {
  PhotoList& list = List();
  list.SetRatio43(false);
  EXPECT_EQ(Setting("图片比例"), "3:4");
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  EXPECT_FALSE(list.DrawRestartWanted());
}

TEST_F(PhotoListTest, ADrawUnderWayIsAskedAboutBeforeTheFirstChange) {
  const fs::path photos = Folder("photos", {"a.jpg", "b.jpg"});
  WriteTextFile(dir_.Path(ProgramDir::kSetDat), "a\r\n");
  PhotoList& list = List(true, GbPath(photos));
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(list.AddFile(GbPath(photos / "b.jpg")).changed);
  EXPECT_EQ(prompter_.shown().back().text, Gb("是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"));
  EXPECT_EQ(SetDat(), "a\r\n");
  EXPECT_FALSE(list.DrawRestartWanted());
  // Agreed once, later changes do not ask again.
  prompter_.Clear();
  EXPECT_TRUE(list.AddFile(GbPath(photos / "b.jpg")).changed);
  EXPECT_TRUE(list.AddFile(GbPath(photos / "b.jpg")).changed);
  EXPECT_EQ(prompter_.shown().size(), 1u);
  EXPECT_TRUE(list.DrawRestartWanted());
}

TEST_F(PhotoListTest, ShotNamesAreCheckedAndReplacingAsks) {
  const fs::path photos = Folder("photos", {"a.jpg"});
  PhotoList& list = List(false, GbPath(photos));
  for (const char* bad : {"", "a/b", "..", "x\\y", "q?"}) {
    prompter_.Clear();
    EXPECT_EQ(list.PrepareShot(Gb(bad)), std::nullopt) << bad;
    EXPECT_EQ(prompter_.shown().size(), 1u) << bad;
  }
  EXPECT_EQ(Captions().back(), "图片文件名不能含有 \\ / : * ? \" < > | 等字符，请重新输入！");
  EXPECT_EQ(PhotoNameProblem(""), Gb("图片文件名不能为空！"));
  EXPECT_EQ(PhotoNameProblem(Gb("张三-2")), std::nullopt);
  EXPECT_EQ(PhotoNameProblem(Gb("誠")), std::nullopt);  // its trail byte is 0x5C, which is no "\" there

  prompter_.Clear();
  EXPECT_EQ(list.PrepareShot(Gb("张三")), photos / "张三.jpg");
  EXPECT_TRUE(prompter_.shown().empty());
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_EQ(list.PrepareShot("a"), std::nullopt);
  EXPECT_EQ(list.PrepareShot("a"), photos / "a.jpg");
  EXPECT_FALSE(FileExists(photos / "a.jpg"));  // kept in history/ before the shot takes its place
  list.AddShot("a");
  EXPECT_EQ(SetDat(), "a\r\n");
}

TEST(PhotoSizes, OtherSideFollowsTheAspect) {
  EXPECT_DOUBLE_EQ(OtherSide(640, true, true), 480);
  EXPECT_EQ(FormatNumber(OtherSide(640, true, false)), "853.3333333333");
  EXPECT_EQ(FormatNumber(OtherSide(401, true, true)), "300.75");
  EXPECT_DOUBLE_EQ(OtherSide(300, false, true), 400);
  EXPECT_DOUBLE_EQ(OtherSide(400, false, false), 300);
  EXPECT_TRUE(IsJpgName("x.JpG"));
  EXPECT_FALSE(IsJpgName("jpg"));
}

}  // namespace
}  // namespace kavrel::test
