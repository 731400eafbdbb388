#include "storage/text_file.h"

#include <QDir>

#include "storage_fixture.h"

namespace kavrel::test {
namespace {

class TextFileTest : public StorageTest {};

TEST_F(TextFileTest, ReadWriteDelete) {
  const auto path = Dir().Path(ProgramDir::kSetDat);
  EXPECT_EQ(ReadTextFile(path), "");
  EXPECT_FALSE(FileExists(path));
  const std::string bytes = std::string("a\0b\r\n", 5) + Gb("名单");
  ASSERT_TRUE(WriteTextFile(path, bytes));
  EXPECT_EQ(ReadTextFile(path), bytes);
  ASSERT_TRUE(WriteTextFile(path, "short"));
  EXPECT_EQ(ReadTextFile(path), "short");
  ASSERT_TRUE(WriteTextFile(path, ""));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadTextFile(path), "");
  EXPECT_TRUE(DeleteFile(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(DeleteFile(path));
  EXPECT_EQ(TryReadTextFile(path), std::string());
  EXPECT_EQ(TryReadTextFile(Dir().Path(ProgramDir::kConfigDir)), std::nullopt);  // exists, cannot be read
}

TEST_F(TextFileTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const auto path = Dir().Path(ProgramDir::kResultDat);
  ASSERT_TRUE(WriteTextFile(path, "old"));
  // A folder in the way of the target makes the rename fail.
  const auto blocked = Dir().Path("\\config\\blocked");
  ASSERT_TRUE(std::filesystem::create_directory(blocked));
  EXPECT_FALSE(WriteTextFile(blocked, "new"));
  EXPECT_FALSE(WriteTextFile(Dir().Path("\\missing\\x.dat"), "new"));
  EXPECT_EQ(ReadTextFile(path), "old");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Dir().Path(ProgramDir::kConfigDir))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"blocked", "result.dat"}));
}

TEST_F(TextFileTest, ProgramDirPaths) {
  const ProgramDir dir(std::filesystem::path("/opt/draw"));
  EXPECT_EQ(dir.Path(ProgramDir::kConfigIni), std::filesystem::path("/opt/draw/config/config.ini"));
  EXPECT_EQ(dir.Path(ProgramDir::kHelpFile), std::filesystem::path(u8"/opt/draw/kavrel抽奖.chm"));
  EXPECT_EQ(dir.Resolve("\\wav\\bg2.mp3"), "/opt/draw" + Native("/wav/bg2.mp3"));
  EXPECT_EQ(dir.Resolve("wav\\bg2.mp3"), "/opt/draw" + Native("/wav/bg2.mp3"));
  EXPECT_EQ(dir.Resolve(""), "/opt/draw");
  EXPECT_EQ(dir.Resolve(Gb("\\wav\\欢乐.mp3")), "/opt/draw" + Native(Gb("/wav/欢乐.mp3")));
  EXPECT_EQ(NativePath(Gb("/照片\\张三.jpg")), std::filesystem::path(u8"/照片/张三.jpg"));
  EXPECT_EQ(GbPath(std::filesystem::path(u8"/照片/a.jpg")), Gb("/照片/a.jpg"));
}

TEST_F(TextFileTest, ConfigFolderIsCreatedInAFreshFolder) {
  const ProgramDir fresh(Dir().Root() / "fresh");
  std::filesystem::create_directory(fresh.Root());
  EXPECT_FALSE(WriteTextFile(fresh.Path(ProgramDir::kSetDat), "x"));
  EXPECT_TRUE(fresh.EnsureConfigDir());
  EXPECT_TRUE(fresh.EnsureConfigDir());
  EXPECT_TRUE(WriteTextFile(fresh.Path(ProgramDir::kSetDat), "x"));
}

TEST_F(TextFileTest, MoveToHistoryKeepsOldFiles) {
  const LocalDateTime when{2026, 1, 2, 3, 4, 5};
  const auto result = Dir().Path(ProgramDir::kResultDat);
  const auto log = Dir().Path(ProgramDir::kResultTxt);
  const auto exitIni = Dir().Path(ProgramDir::kExitIni);
  const auto history = Dir().Path(ProgramDir::kHistoryDir);

  EXPECT_TRUE(MoveToHistory(Dir(), {result, log, exitIni}, when));
  EXPECT_FALSE(std::filesystem::exists(history));  // nothing to keep: nothing created

  Put(ProgramDir::kResultDat, "winners");
  Put(ProgramDir::kResultTxt, "log");
  EXPECT_TRUE(MoveToHistory(Dir(), {result, log, exitIni}, when));
  EXPECT_FALSE(FileExists(result));
  EXPECT_FALSE(FileExists(log));
  EXPECT_EQ(ReadTextFile(history / "20260102-030405" / "result.dat"), "winners");
  EXPECT_EQ(ReadTextFile(history / "20260102-030405" / "result.txt"), "log");

  // A second move in the same second does not overwrite the first.
  Put(ProgramDir::kResultDat, "again");
  EXPECT_TRUE(MoveToHistory(Dir(), {result}, when));
  EXPECT_EQ(ReadTextFile(history / "20260102-030405-2" / "result.dat"), "again");
  EXPECT_EQ(ReadTextFile(history / "20260102-030405" / "result.dat"), "winners");
}

// A kill during an atomic write leaves the temporary beside the file (a million-line list's is
// tens of megabytes); start-up removes exactly those, and nothing that only looks alike.
TEST_F(TextFileTest, StaleTemporariesOfInterruptedWritesAreRemoved) {
  for (const char* leftover : {"config/set.dat.Ab12Cd", "config/imdata.dat.x9Y8z7", "result.txt.QWErty"})
    ASSERT_TRUE(WriteTextFile(Dir().Root() / leftover, "half"));
  for (const char* kept : {"config/set.dat.bak", "config/set.dat.Ab12Cd7", "config/notes.txt.Ab12Cd", "config/set.dat"})
    ASSERT_TRUE(WriteTextFile(Dir().Root() / kept, "keep"));
  EXPECT_EQ(RemoveStaleTemporaries(Dir()), 3);
  EXPECT_FALSE(FileExists(Dir().Root() / "config/set.dat.Ab12Cd"));
  EXPECT_FALSE(FileExists(Dir().Root() / "result.txt.QWErty"));
  for (const char* kept : {"config/set.dat.bak", "config/set.dat.Ab12Cd7", "config/notes.txt.Ab12Cd", "config/set.dat"})
    EXPECT_TRUE(FileExists(Dir().Root() / kept)) << kept;
}

// Files that must agree are written both or neither. A folder in the way of the second file makes its
// rename fail after the first file was renamed: the first gets its old content back (or goes, when
// it is new), and nothing of the attempt is left behind.
TEST_F(TextFileTest, FilesWrittenTogetherAreAllWrittenOrNone) {
  const auto first = Dir().Path(ProgramDir::kResultDat);
  const auto second = Dir().Path(ProgramDir::kResultTxt);
  auto names = [this] {
    std::vector<std::string> all;
    for (const auto& root : {Dir().Root(), Dir().Path(ProgramDir::kConfigDir)})
      for (const auto& entry : std::filesystem::directory_iterator(root))
        all.push_back(entry.path().filename().string());
    std::sort(all.begin(), all.end());
    return all;
  };
  ASSERT_TRUE(WriteTextFiles({{first, "old dat"}, {second, "old txt"}}));
  ASSERT_TRUE(WriteTextFiles({{first, "new dat"}, {second, "new txt"}}));
  EXPECT_EQ(ReadTextFile(first), "new dat");
  EXPECT_EQ(ReadTextFile(second), "new txt");
  const auto clean = names();

  std::filesystem::remove(second);
  std::filesystem::create_directory(second);
  EXPECT_FALSE(WriteTextFiles({{first, "newer dat"}, {second, "newer txt"}}));
  EXPECT_EQ(ReadTextFile(first), "new dat");
  EXPECT_EQ(names(), clean);

  const auto fresh = Dir().Path("\\config\\fresh.dat");
  EXPECT_FALSE(WriteTextFiles({{fresh, "x"}, {second, "y"}}));
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_EQ(names(), clean);
}

// Files moved into history together go back together when one of them cannot be moved.
TEST_F(TextFileTest, AMoveToHistoryThatFailsPartWayMovesBack) {
  Put(ProgramDir::kResultDat, "winners");
  const auto other = Dir().Root() / "result.dat";  // the same name: its move finds the first one there
  ASSERT_TRUE(WriteTextFile(other, "other"));
  EXPECT_FALSE(MoveToHistory(Dir(), {Dir().Path(ProgramDir::kResultDat), other}, {2026, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Read(ProgramDir::kResultDat), "winners");
  EXPECT_EQ(ReadTextFile(other), "other");
  EXPECT_FALSE(std::filesystem::exists(Dir().Path(ProgramDir::kHistoryDir) / "20260102-030405"));
}

}  // namespace
}  // namespace kavrel::test
