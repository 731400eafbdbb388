#include "list_fixture.h"

namespace kavrel::test {
namespace {

class CloseAndEdit : public ListTest {};

TEST_F(CloseAndEdit, CloseQuestions) {
  EXPECT_TRUE(Editor().CloseRequested());  // nothing changed: no question
  EXPECT_TRUE(prompter_.shown().empty());

  ASSERT_TRUE(Editor().ImportTextFile(Put("l.txt", "a\r\n")));
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().CloseRequested());
  EXPECT_EQ(Messages().back(), "抽奖名单已改变，是否需要保存？");
  EXPECT_EQ(prompter_.shown().back().buttons, Buttons::YesNoCancel);

  // 是 followed by 取消 at the restart question: nothing saved, the window stays, the change stays marked.
  editor_.reset();  // opened again during a draw
  drawUnderWay_ = true;
  ASSERT_TRUE(Editor().ImportTextFile(Put("l.txt", "a\r\n")));
  prompter_.ScriptAnswer(Answer::Yes);
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().CloseRequested());
  EXPECT_TRUE(Editor().ListChanged());
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));

  prompter_.ScriptAnswer(Answer::Yes);
  prompter_.ScriptAnswer(Answer::Ok);
  EXPECT_TRUE(Editor().CloseRequested());
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\n");
  EXPECT_TRUE(Editor().RestartRequested());
}

TEST_F(CloseAndEdit, NoAtTheCloseQuestionDropsTheChanges) {
  ASSERT_TRUE(Editor().ImportTextFile(Put("l.txt", "a\r\n")));
  prompter_.ScriptAnswer(Answer::No);
  EXPECT_TRUE(Editor().CloseRequested());
  EXPECT_FALSE(Editor().ListChanged());
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
}

TEST_F(CloseAndEdit, EditGuard) {
  Fill({"a", "b"});
  EXPECT_FALSE(Editor().BeginCellEdit(0, 1));  // header
  EXPECT_FALSE(Editor().BeginCellEdit(1, 0));  // row numbers
  EXPECT_FALSE(Editor().BeginCellEdit(3, 1));  // beyond the table

  // 否 puts the old text back.
  ASSERT_TRUE(Editor().BeginCellEdit(2, 1));
  Table().SetCell(2, 1, "changed");
  prompter_.ScriptAnswer(Answer::No);
  Editor().EndCellEdit(2, 1);
  EXPECT_EQ(Table().Cell(2, 1), "b");
  EXPECT_EQ(Messages().back(), "抽奖名单已改变，请先保存，按‘是’保存，按‘否’退出本次操作！");
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));

  // 是 saves the whole list with the new text.
  ASSERT_TRUE(Editor().BeginCellEdit(2, 1));
  Table().SetCell(2, 1, "c");
  Editor().EndCellEdit(2, 1);
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\nc\r\n");
  EXPECT_FALSE(Editor().ListChanged());

  // An unchanged text asks nothing; unsaved changes are saved before an edit begins.
  const std::size_t shown = prompter_.shown().size();
  ASSERT_TRUE(Editor().BeginCellEdit(1, 1));
  Editor().EndCellEdit(1, 1);
  EXPECT_EQ(prompter_.shown().size(), shown);
  Editor().Paste(1, 1, "z");
  ASSERT_TRUE(Editor().BeginCellEdit(1, 1));
  EXPECT_EQ(Messages().back(), "抽奖名单已改变，请先保存再进行编辑，按‘确认’保存！");
  EXPECT_EQ(Read(ProgramDir::kSetDat), "z\r\nc\r\n");
}

TEST_F(CloseAndEdit, ClearingAsksAndWritesNothing) {
  Fill({"a"});
  ASSERT_TRUE(Editor().Save());
  const std::string snapshot = Read(ProgramDir::kImDataDat);
  prompter_.ScriptAnswer(Answer::Cancel);
  Editor().ClearAllAsked();
  EXPECT_EQ(Table().DataRowCount(), 1);
  Editor().ClearAllAsked();
  EXPECT_EQ(Table(), ListTable());
  EXPECT_TRUE(Editor().ListChanged());
  EXPECT_EQ(Read(ProgramDir::kImDataDat), snapshot);
  EXPECT_EQ(ToQt(Editor().CountLine()), QStringLiteral("还未导入任何数据"));
}

TEST_F(CloseAndEdit, DeleteRowRenumbers) {
  Fill({"a", "b", "c"});
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().DeleteRowAsked(2));
  EXPECT_TRUE(Editor().DeleteRowAsked(2));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Messages().back(), "确定要删除当前行的内容吗？");
  EXPECT_FALSE(Editor().DeleteRowAsked(5));
}

class Opening : public ListTest {
 protected:
  std::unique_ptr<ListEditor> Reopened() {
    auto editor =
        std::make_unique<ListEditor>(ListEditorContext{dir_, prompter_, clock_, drawUnderWay_, find_}, runner_);
    editor->Open();
    return editor;
  }
};

// A list prepared by hand in config\set.dat, as the manual describes, is what the editor shows;
// a save from it then keeps the people instead of writing an empty list.
TEST_F(Opening, WithoutASavedTableTheDrawsListIsShown) {
  ASSERT_TRUE(WriteTextFile(dir_.Path(ProgramDir::kSetDat), Gb("张三\r\n李四\r\n")));
  Editor().Open();
  EXPECT_EQ(Column(1), (std::vector<std::string>{"张三", "李四"}));
  EXPECT_EQ(ToQt(Editor().CountLine()), QStringLiteral("参与抽奖名单共：2个"));
  EXPECT_FALSE(Editor().ListChanged());
  EXPECT_TRUE(prompter_.shown().empty());

  // Shown as the draw reads it ("-" as "－", a TAB as a space), and said once, as a save keeps it so.
  ASSERT_TRUE(WriteTextFile(dir_.Path(ProgramDir::kSetDat), Gb("138-1234\t张三\r\n李四\r\n")));
  auto editor = Reopened();
  EXPECT_EQ(editor->Table().Cell(1, 1), Gb("138－1234 张三"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(
      Messages()[0],
      "抽奖名单(config\\set.dat)中有1个条目中的“-”显示为全角的“－”（中奖结果文件用“-”分隔字段）；"
      "1个条目中的制表符或换行符显示为空格（一行是一个条目）。抽奖时也是这样读的，保存时按表格中显示的样子保存。");
}

// A kill between the two writes of a save (or a list replaced by hand) leaves a table and a list
// that disagree: the operator is told and picks which to show; either way closing asks to save.
TEST_F(Opening, ATableAndAListThatDisagreeAreTold) {
  Fill({"a", "b", "c"});
  ASSERT_TRUE(Editor().Save());
  EXPECT_TRUE(Reopened()->Table() == Table() && prompter_.shown().empty()) << "a saved pair opens quietly";

  ASSERT_TRUE(WriteTextFile(dir_.Path(ProgramDir::kSetDat), "x\r\n"));
  prompter_.ScriptAnswer(Answer::Yes);
  auto editor = Reopened();
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].focus, Answer::Yes);
  EXPECT_NE(Messages()[0].find("共3行)与抽奖使用的名单(config\\set.dat，共1个)不一致"), std::string::npos)
      << Messages()[0];
  EXPECT_EQ(editor->Table().Cell(1, 1), "x");
  EXPECT_TRUE(editor->ListChanged());

  prompter_.ScriptAnswer(Answer::No);
  editor = Reopened();
  EXPECT_EQ(editor->Table().DataRowCount(), 3);
  EXPECT_TRUE(editor->ListChanged());
}

}  // namespace
}  // namespace kavrel::test
