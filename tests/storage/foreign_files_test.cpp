// Files written by other editors or damaged on disk: lists and settings in other encodings and
// line ends, entries the record formats cannot carry, and resume records cut short or edited.
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/split_text.h"
#include "storage_fixture.h"

namespace kavrel::test {
namespace {

using Entries = std::vector<std::string>;

std::string Utf8(const char* text) {
  return text;
}

std::string Utf16Le(const char* utf8, bool bom = true) {
  const QString text = QString::fromUtf8(utf8);
  std::string bytes = bom ? std::string("\xFF\xFE") : std::string();
  for (const QChar c : text) {
    bytes += static_cast<char>(c.unicode() & 0xFF);
    bytes += static_cast<char>(c.unicode() >> 8);
  }
  return bytes;
}

TEST(ExternalTextTest, OtherEditorsEncodingsBecomeGb18030AndGbkStaysAsItIs) {
  EXPECT_EQ(DecodeExternalText("\xEF\xBB\xBF" + Utf8("张三\r\nabc")), Gb("张三\r\nabc"));
  EXPECT_EQ(DecodeExternalText(Utf8("张三\n李𪚥\n")), Gb("张三\n李𪚥\n"));
  EXPECT_EQ(DecodeExternalText(Utf16Le("王五\r\n[标题设置]")), Gb("王五\r\n[标题设置]"));
  EXPECT_EQ(DecodeExternalText("\xEF\xBB\xBF"), "");

  // GBK as it is, including texts that happen to be valid two-byte UTF-8 ("尾" would read as "β").
  for (const char* gbk : {"张三\r\n李四", "尾", "xxxx尾", "abc", ""}) {
    SCOPED_TRACE(gbk);
    EXPECT_EQ(DecodeExternalText(Gb(gbk)), Gb(gbk));
  }
  // Broken UTF-8 (a sequence cut short, an overlong form, a surrogate) is not UTF-8.
  for (const std::string& bytes :
       {Utf8("张三").substr(0, 5), std::string("\xE0\x80\xAF\xE5\xBC\xA0"), std::string("\xED\xA0\x80\xE5\xBC\xA0")})
    EXPECT_EQ(DecodeExternalText(bytes), bytes);
}

TEST(ExternalTextTest, LinesEndAtLfWithOrWithoutCrAndAtCrWhenThereIsNoLf) {
  EXPECT_EQ(SplitLines("a\nb\r\nc"), (Entries{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\r\n\nb\n"), (Entries{"a", "", "b"}));
  EXPECT_EQ(SplitLines(""), Entries{});
  EXPECT_EQ(SplitLines(Gb("张\n三")), (Entries{Gb("张"), Gb("三")}));
  // Old Mac editors end lines with CR alone: one line per CR, blank lines kept.
  EXPECT_EQ(SplitLines(Gb("张三\r李四\r\rb\r")), (Entries{Gb("张三"), Gb("李四"), "", "b"}));
  // Where LF ends the lines a lone CR is part of its line, and lines are not trimmed.
  EXPECT_EQ(SplitLines("a\rb \n \r\n"), (Entries{"a\rb ", " "}));
}

class ForeignFilesTest : public StorageTest {};

// The list as other tools save it: bare LF ends, UTF-8, "-" inside entries and blank lines.
TEST_F(ForeignFilesTest, ListsFromOtherToolsLoadAsTheyLook) {
  PoolLoadNotes notes;
  Put(ProgramDir::kSetDat, "001\n002\n003\r\n004\n");
  EXPECT_EQ(*LoadPool(Dir(), &notes), (Entries{"001", "002", "003", "004"}));
  EXPECT_EQ(notes.dashesReplaced, 0);

  Put(ProgramDir::kSetDat, "\xEF\xBB\xBF" + Utf8("张三\r\n李四\r\n"));
  EXPECT_EQ(*LoadPool(Dir()), (Entries{Gb("张三"), Gb("李四")}));
  Put(ProgramDir::kSetDat, Utf8("王五\n赵六\n"));
  EXPECT_EQ(*LoadPool(Dir()), (Entries{Gb("王五"), Gb("赵六")}));

  Put(ProgramDir::kSetDat, Gb("HR-001\r\n138-1234-5678\r\n工号--姓名\r\n普通\r\n"));
  EXPECT_EQ(*LoadPool(Dir(), &notes), (Entries{Gb("HR－001"), Gb("138－1234－5678"), Gb("工号－－姓名"), Gb("普通")}));
  EXPECT_EQ(notes.dashesReplaced, 3);
  EXPECT_EQ(Gb("－"), "\xA3\xAD");

  Put(ProgramDir::kSetDat, Gb("  \r\n\t\r\n　\r\na\r\n\r\n"));
  EXPECT_EQ(*LoadPool(Dir(), &notes), Entries{"a"});
  EXPECT_EQ(notes.blanksDropped, 4);
  Put(ProgramDir::kSetDat, "\r\n \r\n");
  EXPECT_TRUE(LoadPool(Dir())->empty());
}

TEST_F(ForeignFilesTest, PhotoOfAnEntryWhoseDashWasReplaced) {
  const auto folder = Dir().Root() / "photos";
  std::filesystem::create_directory(folder);
  Put("\\photos\\HR-001.jpg", "jpg");
  EXPECT_EQ(PictureFilePath(GbPath(folder), Gb("HR－001")), folder / "HR-001.jpg");
  // A name with a full-width dash of its own is used when it exists.
  Put("\\photos\\A－1.jpg", "jpg");
  Put("\\photos\\A-1.jpg", "jpg");
  EXPECT_EQ(PictureFilePath(GbPath(folder), Gb("A－1")), folder / u8"A－1.jpg");
}

TEST_F(ForeignFilesTest, ConfigSavedAsUtf8OrUtf16IsReadAndRewrittenWholeInGb18030) {
  Settings config(Dir().Path(ProgramDir::kConfigIni));
  for (const std::string& bytes : {"\xEF\xBB\xBF" + Utf8("[标题设置]\n主标题=年会\n副标题=抽奖\n"),
                                   Utf16Le("[标题设置]\r\n主标题=年会\r\n副标题=抽奖\r\n")}) {
    Put(ProgramDir::kConfigIni, bytes);
    EXPECT_EQ(config.ReadText(Gb("标题设置"), Gb("主标题")), Gb("年会"));
    ASSERT_TRUE(config.WriteText(Gb("标题设置"), Gb("中奖名额"), "5"));
    EXPECT_EQ(Read(ProgramDir::kConfigIni), Gb("[标题设置]\r\n主标题=年会\r\n副标题=抽奖\r\n中奖名额=5\r\n"));
  }
}

TEST_F(ForeignFilesTest, DamagedResumeRecordsAreRecognised) {
  ExitRecord record;
  record.pool = {"001", "002"};
  record.plan = {Gb("三等奖,4,2,2,2,奖品,,")};
  record.lastAwardName = Gb("三等奖");
  record.batchNo = 1;
  record.drawnInAward = 2;
  record.resultDatSize = 20;
  record.resultTxtSize = 150;
  ASSERT_TRUE(WriteExitRecord(Dir(), record));
  const std::string good = Read(ProgramDir::kExitIni);
  ASSERT_TRUE(LoadExitRecord(Dir()).record.has_value());
  EXPECT_EQ(LoadExitRecord(Dir()).record->resultTxtSize, 150);

  // Cut anywhere (inside award_list, before the checksum), edited by hand, or garbage.
  std::string edited = good;
  edited.replace(edited.find("index=1"), 7, "index=999");
  for (const std::string& bytes : {good.substr(0, good.find("award_list=") + 20), good.substr(0, good.size() - 20),
                                   edited, std::string("\x01\x02garbage"), std::string()}) {
    Put(ProgramDir::kExitIni, bytes);
    const ExitRecordFile file = LoadExitRecord(Dir());
    EXPECT_TRUE(file.found);
    EXPECT_FALSE(file.record.has_value());
    EXPECT_EQ(file.problem, Gb("记录不完整或已被改动(校验值不符)"));
  }

  // A value that does not parse is named even when the checksum fits it.
  auto withChecksum = [](std::string body) { return body + "checksum=" + ExitRecordChecksum(body) + "\r\n"; };
  const std::string body = good.substr(0, good.find("checksum="));
  std::string badSize = body;
  badSize.replace(badSize.find("result_size=20"), 14, "result_size=abc");
  Put(ProgramDir::kExitIni, withChecksum(badSize));
  EXPECT_EQ(LoadExitRecord(Dir()).problem, Gb("记录中的result_size一项无法识别"));
  std::string cutPool = body;
  cutPool.replace(cutPool.find("002--"), 5, "00");
  Put(ProgramDir::kExitIni, withChecksum(cutPool));
  EXPECT_EQ(LoadExitRecord(Dir()).problem, Gb("记录中的number一项无法识别"));

  std::filesystem::remove(Dir().Path(ProgramDir::kExitIni));
  EXPECT_FALSE(LoadExitRecord(Dir()).found);
}

// A line break in an entry or award would cut the record at that line.
TEST_F(ForeignFilesTest, LineBreaksNeverCutTheRecord) {
  ExitRecord record;
  record.pool = {"a\nb", "c"};
  record.lastAwardName = "x\r\ny";
  ASSERT_TRUE(WriteExitRecord(Dir(), record));
  const auto read = LoadExitRecord(Dir()).record;
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->pool, (Entries{"a b", "c"}));
  EXPECT_EQ(read->lastAwardName, "x  y");
}

TEST_F(ForeignFilesTest, ResultFilesAreCopiedToHistoryBeforeACut) {
  Put(ProgramDir::kResultDat, "A-P-1-2-");
  Put(ProgramDir::kResultTxt, "block1block2");
  ExitRecord record;
  record.resultDatSize = 6;
  record.resultTxtSize = 6;
  const LocalDateTime when{2026, 1, 2, 3, 4, 5};
  ASSERT_TRUE(TrimUnconfirmedResults(Dir(), record, when));
  EXPECT_EQ(Read(ProgramDir::kResultDat), "A-P-1-");
  EXPECT_EQ(Read(ProgramDir::kResultTxt), "block1");
  EXPECT_EQ(Read("\\history\\20260102-030405\\result.dat"), "A-P-1-2-");
  EXPECT_EQ(Read("\\history\\20260102-030405\\result.txt"), "block1block2");

  // No copy, no cut: history/ cannot be created (a file is in its place).
  std::filesystem::remove_all(Dir().Path(ProgramDir::kHistoryDir));
  Put(ProgramDir::kHistoryDir, "in the way");
  Put(ProgramDir::kResultDat, "A-P-1-2-");
  EXPECT_FALSE(TrimUnconfirmedResults(Dir(), record, when));
  EXPECT_EQ(Read(ProgramDir::kResultDat), "A-P-1-2-");
}

}  // namespace
}  // namespace kavrel::test
