#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "lists/workbook/workbook.h"
#include "workbook_fixtures.h"

namespace kavrel::workbook {
namespace {

using ::testing::ElementsAre;
using testing::HandXlsx;
using testing::Lines;
using testing::Worksheet;

Workbook Read(const QString& path, int sheet = 0) {
  ReadOptions options;
  options.sheetIndex = sheet;
  return ReadWorkbook(path, options);
}

class XlsxTest : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QTemporaryDir dir_;
};

// What an office program writes: shared strings, built-in and custom date formats, numbers,
// booleans and formulas with their cached results.
TEST_F(XlsxTest, ReadsWhatAnOfficeProgramWrites) {
  // libxlsxwriter carries its own copy of minizip whose symbols clash with QuaZip's, so the
  // workbook is written by a separate little program. It is handed a plain name (a narrow argv on
  // Windows has no room for Chinese) and the reader gets the Chinese one.
  QProcess writer;
  writer.start(QStringLiteral(KAVREL_XLSX_FIXTURE_WRITER), {Path("office.xlsx")});
  ASSERT_TRUE(writer.waitForFinished(60000));
  ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
  ASSERT_TRUE(QFile::rename(Path("office.xlsx"), Path("名单.xlsx")));

  const Workbook book = Read(Path("名单.xlsx"));
  ASSERT_TRUE(book.ok()) << book.errorText;
  EXPECT_EQ(book.format, Format::Xlsx);
  ASSERT_EQ(book.sheets.size(), 2u);
  EXPECT_EQ(book.sheets[0].name, "员工");
  EXPECT_EQ(book.sheets[1].name, "奖品");
  EXPECT_EQ(book.sheets[0].rowCount, 5);
  EXPECT_EQ(book.sheets[0].columnCount, 4);
  EXPECT_THAT(Lines(book.sheets[0]), ElementsAre("工号|姓名|入职|身份证号",                        //
                                                 "12|张三|2024-01-05|110101199001011234",          //
                                                 "2.5|张三|2023-12-31|110101199001011000",         //
                                                 "0.333333333333333|TRUE|2024-02-29 09:30|18:05",  //
                                                 "24|张三!|0.3|"));
  // Only the ID typed as a number lost digits; 0.1 + 0.2's noise is no loss anybody sees.
  EXPECT_THAT(book.sheets[0].longNumberColumns, ElementsAre(3));
  EXPECT_TRUE(book.sheets[1].rows.empty()) << "only the chosen sheet is read";

  const Workbook prizes = Read(Path("名单.xlsx"), 1);
  ASSERT_TRUE(prizes.ok());
  EXPECT_EQ(prizes.sheets[1].rowCount, 3);
  EXPECT_EQ(prizes.sheets[1].columnCount, 5);
  EXPECT_THAT(Lines(prizes.sheets[1]), ElementsAre("||||", "||||", "||||在E3"));
}

// What web tools and small exporters write, and what liborcus drops: inline strings, absolute
// sheet targets, no <dimension>, cells without references, rich text with phonetic runs.
TEST_F(XlsxTest, ReadsHandWrittenPartsOtherExportersProduce) {
  HandXlsx book;
  book.sharedStrings =
      R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">)"
      R"(<si><t>普通</t></si>)"
      R"(<si><r><rPr><b/></rPr><t>欧阳</t></r><r><t xml:space="preserve"> 娜娜 </t></r>)"
      R"(<rPh sb="0" eb="2"><t>オウヨウ</t></rPh><phoneticPr fontId="1"/></si>)"
      R"(<si><t>第一行_x000D_
第二行</t></si></sst>)";
  book.styles = R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
                R"(<numFmts count="2"><numFmt numFmtId="164" formatCode="yyyy/m/d;@"/>)"
                R"(<numFmt numFmtId="165" formatCode="0.00%"/></numFmts>)"
                R"(<cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="14"/><xf numFmtId="20"/>)"
                R"(<xf numFmtId="165"/></cellXfs></styleSheet>)";
  book.sheets = {
      {"导出",
       Worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>工号</t></is></c>)"
                 R"(<c r="C1" t="inlineStr"><is><r><t>姓</t></r><r><t>名</t></r></is></c></row>)"
                 R"(<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c t="b"><v>0</v></c>)"
                 R"(<c r="E2"><f>1+1</f><v>2</v></c></row>)"
                 R"(<row r="4"><c r="A4" s="1"><v>45296</v></c><c r="B4" s="2"><v>45296.75</v></c>)"
                 R"(<c r="C4" s="3"><v>0.5</v></c><c r="D4" s="4"><v>0.125</v></c>)"
                 R"(<c r="E4" t="str"><f>A1</f><v>工号</v></c><c r="F4" t="e"><v>#DIV/0!</v></c></row>)"
                 R"(<row r="5"><c r="A5" t="s"><v>2</v></c><c r="B5" t="d"><v>2024-06-01T08:15:00</v></c>)"
                 R"(<c r="C5"><f>NOW()</f></c><c r="H5" s="1"/><c r="I5" t="inlineStr"><is><t></t></is></c></row>)"
                 R"(<row r="9" spans="1:9" ht="30" customHeight="1"/>)")},
      {"相对", Worksheet(R"(<row r="1"><c r="B1"><v>-7</v></c></row>)")}};
  book.targets = {"/xl/worksheets/sheet1.xml", "worksheets/../worksheets/other/s2.xml"};
  testing::WriteHandXlsx(Path("hand.xlsx"), book);

  const Workbook read = Read(Path("hand.xlsx"));
  ASSERT_TRUE(read.ok()) << read.errorText;
  const Sheet& sheet = read.sheets[0];
  EXPECT_EQ(sheet.name, "导出");
  // Empty and formatted-only cells (C5 without a cached value, H5, I5, row 9) end nothing.
  EXPECT_EQ(sheet.rowCount, 5);
  EXPECT_EQ(sheet.columnCount, 6);
  EXPECT_THAT(Lines(sheet), ElementsAre("工号||姓名|||",                                   //
                                        "普通|欧阳 娜娜 |FALSE||2|",                       //
                                        "|||||",                                           //
                                        "2024-01-05|2024-01-05|12:00|0.125|工号|#DIV/0!",  //
                                        "第一行\r\n第二行|2024-06-01 08:15||||"));
  EXPECT_TRUE(sheet.longNumberColumns.empty());

  const Workbook relative = Read(Path("hand.xlsx"), 1);
  ASSERT_TRUE(relative.ok()) << relative.errorText;
  EXPECT_THAT(Lines(relative.sheets[1]), ElementsAre("|-7"));
}

// Rows a filter hides and headings merged across the columns are marked for the import's questions;
// a "0000" format pads, and whole numbers keep every digit a double holds (a 15-digit ID, a 16-digit
// card), while an 18-digit ID shows the 15 digits the workbook kept and is reported.
TEST_F(XlsxTest, FilteredRowsHeadingsPaddingAndLongNumbers) {
  HandXlsx book;
  const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  book.styles = "<styleSheet xmlns=\"" + ns +
                "\"><numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"0000\"/>"
                "<numFmt numFmtId=\"165\" formatCode=\"&quot;No.&quot;000\"/></numFmts>"
                "<cellXfs count=\"3\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/></cellXfs>"
                "</styleSheet>";
  book.sheets = {{"员工", "<worksheet xmlns=\"" + ns +
                              "\"><sheetData>"
                              "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>工号</t></is></c>"
                              "<c r=\"B1\" t=\"inlineStr\"><is><t>姓名</t></is></c><c r=\"C1\"><v>1</v></c></row>"
                              "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>研发部</t></is></c></row>"
                              "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>7</v></c><c r=\"B3\" s=\"2\"><v>8</v></c>"
                              "<c r=\"C3\"><v>110105900307112</v></c></row>"
                              "<row r=\"4\" hidden=\"1\"><c r=\"A4\"><v>6222021234567890</v></c>"
                              "<c r=\"B4\" t=\"inlineStr\"><is><t>离职</t></is></c></row>"
                              "<row r=\"5\" hidden=\"true\"/>"
                              "<row r=\"6\"><c r=\"A6\"><v>1.1010519900101101E+17</v></c><c r=\"B6\"><v>-0.5</v></c>"
                              "<c r=\"C6\"><v>9007199254740993</v></c></row>"
                              "</sheetData><mergeCells count=\"2\"><mergeCell ref=\"A2:C2\"/><mergeCell ref=\"B6\"/>"
                              "</mergeCells></worksheet>"}};
  book.targets = {"worksheets/sheet1.xml"};
  testing::WriteHandXlsx(Path("filtered.xlsx"), book);
  const Workbook read = Read(Path("filtered.xlsx"));
  ASSERT_TRUE(read.ok()) << read.errorText;
  const Sheet& sheet = read.sheets[0];
  EXPECT_THAT(Lines(sheet), ElementsAre("工号|姓名|1",               //
                                        "研发部||",                  //
                                        "0007|008|110105900307112",  //
                                        "6222021234567890|离职|",    //
                                        "||",                        //
                                        "110105199001011000|-0.5|9007199254740990"));
  EXPECT_THAT(sheet.hiddenRows, ElementsAre(3));  // row 5 hides nothing
  EXPECT_THAT(sheet.headingRows, ElementsAre(1));
  EXPECT_THAT(sheet.longNumberColumns, ElementsAre(0, 2));
}

// Some exporters write the main namespace with a prefix, escape with entities and CDATA, and put
// comments and '>' inside attribute values; a DOCTYPE is refused rather than expanded.
TEST_F(XlsxTest, XmlSpellingsOfTheSameCells) {
  HandXlsx book;
  const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  book.sharedStrings = "<x:sst xmlns:x=\"" + ns +
                       "\"><!-- made by hand --><x:si><x:t>A&amp;B &lt;&#x5F20;&#19977;&gt;</x:t></x:si>"
                       "<x:si><x:t><![CDATA[<raw> & ]]></x:t></x:si></x:sst>";
  book.sheets = {{"P", "<?xml version=\"1.0\"?><x:worksheet xmlns:x=\"" + ns +
                           "\"><x:sheetData><x:row x:r=\"1\" note='a>b'><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c>"
                           "<x:c r=\"B1\" t=\"s\" ><x:v>1</x:v></x:c><x:c r=\"C1\" t=\"str\"><x:v>&quot;q&apos;</x:v>"
                           "</x:c></x:row></x:sheetData></x:worksheet>"},
                 {"D", "<!DOCTYPE x [<!ENTITY a \"aaaa\">]><worksheet><sheetData/></worksheet>"}};
  book.targets = {"worksheets/p.xml", "worksheets/d.xml"};
  testing::WriteHandXlsx(Path("spellings.xlsx"), book);
  const Workbook read = Read(Path("spellings.xlsx"));
  ASSERT_TRUE(read.ok()) << read.errorText;
  EXPECT_THAT(Lines(read.sheets[0]), ElementsAre("A&B <张三>|<raw> & |\"q'"));
  EXPECT_EQ(Read(Path("spellings.xlsx"), 1).error, ErrorKind::Damaged);
}

TEST_F(XlsxTest, DatesFollowTheWorkbooksCalendar) {
  HandXlsx book;
  book.date1904 = true;
  book.styles = R"(<styleSheet><cellXfs><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs></styleSheet>)";
  book.sheets = {{"S", Worksheet(R"(<row r="1"><c r="A1" s="1"><v>0</v></c><c r="B1" s="1"><v>43833</v></c>)"
                                 R"(<c r="C1" s="1"><v>-1</v></c></row>)")}};
  book.targets = {"worksheets/sheet1.xml"};
  testing::WriteHandXlsx(Path("1904.xlsx"), book);
  const Workbook read = Read(Path("1904.xlsx"));
  ASSERT_TRUE(read.ok()) << read.errorText;
  // A negative serial is no date: it stays a number rather than becoming a made-up day.
  EXPECT_THAT(Lines(read.sheets[0]), ElementsAre("1904-01-01|2024-01-04|-1"));
}

}  // namespace
}  // namespace kavrel::workbook
