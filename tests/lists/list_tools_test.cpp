#include "engine/random_source.h"
#include "list_fixture.h"

namespace kavrel::test {
namespace {

using Lines = std::vector<std::string>;

class Generator : public ListTest {
 protected:
  GeneratorInput Input(const char* start, const char* end) {
    GeneratorInput in;
    in.start = start;
    in.end = end;
    return in;
  }
};

TEST_F(Generator, PrefixAndZeroPaddingToTheCountsWidth) {
  GeneratorInput in = Input("1", "12");
  in.prefix = "A";
  ASSERT_TRUE(Editor().Generate(in));
  EXPECT_EQ(Column(1), (Lines{"A01", "A02", "A03", "A04", "A05", "A06", "A07", "A08", "A09", "A10", "A11", "A12"}));
  EXPECT_EQ(Column(0).back(), "12");
  EXPECT_EQ(ToQt(Table().Cell(0, 0)), QStringLiteral("序号"));
  EXPECT_EQ(ToQt(Table().Cell(0, 1)), QStringLiteral("抽奖名单"));
  EXPECT_EQ(ToQt(Editor().CountLine()), QStringLiteral("参与抽奖名单共：12个"));

  // Zero padding the operator typed is kept: 0001 … 0500, not 001 … 500.
  ASSERT_TRUE(Editor().Generate(Input("0001", "0500")));
  EXPECT_EQ(Column(1).front(), "0001");
  EXPECT_EQ(Column(1).back(), "0500");
}

TEST_F(Generator, ExclusionsAndTheSuffixQuestion) {
  GeneratorInput in = Input("1", "20");
  in.exclude4 = true;
  in.excludedLastDigits[3] = in.excludedLastDigits[7] = true;
  ASSERT_TRUE(Editor().Generate(in));
  EXPECT_EQ(Column(1), (Lines{"01", "02", "05", "06", "08", "09", "10", "11", "12", "15", "16", "18", "19", "20"}));
  EXPECT_TRUE(prompter_.shown().empty());

  // With a suffix the last-digit boxes cannot work: Cancel changes nothing, OK ignores them.
  const ListTable before = Table();
  in.suffix = "#";
  prompter_.ScriptAnswer(Answer::Cancel);
  EXPECT_FALSE(Editor().Generate(in));
  EXPECT_EQ(Table(), before);
  ASSERT_TRUE(Editor().Generate(in));
  EXPECT_EQ(Column(1).size(), 18u);  // only the 4s are gone
  EXPECT_EQ(Column(1)[2], "03#");
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0], "已设定生成后缀，勾选排除指定尾数将失效，点击【取消】进行修改！");
}

TEST_F(Generator, AppendingNumbersOnAndLongNumbersKeepTheirDigits) {
  Fill({"x", "y"});
  Table().SetCell(0, 1, Gb("名单"));
  GeneratorInput in = Input("95", "105");
  in.clearFirst = false;
  ASSERT_TRUE(Editor().Generate(in));
  const Lines col = Column(1);
  ASSERT_EQ(col.size(), 13u);
  EXPECT_EQ(col[2], "95");
  EXPECT_EQ(col[7], "100");
  EXPECT_EQ(col.back(), "105");
  EXPECT_EQ(Column(0).back(), "13");
  EXPECT_EQ(ToQt(Table().Cell(0, 1)), QStringLiteral("名单"));
}

TEST_F(Generator, AnAbsurdRangeIsRefusedBeforeAnythingIsBuilt) {
  Fill({"keep"});
  EXPECT_FALSE(Editor().Generate(Input("1", "99999999999")));
  EXPECT_EQ(Column(1), (Lines{"keep"}));
  EXPECT_EQ(Messages().size(), 1u);
}

class Tools : public ListTest {};

TEST_F(Tools, EqualLengthPaddingKeepsCharactersWhole) {
  Fill({"1002王小明", "1001张三", "123张三", ""});
  prompter_.ScriptInteger(4);
  prompter_.ScriptInteger(2);
  Editor().PadEqualLength();
  const Lines col = Column(1);
  EXPECT_EQ(col[0], "1002    王小明");
  EXPECT_EQ(col[1], "10  01张三");
  // Byte 4 falls inside 张: the cut moves back to its start instead of splitting it.
  EXPECT_EQ(col[2], "123    张三");
  EXPECT_EQ(Messages().back(), "转换完成！");

  prompter_.ScriptInteger(0);
  Editor().PadEqualLength();
  EXPECT_EQ(Messages().back(), "你输入的整数为：0，请输入大于0的整数");
}

TEST_F(Tools, TwoCharacterNamesOnly) {
  FillColumns({{"001", "张三"}, {"002", "王小明"}, {"003", "王"}, {"004", ""}});
  prompter_.ScriptInteger(3);
  Editor().PadTwoCharNames();
  EXPECT_EQ(Column(2), (Lines{"张  三", "王小明", "王", ""}));
  EXPECT_EQ(Column(1)[0], "001");
  prompter_.ScriptInteger(9);  // beyond the last column: nothing changes
  Editor().PadTwoCharNames();
  EXPECT_EQ(Column(2)[0], "张  三");
}

TEST_F(Tools, ShuffleRefusesSeveralColumnsAndKeepsRowNumbers) {
  FillColumns({{"1", "a"}, {"2", "b"}});
  Editor().Shuffle();
  EXPECT_EQ(Column(2), (Lines{"a", "b"}));
  EXPECT_NE(Messages().back().find("打乱仅对"), std::string::npos);

  Table() = ListTable();
  ListTest::Fill({"a", "b", "c", "d", "e"});
  Editor().Shuffle();
  EXPECT_EQ(Column(0), (Lines{"1", "2", "3", "4", "5"}));
  Lines sorted = Column(1);
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (Lines{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(Messages().back(), "打乱完成！");
}

TEST_F(Tools, ShuffleGivesEveryOrderTheSameChance) {
  // Six orders of three entries, 6000 shuffles: chi-square with 5 degrees of freedom below 20.5
  // (p = 0.001).
  std::map<std::string, int> seen;
  FakeClock clock;
  RandomSource random(clock);
  for (int i = 0; i < 6000; ++i) {
    ListTable t;
    FillFromLines(t, {"a", "b", "c"});
    clock.ms += 7;
    random.SeedFromClock();
    ShuffleColumn(t, random);
    ++seen[t.Cell(1, 1) + t.Cell(2, 1) + t.Cell(3, 1)];
  }
  ASSERT_EQ(seen.size(), 6u);
  double chi = 0;
  for (const auto& [order, n] : seen) chi += (n - 1000.0) * (n - 1000.0) / 1000.0;
  EXPECT_LT(chi, 20.5);

  // In a long list every row can be a swap partner, also those beyond 32,768.
  std::vector<std::string> lines;
  for (int i = 1; i <= 40000; ++i) lines.push_back(std::to_string(i));
  ListTable big;
  FillFromLines(big, lines);
  random.Seed(12345);
  ShuffleColumn(big, random);
  int firstAt = 0;
  for (int r = 1; r <= 40000; ++r)
    if (big.Cell(r, 1) == "1") firstAt = r;
  bool farRowsMoved = false;
  for (int r = 32769; r <= 40000 && !farRowsMoved; ++r) farRowsMoved = big.Cell(r, 1) != std::to_string(r);
  EXPECT_GT(firstAt, 0);
  EXPECT_TRUE(farRowsMoved);
  int lateEntryEarly = 0;
  for (int r = 1; r <= 1000; ++r) lateEntryEarly += std::stoi(big.Cell(r, 1)) > 32768 ? 1 : 0;
  EXPECT_GT(lateEntryEarly, 100);  // about 180 expected
}

TEST_F(Tools, BlankAndDuplicateRows) {
  Fill({"a", "", "b", "0", "c"});
  Editor().DeleteBlankRows();
  EXPECT_EQ(Column(1), (Lines{"a", "b", "c"}));
  EXPECT_EQ(Column(0), (Lines{"1", "2", "3"}));
  EXPECT_EQ(Messages(), (Lines{"已删除：2个空白行"}));
  // Now the table has unsaved changes: it is saved first; with nothing blank nothing is reported.
  Editor().DeleteBlankRows();
  EXPECT_EQ(Messages().back(), "抽奖名单已改变，请先保存再进行删除，按‘确认’保存！");
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Read(ProgramDir::kSetDat), "a\r\nb\r\nc\r\n");

  Fill({"a", "b", "a", "0", "c", "b", "0", ""});
  Editor().DeleteDuplicateRows();
  EXPECT_EQ(Column(1), (Lines{"a", "b", "0", "c", "0", ""}));
  EXPECT_EQ(Messages().back(), "共找到：2个重复行，删除重复后剩余：6个有效名单！");
}

TEST_F(Tools, DuplicatesAreWholeRows) {
  // Blanks around a cell or full-width blanks make no other person; a blank inside a name does.
  FillColumns(
      {{"001", "张伟"}, {"002", "张伟"}, {"001 ", "张伟　"}, {"0", ""}, {"0", " "}, {"003", "张 伟"}, {"003", "张伟"}});
  EXPECT_EQ(DeleteDuplicateRows(Table()), 1);
  EXPECT_EQ(Column(1), (Lines{"001", "002", "0", "0", "003", "003"}));
  EXPECT_EQ(Column(0), (Lines{"1", "2", "3", "4", "5", "6"}));
  ListTable empty;
  EXPECT_EQ(DeleteDuplicateRows(empty), 0);
  EXPECT_EQ(DeleteBlankRows(empty), 0);
}

TEST_F(Tools, FindWalksDownAndStartsAgainAfterTheEnd) {
  FillColumns({{"1", "张 三"}, {"2", "李四"}, {"3", "张伟"}});
  prompter_.ScriptText(Gb("张"));
  prompter_.ScriptInteger(3);
  EXPECT_EQ(Editor().Find(), 1);  // spaces are ignored in the cell
  EXPECT_EQ(Editor().Find(), 3);
  EXPECT_EQ(Editor().Find(), std::nullopt);
  EXPECT_EQ(Messages().back(), "未查找到【张】");
  // The search ended: the next find asks again. A cancelled box searches for any non-empty cell.
  const std::size_t boxes = prompter_.shown().size();
  EXPECT_EQ(Editor().Find(), 1);
  EXPECT_EQ(prompter_.shown().size(), boxes + 1);

  // A column the table does not have is refused.
  find_ = {};
  prompter_.ScriptText(Gb("李"));
  prompter_.ScriptInteger(7);
  EXPECT_EQ(Editor().Find(), std::nullopt);
  EXPECT_EQ(Messages().back(), "你输入的整数为：7，请输入1到3之间的整数");

  // Matches only at character boundaries: "\xD5\xC5" inside two other characters is no 张.
  ListTable t;
  FillFromLines(t, {"\xB0\xD5\xC5\xB0"});
  FindState state{Gb("张"), 0, 1};
  EXPECT_EQ(FindNextRow(t, state), std::nullopt);
  ListTable empty;
  EXPECT_EQ(FindNextRow(empty, state), std::nullopt);
}

TEST_F(Tools, CopyAndPaste) {
  FillColumns({{"a", "b"}, {"c", "d"}});
  EXPECT_EQ(CopyCells(Table(), 1, 1, 2, 2), "a\tb\r\nc\td");
  EXPECT_TRUE(PasteCells(Table(), 2, 1, "x,y,z\r\nw\n"));
  EXPECT_EQ(Column(1), (Lines{"a", "x"}));
  EXPECT_EQ(Column(2), (Lines{"b", "y"}));  // z and w fall outside the table
}

}  // namespace
}  // namespace kavrel::test

namespace kavrel::test {
namespace {

class Sheet : public ListTest {};

TEST_F(Sheet, AWorksheetFillsDataColumnsBesideFreshRowNumbers) {
  Editor().ImportSheet({Gb("工号"), Gb("姓名"), Gb("部门")}, {{"1007", Gb("张伟"), "A"}, {"1003", Gb("李娜")}});
  EXPECT_EQ(Table().ColumnCount(), 4);
  EXPECT_EQ(ToQt(Table().Cell(0, 0)), QStringLiteral("序号"));
  EXPECT_EQ(ToQt(Table().Cell(0, 1)), QStringLiteral("工号"));
  EXPECT_EQ(ToQt(Table().Cell(0, 3)), QStringLiteral("部门"));
  // The sheet's column A keeps its staff numbers; the row numbers are the table's own.
  EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"1007", "1003"}));
  EXPECT_EQ(Column(3), (std::vector<std::string>{"A", ""}));
  EXPECT_EQ(Table().FormatAt(0, 3).colour, 0x0000FFu);
  EXPECT_EQ(Table().FormatAt(2, 1).align, CellAlign::Centre);
  EXPECT_EQ(Table().FormatAt(2, 0).align, CellAlign::Right);
  EXPECT_EQ(Table().FormatAt(0, 0).bold, true);
  EXPECT_FALSE(Table().FormatAt(1, 1).face.has_value());
  EXPECT_TRUE(Editor().ListChanged());
  // Renumbering tools leave the sheet's first column alone.
  EXPECT_EQ(DeleteDuplicateRows(Table()), 0);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"1007", "1003"}));
  // Several columns: the save asks which to show.
  prompter_.ScriptText("3-4");
  ASSERT_TRUE(Editor().Save());
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("张伟  A  \r\n李娜    \r\n"));
}

TEST_F(Sheet, AHeaderOnlySheetOrARowWiderThanTheHeaderKeepsEveryCell) {
  Editor().ImportSheet({Gb("姓名")}, {});
  EXPECT_EQ(Table().ColumnCount(), 2);
  EXPECT_EQ(Table().DataRowCount(), 0);
  EXPECT_EQ(ToQt(Table().Cell(0, 1)), QStringLiteral("姓名"));
  Editor().ImportSheet({"a"}, {{"x", "y"}});
  EXPECT_EQ(Table().ColumnCount(), 3);
  EXPECT_EQ(Table().Cell(1, 2), "y");
  EXPECT_EQ(Table().Cell(0, 2), "");
}

TEST_F(Sheet, EveryToolCopesWithAnEmptyAndAOneRowTable) {
  for (const std::vector<std::string>& rows : {std::vector<std::string>{}, std::vector<std::string>{"x"}}) {
    Table() = ListTable();
    Fill(rows);
    prompter_.ScriptInteger(1);
    prompter_.ScriptInteger(1);
    Editor().PadEqualLength();
    prompter_.ScriptInteger(2);
    Editor().PadTwoCharNames();
    Editor().Shuffle();
    Editor().DeleteBlankRows();
    Editor().DeleteDuplicateRows();
    find_ = {};
    Editor().Find();
    ASSERT_TRUE(Editor().Save());
    EXPECT_EQ(Table().DataRowCount(), static_cast<int>(rows.size()));
  }
  EXPECT_EQ(Read(ProgramDir::kSetDat), " x \r\n");  // padded with one space at byte 1 and 6 before the end
}

}  // namespace
}  // namespace kavrel::test
