#include "list_fixture.h"
#include "storage/draw_history.h"
#include "storage/participant_store.h"

namespace kavrel::test {
namespace {

class Save : public ListTest {
 protected:
  // Saves a 张/李 table of two data columns with the given answers to the column question.
  std::string SavedWith(std::initializer_list<std::optional<std::string>> answers) {
    FillColumns({{"001", "张伟"}, {"002", "李娜"}});
    for (const auto& a : answers) prompter_.ScriptText(a);
    EXPECT_TRUE(Editor().Save());
    return Read(ProgramDir::kSetDat);
  }
};

TEST_F(Save, OneDataColumnNeedsNoQuestion) {
  Fill({"a", "", "b"});
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\n\r\nb\r\n");
  EXPECT_TRUE(prompter_.shown().empty());
  EXPECT_FALSE(Editor().ListChanged());
}

TEST_F(Save, EmptyTableWritesAnEmptyList) {
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), "");
  EXPECT_TRUE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  ListEditor reopened(ListEditorContext{dir_, prompter_, clock_, drawUnderWay_, find_}, runner_);
  reopened.Open();
  EXPECT_EQ(reopened.Table(), ListTable());
}

TEST_F(Save, DisplayColumnAnswers) {
  const std::string zhang = Gb("张伟"), li = Gb("李娜");
  EXPECT_EQ(SavedWith({"2-3"}), "001  " + zhang + "  \r\n002  " + li + "  \r\n");
}

TEST_F(Save, CancelledQuestionShowsTheFirstDataColumn) {
  EXPECT_EQ(SavedWith({std::nullopt}), "001  \r\n002  \r\n");
  EXPECT_EQ(ToQt(prompter_.shown().front().caption), QStringLiteral("操作提示："));
}

TEST_F(Save, TheRowNumberColumnCanBeShown) {
  EXPECT_EQ(SavedWith({"1-2"}), "1  001  \r\n2  002  \r\n");
}

TEST_F(Save, NumbersBeyondTheTableAreSkipped) {
  EXPECT_EQ(SavedWith({"2-7"}), "001  \r\n002  \r\n");
}

TEST_F(Save, ZeroIsSkipped) {
  EXPECT_EQ(SavedWith({"0-2"}), "001  \r\n002  \r\n");
}

TEST_F(Save, AnAnswerNamingNoColumnAsksAgainWithTheValidRange) {
  EXPECT_EQ(SavedWith({"", "0", "34", "3"}), Gb("张伟") + "  \r\n" + Gb("李娜") + "  \r\n");
  ASSERT_EQ(prompter_.shown().size(), 4u);
  EXPECT_NE(ToQt(prompter_.shown()[1].text).indexOf(QStringLiteral("请输入1到3之间的列数")), -1);
}

TEST_F(Save, NinePastThreeDataColumns) {
  FillColumns({{"a", "b", "c"}});
  prompter_.ScriptText("2-9");
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a  \r\n");
}

TEST_F(Save, DashesAreReplacedOnlyWhenTheUserAgrees) {
  Fill({"A-1", "B"});
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().Save());
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kImDataDat)));
  EXPECT_NE(Messages().back().find("第1行：A-1"), std::string::npos);

  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat),
            "A\xA3\xAD"
            "1\r\nB\r\n");
  EXPECT_EQ(Table().Cell(1, 1),
            "A\xA3\xAD"
            "1");
}

TEST_F(Save, RestartQuestionAndAutomaticDeduplication) {
  drawUnderWay_ = true;
  Fill({"a", "a", "b"});
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().Save());
  EXPECT_FALSE(Editor().RestartRequested()) << "Cancel keeps the running draw";
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  EXPECT_EQ(Messages().back(), "是否要重新开始抽奖(所有奖项和名单都将回到奖池)？");
  EXPECT_EQ(prompter_.shown().back().caption, Gb("提示信息："));

  ASSERT_TRUE(Editor().Save());
  EXPECT_TRUE(Editor().RestartRequested()) << "the caller restarts the draw from the saved list";
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\nb\r\n");
  EXPECT_EQ(Messages().back().rfind("表格中有1个重复行", 0), 0u) << Messages().back();

  // Asked once: the next save belongs to the restart already agreed to.
  const std::size_t asked = prompter_.shown().size();
  Editor().SetAutoDedupe(false);
  Fill({"a", "a"});
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(prompter_.shown().size(), asked) << "no second restart question";
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\na\r\n");
}

// A real second 张伟 is somebody: the save lists the duplicates and removes them only when told.
TEST_F(Save, DuplicatesAreShownFirstAndRemovedOnlyWhenTheOperatorSaysSo) {
  Fill({"张伟", "李娜", "张伟"});
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().Save());
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(prompter_.shown()[0].focus, Answer::No) << "Enter keeps everybody";
  EXPECT_NE(Messages()[0].find("第3行：张伟（同第1行）"), std::string::npos) << Messages()[0];

  prompter_.ScriptAnswer(Answer::No);
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("张伟\r\n李娜\r\n张伟\r\n"));
  EXPECT_EQ(Table().DataRowCount(), 3);

  prompter_.ScriptAnswer(Answer::Yes);
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("张伟\r\n李娜\r\n"));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
}

// One table row is one person: a line break or TAB in a cell (a CSV field with a newline, an
// Excel cell with Alt+Enter) would otherwise add a phantom participant who can win.
TEST_F(Save, ALineBreakOrTabInACellNeverMakesASecondEntry) {
  FillColumns({{"两行\n文本", "A\r\nB"}, {"x\ty", "z\u2028w\rv"}});
  prompter_.ScriptText("2-3");
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("两行 文本  A B  \r\nx y  z w v  \r\n"));
  EXPECT_EQ(LoadPool(dir_)->size(), 2u);
}

// Saving nothing over a list asks first, and every list the editor replaces is kept in history/.
TEST_F(Save, AnEmptyTableOverAListAsksAndAReplacedListIsKept) {
  Fill({"a", "b"});
  ASSERT_TRUE(Editor().Save());
  EXPECT_TRUE(ListHistoryFolders(dir_).empty()) << "there was no list to keep";
  Editor().ClearAllAsked();
  prompter_.Clear();
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\nb\r\n");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("现有2个"), std::string::npos) << Messages()[0];
  EXPECT_EQ(prompter_.shown()[0].buttons, Buttons::OkCancel);

  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), "");
  const auto kept = ListHistoryFolders(dir_);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadTextFile(kept[0] / "set.dat"), "a\r\nb\r\n");
}

TEST_F(Save, AFailedWriteIsReportedAndKeepsTheOldFiles) {
  Fill({"old"});
  ASSERT_TRUE(Editor().Save());
  // set.dat cannot be replaced while a folder stands in its place.
  std::filesystem::remove(dir_.Path(ProgramDir::kSetDat));
  std::filesystem::create_directory(dir_.Path(ProgramDir::kSetDat));
  Fill({"new"});
  Editor().Paste(1, 1, "newer");
  EXPECT_FALSE(Editor().Save());
  EXPECT_TRUE(Editor().ListChanged());
  EXPECT_NE(Messages().back().find("保存失败：无法写入config\\set.dat"), std::string::npos);
}

}  // namespace
}  // namespace kavrel::test
