#include "list_fixture.h"
#include "workbook/workbook_fixtures.h"

namespace kavrel::test {
namespace {

using Lines = std::vector<std::string>;

class WorkbookImportTest : public ListTest {
 protected:
  // A one-sheet .xlsx: 工号 / 姓名 with two staff, the first column as text so its zeros stay.
  std::string StaffXlsx() {
    testing::HandXlsx book;
    book.sheets = {{"员工", testing::Worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>工号</t></is></c>)"
                                               R"(<c r="B1" t="inlineStr"><is><t>姓名</t></is></c></row>)"
                                               R"(<row r="2"><c r="A2" t="inlineStr"><is><t>007</t></is></c>)"
                                               R"(<c r="B2" t="inlineStr"><is><t>张三</t></is></c></row>)"
                                               R"(<row r="3"><c r="A3"><v>8</v></c>)"
                                               R"(<c r="B3" t="inlineStr"><is><t>李四</t></is></c></row>)")}};
    book.targets = {"worksheets/sheet1.xml"};
    const auto path = dir_.Root() / "staff.xlsx";
    testing::WriteHandXlsx(QString::fromStdString(path.string()), book);
    return GbPath(path);
  }
  // Answers for the reminder (OK), the file dialog and the sheet box.
  void ScriptStart(const std::string& path, std::optional<long long> sheet = 1) {
    prompter_.ScriptAnswer(Answer::Ok);
    prompter_.ScriptPath(path);
    prompter_.ScriptInteger(sheet);
  }
};

TEST_F(WorkbookImportTest, TheSheetFillsDataColumnsAndIsNotSavedYet) {
  ScriptStart(StaffXlsx());
  std::int64_t lastDone = -1;
  ASSERT_TRUE(Editor().ImportWorkbook([&](std::int64_t done, std::int64_t) { lastDone = done; }));
  EXPECT_GE(lastDone, 0) << "the read reports its progress";
  EXPECT_EQ(Table().ColumnCount(), 3);
  EXPECT_EQ(ToQt(Table().Cell(0, 0)), QStringLiteral("序号"));
  EXPECT_EQ(ToQt(Table().Cell(0, 2)), QStringLiteral("姓名"));
  EXPECT_EQ(Column(0), (Lines{"1", "2"}));
  EXPECT_EQ(Column(1), (Lines{"007", "8"}));
  EXPECT_EQ(Column(2), (Lines{"张三", "李四"}));
  EXPECT_EQ(Table().FormatAt(0, 1).colour, 0x0000FFu);
  EXPECT_TRUE(Editor().ListChanged());
  EXPECT_EQ(ToQt(Editor().CountLine()), QStringLiteral("参与抽奖名单共：2个"));
  // Only the reminder was a message: no failure, no warning.
  EXPECT_EQ(Messages().size(), 1u);
  // The workbook dialog offers the workbook types first.
  EXPECT_TRUE(ToQt(prompter_.shown()[1].text).startsWith(QStringLiteral("Excel文件(*.xlsx *.xls *.xlsm);;")));
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kImDataDat)));
}

// A cell with a line break stays one row (the summary says how many cells were changed), and
// formula errors are listed before they can become entries.
TEST_F(WorkbookImportTest, LineBreaksBecomeSpacesAndErrorCellsAreAskedAbout) {
  testing::HandXlsx book;
  book.sheets = {{"员工", testing::Worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>姓名</t></is></c></row>)"
                                             R"(<row r="2"><c r="A2" t="inlineStr"><is><t>两行&#10;文本</t></is></c>)"
                                             R"(<c r="B2" t="e"><f>A9/0</f><v>#REF!</v></c></row>)"
                                             R"(<row r="3"><c r="A3" t="inlineStr"><is><t>李四</t></is></c>)"
                                             R"(<c r="B3" t="inlineStr"><is><t>x</t></is></c></row>)")}};
  book.targets = {"worksheets/sheet1.xml"};
  const auto path = dir_.Root() / "breaks.xlsx";
  testing::WriteHandXlsx(QString::fromStdString(path.string()), book);
  ScriptStart(GbPath(path));
  prompter_.ScriptAnswer(Answer::Yes);  // clear the error cells
  ASSERT_TRUE(Editor().ImportWorkbook());
  EXPECT_EQ(Column(1), (Lines{"两行 文本", "李四"}));
  EXPECT_EQ(Column(2), (Lines{"", "x"}));
  const std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(prompter_.shown()[0].focus, Answer::Ok) << "Enter on the reminder goes on with the import";
  EXPECT_NE(messages[1].find("第2行B列：#REF!"), std::string::npos) << messages[1];
  EXPECT_NE(messages[2].find("共2行。其中1个单元格"), std::string::npos) << messages[2];
}

TEST_F(WorkbookImportTest, ASheetWithoutRowsLeavesTheTable) {
  Fill({"keep"});
  testing::HandXlsx book;
  book.sheets = {{"空", testing::Worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>姓名</t></is></c></row>)")}};
  book.targets = {"worksheets/sheet1.xml"};
  const auto path = dir_.Root() / "header-only.xlsx";
  testing::WriteHandXlsx(QString::fromStdString(path.string()), book);
  ScriptStart(GbPath(path));
  EXPECT_FALSE(Editor().ImportWorkbook());
  EXPECT_EQ(Column(1), (Lines{"keep"}));
  EXPECT_FALSE(Editor().ListChanged());
  EXPECT_NE(Messages().back().find("中没有名单"), std::string::npos) << Messages().back();
}

// Cancel, "否", an unreadable file and a cancelled read all leave the table and the saved snapshot
// exactly as they were.
TEST_F(WorkbookImportTest, NothingChangesUnlessTheWholeSheetIsRead) {
  Fill({"keep", "me"});
  ASSERT_TRUE(Editor().Save());
  const ListTable before = Table();
  const std::string snapshot = Read(ProgramDir::kImDataDat);
  const std::string xlsx = StaffXlsx();

  prompter_.ScriptAnswer(Answer::Cancel);  // the reminder
  EXPECT_FALSE(Editor().ImportWorkbook());
  prompter_.ScriptAnswer(Answer::Ok);  // the file dialog cancelled
  EXPECT_FALSE(Editor().ImportWorkbook());
  ScriptStart(xlsx, 5);
  prompter_.ScriptAnswer(Answer::No);  // "输入的表格数不存在，是否要打开第一个表"
  EXPECT_FALSE(Editor().ImportWorkbook());
  prompter_.Clear();

  ScriptStart(Put("damaged.xlsx", std::string("PK\x03\x04garbage", 11)));
  EXPECT_FALSE(Editor().ImportWorkbook());
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages().back().rfind("请求数据失败", 0), 0u) << Messages().back();
  ScriptStart(GbPath(dir_.Root() / "missing.xlsx"));
  EXPECT_FALSE(Editor().ImportWorkbook());
  EXPECT_EQ(Messages().back().rfind("请求数据失败", 0), 0u) << Messages().back();
  prompter_.Clear();

  const std::atomic<bool> cancelled{true};
  ScriptStart(xlsx);
  EXPECT_FALSE(Editor().ImportWorkbook({}, &cancelled));
  EXPECT_EQ(Messages().size(), 1u) << "a cancel needs no message beyond the reminder";

  EXPECT_EQ(Table(), before);
  EXPECT_FALSE(Editor().ListChanged());
  EXPECT_EQ(Read(ProgramDir::kImDataDat), snapshot);
}

}  // namespace
}  // namespace kavrel::test
