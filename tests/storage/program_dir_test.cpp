// Where the data lives: the program folder when it is portable, the user's data folder when the
// program is installed, filled from the program folder's defaults once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>

#include "storage/codec.h"
#include "storage/data_pictures.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

class ProgramDirTest : public ::testing::Test {
 protected:
  ProgramDirTest()
      : program(fs::path(temp.path().toStdString()) / "program"), user(fs::path(temp.path().toStdString()) / "user") {
    fs::create_directories(program / "config");
    fs::create_directories(program / "wav");
    fs::create_directories(program / "sample");
  }
  static void Put(const fs::path& path, const std::string& bytes) { ASSERT_TRUE(WriteTextFile(path, bytes)); }

  QTemporaryDir temp;
  fs::path program;
  fs::path user;
};

TEST_F(ProgramDirTest, AWritableFolderKeepsItsDataUnlessAnInstallerMarkedIt) {
  const ProgramDir portable = ProgramDir::Choose(program, user);
  EXPECT_FALSE(portable.SeparateData());
  EXPECT_EQ(portable.Root(), program);
  EXPECT_TRUE(portable.FillFromDefaults());
  EXPECT_FALSE(fs::exists(user));

  Put(program / "kavrel.installed", "");
  const ProgramDir installed = ProgramDir::Choose(program, user);
  EXPECT_TRUE(installed.SeparateData());
  EXPECT_EQ(installed.Root(), user);
  EXPECT_EQ(installed.ProgramFolder(), program);
  EXPECT_EQ(installed.Path(ProgramDir::kResultTxt), user / "result.txt");
  EXPECT_EQ(installed.Resolve("\\wav\\bg2.mp3"), (user / "wav" / "bg2.mp3").string());
}

TEST_F(ProgramDirTest, TheFirstStartCopiesTheDefaultsAndLaterStartsLeaveTheUsersFilesAlone) {
  Put(program / "wav" / "bg2.mp3", "music");
  Put(program / "config" / "config.ini", "[标题设置]\r\n");
  Put(program / "kavrel.installed", "");
  const ProgramDir dir = ProgramDir::Choose(program, user);

  ASSERT_TRUE(dir.FillFromDefaults());
  EXPECT_EQ(ReadTextFile(user / "wav" / "bg2.mp3"), "music");
  EXPECT_EQ(ReadTextFile(user / "config" / "config.ini"), "[标题设置]\r\n");

  // The user's own changes survive, and a default the user deleted does not come back.
  Put(user / "config" / "config.ini", "mine");
  fs::remove(user / "wav" / "bg2.mp3");
  ASSERT_TRUE(dir.FillFromDefaults());
  EXPECT_EQ(ReadTextFile(user / "config" / "config.ini"), "mine");
  EXPECT_FALSE(fs::exists(user / "wav" / "bg2.mp3"));
}

TEST_F(ProgramDirTest, TheSampleEventGoesOnlyIntoAFolderWithoutAnEvent) {
  const ProgramDir dir(user, program);
  EXPECT_FALSE(dir.HasSampleEvent());
  EXPECT_FALSE(dir.LaySampleEvent());

  Put(program / "sample" / "set.dat", "0001\r\n");
  Put(program / "sample" / "jiangx.dat", "awards");
  Put(program / "sample" / "shezhijx.dat", "plan");
  Put(program / "sample" / "config.ini", "sample settings");
  ASSERT_TRUE(dir.EnsureConfigDir());
  Put(user / "config" / "config.ini", "user settings");
  Put(user / "config" / "shezhijx.dat", "stale plan");

  ASSERT_TRUE(dir.LaySampleEvent());
  EXPECT_EQ(ReadTextFile(user / "config" / "set.dat"), "0001\r\n");
  EXPECT_EQ(ReadTextFile(user / "config" / "jiangx.dat"), "awards");
  EXPECT_EQ(ReadTextFile(user / "config" / "shezhijx.dat"), "plan");
  EXPECT_EQ(ReadTextFile(user / "config" / "config.ini"), "user settings");

  // Never over an event of the user's.
  Put(user / "config" / "set.dat", "my list");
  EXPECT_FALSE(dir.LaySampleEvent());
  EXPECT_EQ(ReadTextFile(user / "config" / "set.dat"), "my list");
}

// A picture chosen from elsewhere travels with the data folder: copied into pictures\, stored relative,
// a different picture of the same name kept beside it, the same picture never copied twice; one already
// inside is only stored relative; a full path stored before still resolves to itself.
TEST_F(ProgramDirTest, PicturesFromElsewhereAreCopiedIntoTheDataFolderAndStoredRelative) {
  const ProgramDir dir(program);
  const fs::path outside = fs::path(temp.path().toStdString()) / "desk";
  fs::create_directories(outside / "b");
  Put(outside / u8"奖品.png", "first");
  Put(outside / "b" / u8"奖品.png", "second");
  const std::string first = GbPath(outside / u8"奖品.png");

  const KeptPicture kept = KeepPictureInDataFolder(dir, first);
  ASSERT_TRUE(kept.ok);
  EXPECT_TRUE(kept.copied);
  EXPECT_EQ(kept.stored, Gb("\\pictures\\奖品.png"));
  EXPECT_TRUE(IsDataRelativePath(kept.stored));
  EXPECT_EQ(ReadTextFile(NativePath(ResolveStoredPicture(dir, kept.stored))), "first");

  const KeptPicture again = KeepPictureInDataFolder(dir, first);
  EXPECT_TRUE(again.ok);
  EXPECT_FALSE(again.copied);
  EXPECT_EQ(again.stored, kept.stored);

  const KeptPicture other = KeepPictureInDataFolder(dir, GbPath(outside / "b" / u8"奖品.png"));
  ASSERT_TRUE(other.ok);
  EXPECT_EQ(other.stored, Gb("\\pictures\\奖品－2.png"));
  EXPECT_EQ(ReadTextFile(program / "pictures" / u8"奖品.png"), "first");
  EXPECT_EQ(ReadTextFile(NativePath(ResolveStoredPicture(dir, other.stored))), "second");

  Put(program / "config" / "bg.jpg", "inside");
  const KeptPicture inside = KeepPictureInDataFolder(dir, GbPath(program / "config" / "bg.jpg"));
  EXPECT_TRUE(inside.ok);
  EXPECT_FALSE(inside.copied);
  EXPECT_EQ(inside.stored, "\\config\\bg.jpg");

  EXPECT_EQ(ResolveStoredPicture(dir, first), first);
  EXPECT_FALSE(IsDataRelativePath(first));
  EXPECT_FALSE(IsDataRelativePath("\\\\server\\share\\a.png"));
  EXPECT_FALSE(KeepPictureInDataFolder(dir, GbPath(outside / "missing.png")).ok);
  EXPECT_FALSE(fs::exists(program / "pictures" / "missing.png"));
}

}  // namespace
}  // namespace kavrel
