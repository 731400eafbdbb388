#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "lists/workbook/workbook_import.h"
#include "storage/codec.h"
#include "support/fakes/scripted_prompter.h"
#include "workbook_fixtures.h"

namespace kavrel {
namespace {

using ::testing::ElementsAre;
using testing::Utf8;
using Kind = ScriptedPrompter::Shown::Kind;

const char* kReminder =
    "导入excel，当数据量较大时导入速度较慢，请根据进度条进度耐心等待，或者根据txt格式模板转成txt格式上传。";
const char* kNoSuchSheet = "输入的表格数不存在，是否要打开第一个表";

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::HandXlsx book;
    book.sheets = {
        {"一", testing::Worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>序</t></is></c></row>)"
                                  R"(<row r="2"><c r="A2"><v>1</v></c></row>)")},
        {"二",
         testing::Worksheet(
             R"(<row r="1"><c r="A1" t="inlineStr"><is><t>工号</t></is></c>)"
             R"(<c r="B1" t="inlineStr"><is><t>姓名</t></is></c><c r="D1" t="inlineStr"><is><t>身份证</t></is></c></row>)"
             R"(<row r="2"><c r="A2"><v>7</v></c><c r="B2" t="inlineStr"><is><t>张三</t></is></c>)"
             R"(<c r="D2"><v>1.1010119900101101E+17</v></c></row>)"
             R"(<row r="4"><c r="B4" t="inlineStr"><is><t>李四</t></is></c></row>)")}};
    book.targets = {"worksheets/sheet1.xml", "worksheets/sheet2.xml"};
    path_ = dir_.filePath(QStringLiteral("两个表.xlsx"));
    testing::WriteHandXlsx(path_, book);
  }

  std::string GbPath() const { return FromQt(path_); }

  QTemporaryDir dir_;
  QString path_;
  ScriptedPrompter prompter_;
};

// The whole sequence as the list editor runs it: reminder, file dialog, sheet box, read.
TEST_F(ImportTest, SecondSheetOfTwoComesInWithHeaderAndDataRows) {
  prompter_.ScriptAnswer(Answer::Ok);
  prompter_.ScriptPath(GbPath());
  prompter_.ScriptInteger(2);
  prompter_.ScriptAnswer(Answer::Ok);  // the long-number warning
  WorkbookImport import(prompter_);
  const auto result = import.Run();
  ASSERT_TRUE(result.has_value());
  EXPECT_TRUE(result->ok);
  EXPECT_EQ(Utf8(result->sheetName), "二");
  // The sheet's column A is the first data column: the header and each row carry the sheet's
  // own columns, and the window puts row numbers in front.
  ASSERT_EQ(result->header.size(), 4u);
  EXPECT_EQ(Utf8(result->header[0]), "工号");
  EXPECT_EQ(Utf8(result->header[1]), "姓名");
  EXPECT_EQ(result->header[2], "");
  // Rows end at their last cell (the table fills the rest): no grid as wide as the widest row.
  ASSERT_EQ(result->rows.size(), 3u);
  EXPECT_THAT(result->rows[0], ElementsAre("7", Gb("张三"), "", "110101199001011000"));
  EXPECT_THAT(result->rows[1], ::testing::IsEmpty());
  EXPECT_THAT(result->rows[2], ElementsAre("", Gb("李四")));

  const auto& shown = prompter_.shown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(Utf8(shown[0].text), kReminder);
  EXPECT_EQ(Utf8(shown[0].caption), "导入提醒：");
  EXPECT_EQ(shown[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(shown[0].icon, Icon::Question);
  EXPECT_EQ(shown[1].kind, Kind::PickOpenFile);
  EXPECT_EQ(Utf8(shown[1].text),
            "Excel文件(*.xlsx *.xls *.xlsm);;OpenDocument(*.ods);;CSV(*.csv);;文本文件(*.txt);;所有文件(*)");
  EXPECT_EQ(shown[2].kind, Kind::InputInteger);
  EXPECT_EQ(Utf8(shown[2].text), "打开的excel文件有2个表，请输入要导入的表数（第一个表为1，第二个表为2，以此类推……）");
  EXPECT_EQ(Utf8(shown[2].caption), "请输入要导入的表格");
  // One warning naming the column whose numbers lost digits.
  EXPECT_EQ(shown[3].kind, Kind::Message);
  EXPECT_EQ(Utf8(shown[3].text).rfind("D列“身份证”中有超过15位的数字", 0), 0u) << Utf8(shown[3].text);
}

TEST_F(ImportTest, SheetNumberPastTheEndAsksForTheFirstSheet) {
  WorkbookImport import(prompter_);
  // "是" opens the first sheet.
  prompter_.ScriptInteger(5);
  prompter_.ScriptAnswer(Answer::Yes);
  EXPECT_EQ(import.ChooseSheet(GbPath()), 0);
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(Utf8(prompter_.shown()[1].text), kNoSuchSheet);
  EXPECT_EQ(Utf8(prompter_.shown()[1].caption), "信息：");
  EXPECT_EQ(prompter_.shown()[1].buttons, Buttons::YesNo);
  EXPECT_EQ(prompter_.shown()[1].icon, Icon::None);

  // "否" ends the import; 0 names no sheet either.
  prompter_.ScriptInteger(0);
  prompter_.ScriptAnswer(Answer::No);
  EXPECT_EQ(import.ChooseSheet(GbPath()), std::nullopt);
  EXPECT_EQ(Utf8(prompter_.MessageTexts().back()), kNoSuchSheet);

  // A cancelled box means sheet 1.
  prompter_.Clear();
  prompter_.ScriptInteger(std::nullopt);
  EXPECT_EQ(import.ChooseSheet(GbPath()), 0);
  EXPECT_EQ(prompter_.shown().size(), 1u);
}

// Cancel, "否" and an unreadable file leave the table alone: Run gives nothing to put in it.
TEST_F(ImportTest, NothingChangesWhenTheImportDoesNotComplete) {
  WorkbookImport import(prompter_);
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_EQ(import.Run(), std::nullopt);
  EXPECT_EQ(prompter_.shown().size(), 1u) << "no file dialog after Cancel";

  prompter_.Clear();
  prompter_.ScriptAnswer(Answer::Ok);
  prompter_.ScriptPath(std::nullopt);
  EXPECT_EQ(import.Run(), std::nullopt);

  prompter_.Clear();
  const QString damaged = dir_.filePath(QStringLiteral("坏.xlsx"));
  testing::WriteBytes(damaged, "PK\x03\x04 broken");
  prompter_.ScriptAnswer(Answer::Ok);
  prompter_.ScriptPath(FromQt(damaged));
  EXPECT_EQ(import.Run(), std::nullopt);
  ASSERT_EQ(prompter_.shown().size(), 3u);
  const auto& failure = prompter_.shown()[2];
  EXPECT_EQ(Utf8(failure.text).rfind("请求数据失败\n文件已损坏", 0), 0u) << Utf8(failure.text);
  EXPECT_EQ(Utf8(failure.caption), "信息：");
  EXPECT_EQ(failure.buttons, Buttons::Ok);
  EXPECT_EQ(failure.icon, Icon::Error);

  // A read cancelled on the worker thread shows nothing and changes nothing.
  std::atomic<bool> cancel{true};
  const ImportedSheet cancelled = WorkbookImport::ReadSheet(GbPath(), 1, {}, &cancel);
  EXPECT_FALSE(cancelled.ok);
  EXPECT_TRUE(cancelled.cancelled);
  prompter_.Clear();
  import.ReportOutcome(cancelled);
  EXPECT_TRUE(prompter_.shown().empty());
}

// A sheet without a single name below its first row would empty the table: it is not taken, and
// the operator is told why instead of the failure message.
// People a filter hid and headings merged across the columns are asked about, each kind once; the
// focused answer leaves them out.
TEST_F(ImportTest, HiddenRowsAndHeadingsAreAskedAboutAndLeftOutUnlessKept) {
  testing::HandXlsx book;
  book.sheets = {
      {"名单", R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
               R"(<row r="1"><c r="A1" t="inlineStr"><is><t>工号</t></is></c>)"
               R"(<c r="B1" t="inlineStr"><is><t>姓名</t></is></c></row>)"
               R"(<row r="2"><c r="A2" t="inlineStr"><is><t>研发部</t></is></c></row>)"
               R"(<row r="3"><c r="A3"><v>1</v></c><c r="B3" t="inlineStr"><is><t>张三</t></is></c></row>)"
               R"(<row r="4" hidden="1"><c r="A4"><v>2</v></c><c r="B4" t="inlineStr"><is><t>李四</t></is></c></row>)"
               R"(<row r="5"><c r="A5"><v>3</v></c><c r="B5" t="e"><v>#REF!</v></c></row>)"
               R"(</sheetData><mergeCells><mergeCell ref="A2:B2"/></mergeCells></worksheet>)"}};
  book.targets = {"worksheets/sheet1.xml"};
  const QString path = dir_.filePath(QStringLiteral("筛选.xlsx"));
  testing::WriteHandXlsx(path, book);
  const auto names = [](const ImportedSheet& sheet) {
    std::vector<std::string> out;
    for (const auto& row : sheet.rows) out.push_back(row.size() > 1 ? Utf8(row[1]) : "");
    return out;
  };

  ImportedSheet result = WorkbookImport::ReadSheet(FromQt(path), 0, {}, nullptr);
  ASSERT_TRUE(result.ok);
  prompter_.ScriptAnswer(Answer::No);  // the error cell stays as it is
  prompter_.ScriptAnswer(Answer::No);
  prompter_.ScriptAnswer(Answer::No);
  WorkbookImport(prompter_).AskAboutSheet(result);
  ASSERT_EQ(prompter_.shown().size(), 3u);
  EXPECT_EQ(Utf8(prompter_.shown()[0].text).rfind("表格中有1个单元格是公式的错误值", 0), 0u);
  const auto& hidden = prompter_.shown()[1];
  EXPECT_EQ(Utf8(hidden.text),
            "表格中有1行被筛选隐藏（在Excel中看不到，例如筛选掉的离职人员）：\n第4行：2  李四\n\n"
            "按【是】导入这些行，按【否】不导入（推荐）。");
  EXPECT_EQ(hidden.focus, Answer::No);
  const auto& heading = prompter_.shown()[2];
  EXPECT_EQ(Utf8(heading.text)
                .rfind("表格中有1行是跨列合并的一个单元格，像是标题或分组名称（如部门名），不像是人名："
                       "\n第2行：研发部\n",
                       0),
            0u)
      << Utf8(heading.text);
  EXPECT_EQ(heading.focus, Answer::No);
  EXPECT_THAT(names(result), ElementsAre("张三", "#REF!"));
  EXPECT_EQ(result.rowCount, 2u);

  prompter_.Clear();
  result = WorkbookImport::ReadSheet(FromQt(path), 0, {}, nullptr);
  prompter_.ScriptAnswer(Answer::Yes);  // the error cell is emptied
  prompter_.ScriptAnswer(Answer::Yes);  // the hidden row is imported
  prompter_.ScriptAnswer(Answer::No);
  WorkbookImport(prompter_).AskAboutSheet(result);
  EXPECT_THAT(names(result), ElementsAre("张三", "李四", ""));
}

TEST_F(ImportTest, AnEmptySheetIsNotTakenAndSaysSo) {
  const QString empty = dir_.filePath(QStringLiteral("empty.csv"));
  testing::WriteBytes(empty, "");
  const ImportedSheet result = WorkbookImport::ReadSheet(FromQt(empty), 0, {}, nullptr);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.empty);
  WorkbookImport(prompter_).ReportOutcome(result);
  ASSERT_EQ(prompter_.MessageTexts().size(), 1u);
  EXPECT_EQ(Utf8(prompter_.MessageTexts()[0]), "工作表“empty”中没有名单（第一行以下没有任何内容），表格没有改变。");
}

}  // namespace
}  // namespace kavrel
