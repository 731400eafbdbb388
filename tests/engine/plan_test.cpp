#include <gtest/gtest.h>

#include "engine/draw_state.h"
#include "engine/plan.h"
#include "engine/start_from.h"
#include "storage/codec.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

std::vector<PlanLine> Lines(std::initializer_list<const char*> utf8) {
  std::vector<PlanLine> out;
  for (const char* s : utf8) out.push_back(Gb(s));
  return out;
}

TEST(Plan, SelectAndConsumeFollowTheOrderAndStartFrom) {
  DrawState state;
  state.plan = Lines({"A,2,2,1,1,p,,", "A,2,2,2,1,p,,", "B,1,1,1,1,q,,"});
  SelectCurrentLine(state, true);
  EXPECT_EQ(state.currentLine.award, "A");
  SelectCurrentLine(state, false);
  EXPECT_EQ(state.currentLine.award, "B");

  state.startFromActive = true;
  state.startFromIndex = 2;
  state.groupActive = true;
  SelectCurrentLine(state, false);
  EXPECT_EQ(state.currentLine.batchNumber, "2");
  ConsumeCurrentLine(state, false);
  EXPECT_EQ(state.plan, Lines({"A,2,2,1,1,p,,", "B,1,1,1,1,q,,"}));
  EXPECT_FALSE(state.startFromActive);
  EXPECT_FALSE(state.groupActive);

  // A start-from position beyond a shorter plan falls back to the order.
  state.startFromActive = true;
  state.startFromIndex = 9;
  SelectCurrentLine(state, true);
  EXPECT_EQ(state.currentLine.award, "A");

  // An empty plan leaves the current line and consumes nothing.
  state.plan.clear();
  SelectCurrentLine(state, true);
  EXPECT_EQ(state.currentLine.award, "A");
  ConsumeCurrentLine(state, true);
  EXPECT_TRUE(state.plan.empty());
}

TEST(Plan, StatusTextsAndMissingFields) {
  DrawState state;
  state.currentLine = Gb("三等奖,10,2,1,5,奖品：MP4一部,,");
  EXPECT_TRUE(state.currentLine.complete);  // the empty picture path is a field
  EXPECT_EQ(StatusText(state, false), Gb("准备抽取【三等奖】，本轮抽5名（第1轮/总2轮，已抽0名/共10名)"));
  state.drawnInAward = 5;
  EXPECT_EQ(StatusText(state, true), Gb("已抽取【三等奖】，本轮抽5名（第1轮/总2轮，已抽5名/共10名)"));
  EXPECT_EQ(state.currentLine.picture, "");

  state.currentLine = "X,1";
  EXPECT_FALSE(state.currentLine.complete);
  EXPECT_EQ(StatusText(state, false), Gb("准备抽取【X】，本轮抽名（第1轮/总轮，已抽5名/共1名)"));
  EXPECT_EQ(WithPrize(Gb("三等奖,10,2,1,5,奖品"), Gb("奖品"), "").text, Gb("三等奖,10,2,1,5,奖品,,"));
}

TEST(Plan, DrawerCaptionMatchesAwardBatchesAndNumber) {
  const std::vector<DrawerCaption> captions = {{Gb("一等奖-2-1"), Gb("旧的"), 1},
                                               {Gb("一等奖-1-1"), Gb("欢迎领导"), 1}};
  EXPECT_EQ(DrawerCaptionFor(PlanLine(Gb("一等奖,1,1,1,1,p,,")), captions), Gb("欢迎领导"));
  EXPECT_EQ(DrawerCaptionFor(PlanLine(Gb("一等奖,1,3,1,1,p,,")), captions), "");
  EXPECT_EQ(DrawerCaptionFor({}, captions), "");
}

TEST(StartFromChoice, ListsThePlanAndAsksWithoutAChoice) {
  DrawState state;
  state.plan = Lines({"三等奖,10,2,1,5,p,,", "三等奖,10,2,2,5,p,,", "一等奖,1,1,1,1,q,,"});
  StartFromChoice choice(state.plan);
  ASSERT_EQ(choice.Items().size(), 4u);
  EXPECT_EQ(choice.Items()[0].text, Gb("请选择"));
  EXPECT_EQ(choice.Items()[0].data, -1);
  EXPECT_EQ(choice.Items()[2].text, Gb("三等奖第2批"));
  EXPECT_EQ(choice.Items()[2].data, 2);

  ScriptedPrompter prompter;
  prompter.ScriptAnswer(Answer::Cancel);
  EXPECT_EQ(choice.Confirm(0, state, prompter), StartFromChoice::Outcome::KeepOpen);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, Gb("未选择指定抽奖项，确认退出吗？"));
  EXPECT_EQ(prompter.shown()[0].caption, Gb("操作提示："));
  EXPECT_EQ(prompter.shown()[0].buttons, Buttons::OkCancel);
  state.startFromActive = true;
  EXPECT_EQ(choice.Confirm(0, state, prompter), StartFromChoice::Outcome::Close);
  EXPECT_FALSE(state.startFromActive);

  EXPECT_EQ(choice.Confirm(3, state, prompter), StartFromChoice::Outcome::Close);
  EXPECT_TRUE(state.startFromActive);
  EXPECT_EQ(state.startFromIndex, 3);
}

}  // namespace
}  // namespace kavrel
