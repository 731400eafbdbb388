#include "lists/text_decode.h"

#include "list_fixture.h"

namespace kavrel::test {
namespace {

using Lines = std::vector<std::string>;

std::string Decoded(const std::string& bytes) {
  const auto text = DecodeImportedText(bytes);
  EXPECT_TRUE(text.has_value());
  return text.value_or("");
}

TEST(ImportedText, EncodingsBecomeGb18030) {
  const std::string gb = Gb("张三");
  EXPECT_EQ(Decoded(gb + "\r\n"), gb + "\r\n");  // GBK stays
  EXPECT_EQ(Decoded("\xEF\xBB\xBF"
                    "张三"),
            gb);                                                       // UTF-8 with BOM
  EXPECT_EQ(Decoded("张三\n李四"), gb + "\n" + Gb("李四"));            // UTF-8 without BOM
  EXPECT_EQ(Decoded(std::string("\xFF\xFE\x20\x5F\x09\x4E", 6)), gb);  // UTF-16 LE with BOM
  EXPECT_EQ(Decoded(std::string("\xFE\xFF\x5F\x20\x4E\x09", 6)), gb);  // UTF-16 BE with BOM
  EXPECT_EQ(Decoded("abc 123\r\n"), "abc 123\r\n");                    // ASCII is the same everywhere
  // A character beyond GBK (U+20BB7 𠮷) survives as its four GB18030 bytes.
  const std::string rare = Decoded("\xF0\xA0\xAE\xB7");
  EXPECT_EQ(rare.size(), 4u);
  EXPECT_EQ(ToQt(rare), QString::fromUtf8("\xF0\xA0\xAE\xB7"));
}

TEST(ImportedText, BinaryIsRefused) {
  EXPECT_FALSE(DecodeImportedText(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
  EXPECT_FALSE(DecodeImportedText(std::string("PK\x03\x04\x14\0\x06\0", 8)));  // a workbook
  EXPECT_FALSE(
      DecodeImportedText(std::string("\xFF\xFE"
                                     "a\0\0\0",
                                     6)));  // U+0000 in UTF-16
  EXPECT_TRUE(DecodeImportedText(""));
}

class TextImport : public ListTest {};

TEST_F(TextImport, FileFillsOneNumberedColumnWithHeaders) {
  const std::string path = Put("list.txt", "a\r\n\r\nb");
  prompter_.ScriptPath(path);
  Editor().ImportText();
  EXPECT_EQ(Column(0), (Lines{"1", "2", "3"}));
  EXPECT_EQ(Column(1), (Lines{"a", "", "b"}));
  EXPECT_EQ(ToQt(Table().Cell(0, 0)), QStringLiteral("序号"));
  EXPECT_EQ(ToQt(Table().Cell(0, 1)), QStringLiteral("抽奖名单"));
  EXPECT_TRUE(Editor().ListChanged());
  EXPECT_EQ(ToQt(Editor().CountLine()), QStringLiteral("参与抽奖名单共：3个"));
  // Formatted as after every import: data bold, column 1 in 宋体 18 px, header blue, numbers right.
  const CellFormat data = Table().FormatAt(2, 1);
  EXPECT_EQ(data.bold, true);
  EXPECT_EQ(data.face, Gb("宋体"));
  EXPECT_EQ(data.heightPx, 18);
  EXPECT_EQ(Table().FormatAt(0, 1).colour, 0x0000FFu);
  EXPECT_EQ(Table().FormatAt(3, 0).align, CellAlign::Right);
  EXPECT_EQ(Table().ColumnWidth(0), 40);
  // Text first, then the workbook types "导入Excel" reads.
  EXPECT_EQ(
      ToQt(prompter_.shown().front().text),
      QStringLiteral("文本文件(*.txt);;Excel文件(*.xlsx *.xls *.xlsm);;OpenDocument(*.ods);;CSV(*.csv);;所有文件(*)"));
}

TEST_F(TextImport, CancelUnreadableOrBinaryLeaveTheTableAlone) {
  Fill({"keep", "me"});
  const ListTable before = Table();
  Editor().ImportText();  // picker cancelled
  prompter_.ScriptPath(Put("photo.txt", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11)));
  Editor().ImportText();
  prompter_.ScriptPath(GbPath(dir_.Root() / "missing-folder"));
  std::filesystem::create_directory(dir_.Root() / "missing-folder");
  Editor().ImportText();
  EXPECT_EQ(Table(), before);
  EXPECT_FALSE(Editor().ListChanged());
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[0].find("不是文本文件"), std::string::npos);
  EXPECT_NE(Messages()[1].find("无法读取文件"), std::string::npos);
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kImDataDat)));
}

// A file without a name in it never empties the table; an old Mac file splits at its CRs, and a
// TAB inside a line becomes a space, said once.
TEST_F(TextImport, EmptyFilesChangeNothingAndEveryLineStaysOneEntry) {
  Fill({"keep"});
  EXPECT_FALSE(Editor().ImportTextFile(Put("empty.txt", "")));
  EXPECT_FALSE(Editor().ImportTextFile(Put("blank.txt", "\r\n  \r\n")));
  EXPECT_EQ(Column(1), (Lines{"keep"}));
  EXPECT_FALSE(Editor().ListChanged());
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[1].find("文件中没有名单"), std::string::npos);

  ASSERT_TRUE(Editor().ImportTextFile(Put("mac.txt", Gb("张三\r李四\tA\r王五\r"))));
  EXPECT_EQ(Column(1), (Lines{"张三", "李四 A", "王五"}));
  EXPECT_NE(Messages().back().find("共3行。其中1行"), std::string::npos) << Messages().back();
}

TEST_F(TextImport, AfterAWiderTableTheExtraColumnsStayEmpty) {
  FillColumns({{"001", "张伟", "A"}, {"002", "李娜", "B"}});
  ASSERT_TRUE(Editor().ImportTextFile(Put("l.txt", "x\ny\nz\n")));
  EXPECT_EQ(Table().ColumnCount(), 4);
  EXPECT_EQ(Column(1), (Lines{"x", "y", "z"}));
  EXPECT_EQ(Column(2), (Lines{"", "", ""}));
}

}  // namespace
}  // namespace kavrel::test
