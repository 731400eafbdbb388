#include "settings/award_group_editor.h"

#include <algorithm>

#include "../engine/engine_fixture.h"

namespace kavrel {
namespace {

class AwardGroupEditorTest : public EngineFixture {
 protected:
  void SetUp() override {
    WriteList(100);
    WritePlan({"三等奖,10,2,1,5,奖品：MP4一部,,", "三等奖,10,2,2,5,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本,,"});
    ctl().StartUp();
  }
  // "确定", and the draw taking the rows chosen, as the stage hands them on.
  bool Confirm(AwardGroupEditor& editor) {
    if (!editor.Confirm()) return false;
    SetAwardGroup(state, editor.ChosenRows());
    return true;
  }
  void ExpectTold(const char* text, const char* caption = "操作提示：") {
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown().back().text, U(text));
    EXPECT_EQ(prompter.shown().back().caption, U(caption));
    prompter.Clear();
  }
};

TEST_F(AwardGroupEditorTest, AddChecksComeInOrderAndBoundsMustLieInThePool) {
  AwardGroupEditor editor(state, true, prompter);
  EXPECT_EQ(editor.AwardItems(),
            (std::vector<std::string>{U("三等奖第1批(5名)"), U("三等奖第2批(5名)"), U("一等奖第1批(1名)")}));
  EXPECT_FALSE(editor.Enabled());
  EXPECT_FALSE(editor.CurrentGroup());

  EXPECT_FALSE(editor.Add(-1, "1", "20"));
  ExpectTold("请选择要设定分组的奖项！");
  EXPECT_FALSE(editor.Add(0, "", "20"));
  ExpectTold("请选择要设定分组的起始行！");
  EXPECT_FALSE(editor.Add(0, "1", ""));
  ExpectTold("请选择要设定分组的结束行！");
  for (const auto& [start, end] : {std::pair{"0", "20"}, {"1", "101"}, {"abc", "5"}}) {
    EXPECT_FALSE(editor.Add(0, start, end)) << start << ".." << end;
    ExpectTold("分组的起始行和结束行必须在第1行至第100行之间，请重新输入！");
  }
  EXPECT_FALSE(editor.CurrentGroup());

  // A start after the end is the same range, listed in order.
  ASSERT_TRUE(editor.Add(1, "100", "81"));
  EXPECT_EQ(editor.CurrentGroup()->ItemText(), U("三等奖第2批(5名)：81-100"));
  EXPECT_EQ(editor.RowsFor(1), (std::pair<std::string, std::string>{"81", "100"}));
  EXPECT_EQ(editor.RowsFor(0), (std::pair<std::string, std::string>{}));
  EXPECT_FALSE(editor.Add(0, "1", "20"));
  ExpectTold("已经设定奖项分组，请先完成抽奖后再进行设定奖项分组，以避免中奖名单重复！");

  EXPECT_FALSE(editor.Remove(false));
  ExpectTold("请选择要删除的已设定分组奖项！");
  ASSERT_TRUE(editor.Remove(true));
  EXPECT_TRUE(editor.Add(0, "1", "20"));

  // Without the box ticked OK applies nothing.
  EXPECT_TRUE(Confirm(editor));
  EXPECT_FALSE(state.groupActive);
}

TEST_F(AwardGroupEditorTest, AGroupLimitsExactlyTheNextRecordedBatch) {
  {
    AwardGroupEditor editor(state, true, prompter);
    editor.SetEnabled(true);
    // Too few rows for the next batch of 5: refused at OK, not at every later start.
    ASSERT_TRUE(editor.Add(0, "5", "7"));
    EXPECT_FALSE(Confirm(editor));
    ExpectTold("待抽奖名单人数不足(小于奖项设定人数)，请检查确认！", "奖名单人数不足提醒：");
    EXPECT_FALSE(state.groupActive);
    ASSERT_TRUE(editor.Remove(true));
    ASSERT_TRUE(editor.Add(0, "20", "1"));
    // A group narrower than the pool is taken only once the operator has read that the room will see it.
    prompter.ScriptAnswer(Answer::Cancel);
    EXPECT_FALSE(Confirm(editor));
    EXPECT_NE(prompter.shown().back().text.find(U("本批只从待抽名单的第1–20行（共20人）中抽取，而不是全部100人")),
              std::string::npos);
    EXPECT_FALSE(state.groupActive);
    ASSERT_TRUE(Confirm(editor));
  }
  EXPECT_TRUE(state.groupActive);
  EXPECT_EQ(state.groupStart, 1);
  EXPECT_EQ(state.groupEnd, 20);

  // An active group is shown when the window opens again, against the batch it will limit, and an
  // unchanged OK keeps it.
  {
    AwardGroupEditor editor(state, true, prompter);
    EXPECT_TRUE(editor.Enabled());
    ASSERT_TRUE(editor.CurrentGroup());
    EXPECT_EQ(editor.CurrentGroup()->ItemText(), U("三等奖第1批(5名)：1-20"));
    ASSERT_TRUE(Confirm(editor));
    EXPECT_TRUE(state.groupActive);
  }
  prompter.Clear();

  const std::vector<std::string> winners = Roll(50);
  ASSERT_EQ(winners.size(), 5u);
  for (const auto& w : winners) EXPECT_LE(w, std::string("020")) << w;
  EXPECT_FALSE(state.groupActive);
  EXPECT_TRUE(prompter.shown().empty());

  // The next batch draws from the whole pool again.
  ctl().StartPressed();
  ctl().StartPressed();
  ASSERT_EQ(state.phase, DrawPhase::Rolling);
  int highest = 0;
  for (int i = 0; i < 50; ++i) {
    Tick();
    for (int p : state.batchWinners) highest = std::max(highest, p);
  }
  EXPECT_GT(highest, 20);
}

TEST_F(AwardGroupEditorTest, OkWithoutAGroupEndsTheActiveOneAndRollingKeepsTheWindowShut) {
  state.groupActive = true;
  state.groupStart = 1;
  state.groupEnd = 30;
  {
    AwardGroupEditor editor(state, true, prompter);
    editor.SetEnabled(false);
    ASSERT_TRUE(Confirm(editor));
    EXPECT_FALSE(editor.Enabled());
    EXPECT_FALSE(state.groupActive);
  }
  state.groupActive = true;
  {
    AwardGroupEditor editor(state, true, prompter);
    ASSERT_TRUE(editor.Remove(true));
    ASSERT_TRUE(Confirm(editor));
    EXPECT_FALSE(state.groupActive);
  }
  // Reversed, the next batch is the plan's last line: a group of one row fits the 一等奖.
  {
    AwardGroupEditor editor(state, false, prompter);
    editor.SetEnabled(true);
    ASSERT_TRUE(editor.Add(2, "7", "7"));
    EXPECT_TRUE(Confirm(editor));
    EXPECT_TRUE(state.groupActive);
  }

  EXPECT_TRUE(AwardGroupEditor::MayOpen(state, prompter));
  state.phase = DrawPhase::Rolling;
  EXPECT_FALSE(AwardGroupEditor::MayOpen(state, prompter));
  ExpectTold("正在抽奖中，请先停止本轮抽奖，再设定奖项分组！");
}

}  // namespace
}  // namespace kavrel
