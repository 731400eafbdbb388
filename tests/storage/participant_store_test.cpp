#include "storage/participant_store.h"

#include "storage/entry_key.h"
#include "storage/settings.h"
#include "storage_fixture.h"

namespace kavrel::test {
namespace {

using Entries = std::vector<std::string>;
using Table = std::vector<std::vector<std::string>>;

class ParticipantStoreTest : public StorageTest {};

TEST_F(ParticipantStoreTest, EntriesFromTheDisplayColumns) {
  SKIP_WITHOUT_FULL_GB18030();
  const Table one = {{"001"}, {"002"}};
  EXPECT_EQ(BuildEntries(one, 1, std::nullopt), (Entries{"001", "002"}));

  const Table two = {{"1001", Gb("张三")}, {"1002", Gb("李𪚥")}, {"1003", ""}};
  EXPECT_EQ(BuildEntries(two, 2, std::string("2")), (Entries{"1001  ", "1002  ", "1003  "}));
  EXPECT_EQ(BuildEntries(two, 2, std::nullopt), BuildEntries(two, 2, std::string("2")));
  EXPECT_EQ(BuildEntries(two, 2, std::string("3-2")),
            (Entries{Gb("张三") + "  1001  ", Gb("李𪚥") + "  1002  ", "  1003  "}));
  EXPECT_EQ(BuildEntries(two, 2, std::string("1")), (Entries{"1  ", "2  ", "3  "}));  // the row-number column

  const Table three = {{"a", "b", "c"}};
  EXPECT_EQ(BuildEntries(three, 3, std::string("2-9")), Entries{"a  "});  // beyond the last column: skipped
  EXPECT_EQ(BuildEntries(three, 3, std::string("")), Entries{"a  "});     // no column named: the first data column
  EXPECT_EQ(BuildEntries(three, 3, std::string("0-9")), Entries{"a  "});

  EXPECT_EQ(BuildSetDatText(two, 2, std::string("2-3")), Golden("set_two_columns.dat"));
  ASSERT_TRUE(SavePool(Dir(), BuildEntries(two, 2, std::string("2-3"))));
  EXPECT_EQ(Read(ProgramDir::kSetDat), Golden("set_two_columns.dat"));
  ASSERT_TRUE(SavePool(Dir(), {}));
  EXPECT_TRUE(FileExists(Dir().Path(ProgramDir::kSetDat)));
  EXPECT_EQ(Read(ProgramDir::kSetDat), "");  // an empty list is a 0-byte file
}

TEST_F(ParticipantStoreTest, LoadPool) {
  SKIP_WITHOUT_FULL_GB18030();
  EXPECT_FALSE(LoadPool(Dir()).has_value());
  Put(ProgramDir::kSetDat, "");
  ASSERT_TRUE(LoadPool(Dir()).has_value());
  EXPECT_TRUE(LoadPool(Dir())->empty());
  Put(ProgramDir::kSetDat, "a\r\n\r\nb\r\n");
  EXPECT_EQ(*LoadPool(Dir()), (Entries{"a", "b"}));  // a blank line could only ever win as nobody
  Put(ProgramDir::kSetDat, Golden("set_two_columns.dat"));
  EXPECT_EQ(LoadPool(Dir())->at(1), "1002  " + Gb("李𪚥") + "  ");
}

TEST_F(ParticipantStoreTest, PictureFileOfAnEntry) {
  EXPECT_EQ(PictureFilePath(Gb("/照片\\年会"), Gb("张三 ")), std::filesystem::path(u8"/照片/年会/张三 .jpg"));
  EXPECT_EQ(PictureFilePath("/p", "a\\b"), std::filesystem::path("/p/a\\b.jpg"));
}

TEST_F(ParticipantStoreTest, PictureListAndDeletions) {
  Settings config(Dir().Path(ProgramDir::kConfigIni));
  const std::string folder = Gb("/照片/年会");
  ASSERT_TRUE(SavePictureList(Dir(), config, {Gb("张三.jpg"), "x .jpg", "abc"}, folder, false));
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("张三\r\nx \r\n\r\n"));
  EXPECT_EQ(config.ReadText(Gb("图片路径"), Gb("图片前缀")), folder);
  EXPECT_EQ(config.ReadText(Gb("图片路径"), Gb("图片比例")), "3:4");
}

TEST_F(ParticipantStoreTest, OneKeyForTheSameEntry) {
  SKIP_WITHOUT_FULL_GB18030();
  // Blanks of either width around and between the fields make no other person.
  const std::string key = EntryKey(Gb("9999 王五"));
  EXPECT_EQ(key, Gb("9999 王五"));
  for (const char* same : {"9999  王五", " 9999 王五  ", "9999　王五", "9999\t王五　", "　9999 　 王五"})
    EXPECT_EQ(EntryKey(Gb(same)), key) << same;
  EXPECT_NE(EntryKey(Gb("王五")), EntryKey(Gb("王 五")));
  EXPECT_NE(EntryKey(Gb("王五")), EntryKey(Gb("王伍")));
  EXPECT_NE(EntryKey("Wang"), EntryKey("wang"));
  // "-" and "－" are drawn as one; a blank-only entry has the empty key.
  EXPECT_TRUE(SameEntry("1-2", Gb("1－2")));
  EXPECT_EQ(EntryKey(Gb(" 　 ")), "");
  // A byte that looks like a blank inside a two- or four-byte character is part of that character.
  const std::string rare = Gb("李𪚥");
  EXPECT_EQ(EntryKey(rare + "  "), rare);
  EXPECT_EQ(EntryKey("\x81\x20"), "\x81\x20");
}

}  // namespace
}  // namespace kavrel::test
