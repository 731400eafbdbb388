#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "lists/workbook/workbook.h"
#include "storage/codec.h"
#include "workbook_fixtures.h"

namespace kavrel::workbook {
namespace {

using ::testing::ElementsAre;
using testing::Lines;

Workbook Read(const QString& path, int sheet = 0) {
  ReadOptions options;
  options.sheetIndex = sheet;
  return ReadWorkbook(path, options);
}

class FormatsTest : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QTemporaryDir dir_;
};

TEST_F(FormatsTest, LegacyXlsWithChineseTextNumbersAndDates) {
  // Under a Chinese name, as lists are named (FreeXL takes names in the system's 8-bit encoding).
  const QString path = Path("名单.xls");
  ASSERT_TRUE(QFile::copy(QStringLiteral(KAVREL_WORKBOOK_DATA "/names.xls"), path));
  EXPECT_EQ(SniffFormat(path), Format::Xls);
  const Workbook book = Read(path);
  ASSERT_TRUE(book.ok()) << book.errorText;
  ASSERT_EQ(book.sheets.size(), 2u);
  EXPECT_EQ(book.sheets[0].name, "员工");
  EXPECT_EQ(book.sheets[1].name, "Sheet2");
  EXPECT_THAT(Lines(book.sheets[0]), ElementsAre("工号|姓名|入职日期|身份证号",                          //
                                                 "1001|张三|2024-01-05|110101199001011234",              //
                                                 "1002.5|欧阳娜娜|2024-03-08 09:30|110101199001011000",  //
                                                 "|||",                                                  //
                                                 "|空行之后||"));
  EXPECT_THAT(book.sheets[0].longNumberColumns, ElementsAre(3));
}

// What FreeXL leaves out of an .xls: formula errors (it reads them as 1), padding formats, rows a
// filter hides and headings merged across the columns; numbers keep every digit a double holds.
TEST_F(FormatsTest, LegacyXlsErrorsPaddingHiddenRowsAndHeadings) {
  testing::XlsBook xls;
  xls.Format(164, "0000");
  const std::uint16_t padded = xls.Xf(164);
  xls.Text(0, 0, "工号");
  xls.Text(0, 1, "姓名");
  xls.Text(0, 2, "身份证号");
  xls.Text(1, 0, "研发部");
  xls.Merge(1, 1, 0, 2);
  xls.Number(2, 0, 7, padded);
  xls.Text(2, 1, "张三");
  xls.Number(2, 2, 110105900307112);
  xls.Number(3, 0, 6222021234567890);
  xls.Text(3, 1, "李四");
  xls.Error(3, 2, 0x17);
  xls.Number(4, 0, 12, padded);
  xls.Text(4, 1, "王五");
  xls.FormulaError(4, 2, 0x2A);
  xls.HideRow(4);
  xls.Number(5, 0, 110105199001011234.0);
  xls.Text(5, 1, "李雷");
  xls.Merge(5, 5, 1, 2);  // a name over two of three columns, beside a number: no heading
  const QString path = Path("名单.xls");
  testing::WriteBytes(path, xls.Bytes("员工"));

  const Workbook book = Read(path);
  ASSERT_TRUE(book.ok()) << book.errorText;
  const Sheet& sheet = book.sheets[0];
  EXPECT_EQ(sheet.name, "员工");
  EXPECT_THAT(Lines(sheet), ElementsAre("工号|姓名|身份证号",           //
                                        "研发部||",                     //
                                        "0007|张三|110105900307112",    //
                                        "6222021234567890|李四|#REF!",  //
                                        "0012|王五|#N/A",               //
                                        "110105199001011000|李雷|"));
  EXPECT_THAT(sheet.hiddenRows, ElementsAre(4));
  EXPECT_THAT(sheet.headingRows, ElementsAre(1));
  EXPECT_THAT(sheet.longNumberColumns, ElementsAre(0));
}

// LibreOffice ends every sheet with a million repeated empty rows and pads rows with repeated
// empty cells; repeated cells with content are real cells.
TEST_F(FormatsTest, OdsRepeatsAreHonouredWithoutMaterialisingEmptyTails) {
  testing::WriteOds(
      Path("名单.ods"),
      R"(<table:table table:name="封面"><table:table-row><table:table-cell office:value-type="string">)"
      R"(<text:p>忽略</text:p></table:table-cell></table:table-row></table:table>)"
      R"(<table:table table:name="员工&amp;家属"><table:table-column table:number-columns-repeated="1024"/>)"
      R"(<table:table-header-rows><table:table-row>)"
      R"(<table:table-cell office:value-type="string"><text:p>工号</text:p></table:table-cell>)"
      R"(<table:table-cell table:number-columns-repeated="2"/>)"
      R"(<table:table-cell office:value-type="string"><text:p>备注</text:p></table:table-cell>)"
      R"(<table:table-cell table:number-columns-repeated="1020"/></table:table-row></table:table-header-rows>)"
      R"(<table:table-row><table:table-cell office:value-type="float" office:value="1001">)"
      R"(<text:p>1,001.00</text:p></table:table-cell>)"
      R"(<table:table-cell office:value-type="string" table:number-columns-repeated="2"><text:p>同</text:p>)"
      R"(</table:table-cell><table:table-cell office:value-type="string"><text:p>a<text:s text:c="3"/>b)"
      R"(<text:tab/>c</text:p><text:p><text:span>第二段</text:span></text:p>)"
      R"(<office:annotation><text:p>批注不导入</text:p></office:annotation></table:table-cell></table:table-row>)"
      R"(<table:table-row table:number-rows-repeated="2"><table:table-cell table:number-columns-repeated="1024"/>)"
      R"(</table:table-row><table:table-row-group><table:table-row table:number-rows-repeated="2">)"
      R"(<table:table-cell office:value-type="date" office:date-value="2024-01-05"/>)"
      R"(<table:table-cell office:value-type="date" office:date-value="2024-01-05T09:30:00"/>)"
      R"(<table:table-cell office:value-type="time" office:time-value="PT18H05M00S"/>)"
      R"(<table:table-cell office:value-type="boolean" office:boolean-value="true"/></table:table-row>)"
      R"(</table:table-row-group><table:table-row table:visibility="filter">)"
      R"(<table:table-cell table:number-columns-spanned="4" office:value-type="string"><text:p>离职</text:p>)"
      R"(</table:table-cell><table:covered-table-cell table:number-columns-repeated="3"/></table:table-row>)"
      R"(<table:table-row><table:table-cell office:value-type="float" office:value="7"><text:p>0007</text:p>)"
      R"(</table:table-cell><table:table-cell office:value-type="float" office:value="6222021234567890"/>)"
      R"(</table:table-row><table:table-row><table:table-cell office:value-type="percentage" )"
      R"(office:value="0.25"/><table:table-cell office:value-type="float" office:value="110101199001011234"/>)"
      R"(</table:table-row><table:table-row table:number-rows-repeated="1048570">)"
      R"(<table:table-cell table:number-columns-repeated="1024"/></table:table-row></table:table>)");
  EXPECT_EQ(SniffFormat(Path("名单.ods")), Format::Ods);

  ReadOptions listing;
  listing.sheetIndex = -1;
  const Workbook names = ReadWorkbook(Path("名单.ods"), listing);
  ASSERT_TRUE(names.ok()) << names.errorText;
  ASSERT_EQ(names.sheets.size(), 2u);
  EXPECT_EQ(names.sheets[1].name, "员工&家属");

  const Workbook book = Read(Path("名单.ods"), 1);
  ASSERT_TRUE(book.ok()) << book.errorText;
  const Sheet& sheet = book.sheets[1];
  EXPECT_EQ(sheet.rowCount, 9);
  EXPECT_EQ(sheet.columnCount, 4);
  EXPECT_EQ(sheet.rows.size(), 9u);
  EXPECT_THAT(Lines(sheet), ElementsAre("工号|||备注",                             //
                                        "1001|同|同|a   b\tc\n第二段",             //
                                        "|||",                                     //
                                        "|||",                                     //
                                        "2024-01-05|2024-01-05 09:30|18:05|TRUE",  //
                                        "2024-01-05|2024-01-05 09:30|18:05|TRUE",  //
                                        "离职|||",                                 //
                                        "0007|6222021234567890||",                 //
                                        "0.25|110101199001011000||"));
  EXPECT_THAT(sheet.longNumberColumns, ElementsAre(1));
  // The row a filter hides is one merged cell across the columns too.
  EXPECT_THAT(sheet.hiddenRows, ElementsAre(6));
  EXPECT_THAT(sheet.headingRows, ElementsAre(6));
}

// Excel saves "CSV" in the system's code page (GBK on Chinese Windows); "CSV UTF-8" and web
// tools write UTF-8, with or without a byte-order mark.
TEST_F(FormatsTest, CsvInUtf8AndGbkWithQuotedFields) {
  const std::string body =
      "工号,姓名,备注\r\n"
      "001,张三,\"有逗号, 也有\"\"引号\"\"\"\r\n"
      "002,\"欧阳\r\n娜娜\",\r\n"
      "\r\n"
      "003,\"李四\",\"末行没有换行\"";
  const auto expected = ElementsAre("工号|姓名|备注", "001|张三|有逗号, 也有\"引号\"", "002|欧阳\r\n娜娜|", "||",
                                    "003|李四|末行没有换行");
  testing::WriteBytes(Path("bom.csv"), "\xEF\xBB\xBF" + body);
  testing::WriteBytes(Path("plain.csv"), body);
  testing::WriteBytes(Path("gbk.csv"), FromQt(QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size()))));
  for (const char* name : {"bom.csv", "plain.csv", "gbk.csv"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(SniffFormat(Path(name)), Format::Csv);
    const Workbook book = Read(Path(name));
    ASSERT_TRUE(book.ok()) << book.errorText;
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.format, Format::Csv);
    EXPECT_THAT(Lines(book.sheets[0]), expected);
  }
  // A tab-separated text (what a copy out of a sheet gives) is split at its tabs.
  testing::WriteBytes(Path("tabs.txt"), "a\tb\n1\t2,5\n");
  const Workbook tabs = Read(Path("tabs.txt"));
  ASSERT_TRUE(tabs.ok());
  EXPECT_THAT(Lines(tabs.sheets[0]), ElementsAre("a|b", "1|2,5"));
}

// The type comes from the content: a workbook saved under another name still reads.
TEST_F(FormatsTest, TypeComesFromContentNotName) {
  testing::WriteOds(Path("really-ods.xlsx"),
                    R"(<table:table table:name="T"><table:table-row><table:table-cell office:value-type="string">)"
                    R"(<text:p>x</text:p></table:table-cell></table:table-row></table:table>)");
  EXPECT_EQ(SniffFormat(Path("really-ods.xlsx")), Format::Ods);
  const Workbook book = Read(Path("really-ods.xlsx"));
  ASSERT_TRUE(book.ok()) << book.errorText;
  EXPECT_THAT(Lines(book.sheets[0]), ElementsAre("x"));
}

}  // namespace
}  // namespace kavrel::workbook
