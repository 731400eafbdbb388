#include <fstream>
#include <sstream>

#include "engine/abandon.h"
#include "engine/prize_change.h"
#include "engine/supplement.h"
#include "engine_fixture.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

using Lines = std::vector<std::string>;

std::string Golden(const std::string& name) {
  std::ifstream in(std::string(KAVREL_TEST_DATA_DIR) + "/engine/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The first or last n lines of a plan, as stored.
Lines PlanFront(const std::vector<PlanLine>& plan, std::size_t n) {
  const Lines texts = PlanTexts(plan);
  return {texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(n)};
}
Lines PlanBack(const std::vector<PlanLine>& plan, std::size_t n) {
  const Lines texts = PlanTexts(plan);
  return {texts.end() - static_cast<std::ptrdiff_t>(n), texts.end()};
}

Lines U8(std::initializer_list<const char*> lines) {
  Lines out;
  for (const char* l : lines) out.push_back(U(l));
  return out;
}

class Corrections : public EngineFixture {
 protected:
  void SetUp() override {
    WriteList(10);
    WritePlan(
        {"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本一台,,"});
    ASSERT_TRUE(
        WriteTextFile(dir.Path(ProgramDir::kAwardTableDat),
                      U("三等奖,4,2,2+2,奖品：MP4一部,C:\\奖品\\mp4.jpg\r\n一等奖,1,1,1,奖品：笔记本一台,\r\n")));
  }

  AbandonRequest Redraw(const std::string& award, Lines entries, const char* quota, const char* batches) {
    AbandonRequest r;
    r.awardName = award;
    r.prizeName = AbandonChoice(LoadResultLog(dir)).LineOf(award).prizeName;
    r.entries = std::move(entries);
    r.redraw = true;
    r.quotaText = quota;
    r.batchText = batches;
    return r;
  }
  // The abandon as the window's 确定 runs it: the change, its receipt, the ready state or resume record.
  AbandonOutcome Run(const AbandonRequest& r) { return ctl().Abandon(r); }
  void CheckGolden(const char* prefix) {
    const std::string dat = Read(ProgramDir::kResultDat), txt = Read(ProgramDir::kResultTxt);
    if (std::getenv("KAVREL_UPDATE_GOLDEN")) {
      WriteTextFile(std::string(KAVREL_TEST_DATA_DIR) + "/engine/" + prefix + "_result.dat", dat);
      WriteTextFile(std::string(KAVREL_TEST_DATA_DIR) + "/engine/" + prefix + "_result.txt", txt);
    }
    EXPECT_EQ(dat, Golden(std::string(prefix) + "_result.dat"));
    EXPECT_EQ(txt, Golden(std::string(prefix) + "_result.txt"));
  }
};

TEST_F(Corrections, AbandonTwoWithRedrawMarksBothFilesReturnsThemAndTheRedrawIsDrawnAndResumable) {
  ctl().StartUp();
  const auto won = Roll();
  ASSERT_EQ(won.size(), 2u);
  const auto log = LoadResultLog(dir);
  AbandonChoice choice(log);
  ASSERT_EQ(choice.Items().size(), 1u);
  EXPECT_EQ(choice.Items()[0].awardName, U("三等奖"));
  const auto line = choice.LineOf(U("三等奖"));
  EXPECT_EQ(line.prizeName, U("奖品：MP4一部"));
  ASSERT_EQ(line.winners.size(), 2u);
  const Lines recorded = {line.winners[0].entry, line.winners[1].entry};
  EXPECT_EQ(recorded, log[0].winners) << "listed as recorded";

  const auto outcome = Run(Redraw(U("三等奖"), recorded, "2", "1"));
  ASSERT_TRUE(outcome.done);
  EXPECT_EQ(outcome.abandoned, recorded);
  EXPECT_EQ(outcome.returned, recorded);
  EXPECT_EQ(state.pool.size(), 10u);
  EXPECT_EQ(Lines(state.pool.end() - 2, state.pool.end()), recorded) << "returned at the end, in list order";
  ASSERT_EQ(outcome.queued.size(), 1u);
  EXPECT_EQ(outcome.queued[0].line, U("补抽三等奖,2,1,1,2,奖品：MP4一部,C:\\奖品\\mp4.jpg,"));
  EXPECT_EQ(outcome.queued[0].planPosition, 1u);
  EXPECT_EQ(state.plan.front(), outcome.queued[0].line);
  EXPECT_FALSE(state.planChanged) << "the queued batch is announced";
  EXPECT_EQ(Status(), U("准备抽取【补抽三等奖】，本轮抽2名（第1轮/总1轮，已抽0名/共2名)"));
  EXPECT_EQ(stage.Text(StageElement::PrizeLabel), U("奖品：MP4一部"));

  // The resume record follows at once: its sizes include the marks, its plan the queued line.
  Restart();
  prompter.ScriptAnswer(Answer::Yes);
  ctl().StartUp();
  EXPECT_EQ(prompter.shown().back().caption, U("开始抽奖前确认信息：")) << "offered, not refused as damaged";
  EXPECT_EQ(Status(), U("准备抽取【补抽三等奖】，本轮抽2名（第1轮/总1轮，已抽0名/共2名)"));
  EXPECT_EQ(state.pool.size(), 10u);

  clock.now = {2026, 12, 9, 20, 10, 0};
  const auto redrawn = Roll();
  EXPECT_EQ(redrawn.size(), 2u);
  CheckGolden("abandon_redraw");
  EXPECT_EQ(state.pool.size(), 8u);
}

TEST_F(Corrections, RedrawSplitsInBothOrdersAndRefusesUnusableNumbers) {
  ctl().StartUp();
  const auto won = Roll();
  const auto plan = state.plan;
  const std::string dat = Read(ProgramDir::kResultDat);

  // Refused before anything changes, with the number check's words.
  struct Bad {
    const char* quota;
    const char* batches;
    const char* message;
  };
  for (const Bad& bad :
       {Bad{"", "1", "补抽名额或批次不能为空"}, Bad{"2", "", "补抽名额或批次不能为空"},
        Bad{"0", "1", "输入的数字不符合要求，需要大于0的整数"}, Bad{"3", "0", "输入的数字不符合要求，需要大于0的整数"},
        Bad{"2", "3", "批次不能大于中奖名额"}}) {
    prompter.Clear();
    const auto outcome = Run(Redraw(U("三等奖"), won, bad.quota, bad.batches));
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(LastMessage(), U(bad.message)) << bad.quota << "/" << bad.batches;
  }
  AbandonRequest none = Redraw(U("三等奖"), won, "2", "1");
  none.prizeName.clear();
  prompter.Clear();
  EXPECT_FALSE(Run(none).done);
  EXPECT_EQ(LastMessage(), U("还未选择弃奖奖项！"));
  EXPECT_EQ(prompter.shown().back().caption, U("提示信息："));
  EXPECT_EQ(state.plan, plan);
  EXPECT_EQ(state.pool.size(), 8u);
  EXPECT_EQ(Read(ProgramDir::kResultDat), dat);

  // 5 in 2, forward: made as batch 1 (3) and batch 2 (2), both put in front, so batch 2 stands first.
  auto outcome = Run(Redraw(U("三等奖"), {}, "5", "2"));
  ASSERT_EQ(outcome.queued.size(), 2u);
  EXPECT_EQ(PlanFront(state.plan, 2), U8({"补抽三等奖,5,2,2,2,奖品：MP4一部,C:\\奖品\\mp4.jpg,",
                                          "补抽三等奖,5,2,1,3,奖品：MP4一部,C:\\奖品\\mp4.jpg,"}));
  EXPECT_EQ(outcome.queued[0].planPosition, 2u);
  EXPECT_EQ(outcome.queued[1].planPosition, 1u);

  // Reverse order: appended, consumed from the end, so batch 1 is drawn first; batch 2 is the small one.
  state.plan = plan;
  options.forwardOrder = false;
  outcome = Run(Redraw(U("三等奖"), {}, "5", "2"));
  EXPECT_EQ(PlanBack(state.plan, 2), U8({"补抽三等奖,5,2,2,2,奖品：MP4一部,C:\\奖品\\mp4.jpg,",
                                         "补抽三等奖,5,2,1,3,奖品：MP4一部,C:\\奖品\\mp4.jpg,"}));

  // 5 in 4 cannot end in a batch of -1: 2+1+1+1, every batch drawable, together the quota.
  state.plan = plan;
  outcome = Run(Redraw(U("三等奖"), {}, "5", "4"));
  long long total = 0;
  for (const auto& q : outcome.queued) {
    EXPECT_GE(q.size, 1);
    total += q.size;
    EXPECT_EQ(q.size, q.batchNumber == 1 ? 2 : 1);
  }
  EXPECT_EQ(total, 5);
  EXPECT_EQ(state.pool.size(), 8u) << "no winner ticked: nobody returned";
}

TEST_F(Corrections, MarksAreWholeEntriesOnceAndKeepingThemOutOfThePoolLeavesItAlone) {
  WriteList(12);  // "012" begins with "01"
  WritePlan({"三等奖,3,1,1,3,P,,", "一等奖,1,1,1,1,Q,,"});
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultDat), U("一等奖-Q-01-\r\n三等奖-P-012-01-007-")));
  ctl().StartUp();  // moves those files to history: write them again for the draw under way
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultDat), U("一等奖-Q-01-\r\n三等奖-P-012-01-007-")));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kResultTxt),
                            ResultTxtBlock("一等奖", {"01"}, "2026年12月9日20时") +
                                ResultTxtBlock("三等奖", {"012", "01", "007"}, "2026年12月9日20时1分")));
  const auto pool = state.pool;

  AbandonRequest r;
  r.awardName = U("三等奖");
  r.prizeName = "P";
  r.entries = {"01"};
  r.returnToPool = false;
  auto outcome = Run(r);
  EXPECT_TRUE(outcome.done);
  EXPECT_EQ(outcome.abandoned, Lines{"01"});
  EXPECT_TRUE(outcome.returned.empty());
  EXPECT_EQ(state.pool, pool);
  const std::string mark = U("(已弃奖)");
  EXPECT_EQ(Read(ProgramDir::kResultDat), U("一等奖-Q-01-\r\n三等奖-P-012-01") + mark + "-007-");
  EXPECT_EQ(Read(ProgramDir::kResultTxt),
            ResultTxtBlock("一等奖", {"01"}, "2026年12月9日20时") +
                ResultTxtBlock("三等奖", {"012", "01" + mark, "007"}, "2026年12月9日20时1分"));

  // Listed as given up, and never marked or returned a second time.
  const auto line = AbandonChoice(LoadResultLog(dir)).LineOf(U("三等奖"));
  ASSERT_EQ(line.winners.size(), 3u);
  EXPECT_TRUE(line.winners[1].abandoned);
  EXPECT_EQ(line.winners[1].recorded, "01" + mark);
  EXPECT_EQ(line.winners[1].entry, "01");
  r.returnToPool = true;
  outcome = Run(r);
  EXPECT_TRUE(outcome.abandoned.empty());
  EXPECT_TRUE(outcome.returned.empty());
  EXPECT_EQ(state.pool, pool);
  EXPECT_EQ(Read(ProgramDir::kResultDat), U("一等奖-Q-01-\r\n三等奖-P-012-01") + mark + "-007-");

  // With repeats allowed a winner never left the pool and is not added again.
  options.repeatAllowed = true;
  r.entries = {"007"};
  outcome = Run(r);
  EXPECT_EQ(outcome.abandoned, Lines{"007"});
  EXPECT_TRUE(outcome.returned.empty());
  EXPECT_EQ(state.pool, pool);
}

TEST_F(Corrections, RedrawOfARedrawHasTwoPrefixesAndNoPictureAndUnreadableLinesAreSkipped) {
  ctl().StartUp();
  const auto won = Roll();
  Run(Redraw(U("三等奖"), {won[0]}, "1", "1"));
  const auto again = Roll();
  const auto choice = AbandonChoice(LoadResultLog(dir));
  ASSERT_EQ(choice.Items().size(), 2u);
  EXPECT_EQ(choice.Items()[0].awardName, U("补抽三等奖")) << "newest first";
  const auto outcome = Run(Redraw(U("补抽三等奖"), again, "1", "1"));
  ASSERT_EQ(outcome.queued.size(), 1u);
  EXPECT_EQ(outcome.queued[0].line, U("补抽补抽三等奖,1,1,1,1,奖品：MP4一部,,"));

  const AbandonChoice odd(ParseResultLog(U("A-P-1-\r\n\r\nB\r\nC-Q-2-3-")));
  ASSERT_EQ(odd.Items().size(), 2u);
  EXPECT_EQ(odd.Items()[0].awardName, "C");
  EXPECT_EQ(odd.Items()[1].awardName, "A");
  EXPECT_EQ(odd.SkippedLines(), 2);
  EXPECT_EQ(odd.SkippedNote(), U("中奖结果文件 config\\result.dat 中有2行无法读取，未列出。"));
  EXPECT_TRUE(odd.LineOf("Z").winners.empty());
}

TEST_F(Corrections, APendingStartFromChoiceKeepsItsLine) {
  ctl().StartUp();
  const auto won = Roll();
  state.startFromActive = true;
  state.startFromIndex = 2;  // "一等奖"
  const PlanLine chosen = state.plan[1];
  Run(Redraw(U("三等奖"), won, "2", "2"));
  EXPECT_EQ(state.startFromIndex, 4);
  EXPECT_EQ(state.plan[NextPlanPosition(state, true) - 1], chosen);
  EXPECT_EQ(stage.Text(StageElement::AwardLabel), U("一等奖")) << "the chosen line is still drawn next";
}

TEST_F(Corrections, UndoOfABatchWithAnAbandonedWinnerIsRefused) {
  ctl().StartUp();
  const auto won = Roll();
  AbandonRequest r;
  r.awardName = U("三等奖");
  r.prizeName = U("奖品：MP4一部");
  r.entries = {won[1]};
  Run(r);
  EXPECT_TRUE(state.WinnersShown()) << "no redraw queued: the stage is left as it was";
  const auto pool = state.pool;
  const std::string dat = Read(ProgramDir::kResultDat);
  prompter.Clear();
  ctl().UndoPressed();
  EXPECT_EQ(Messages(), Lines{U("上一批的中奖人员中已有人弃奖，不能再撤销这一批的抽奖结果！")});
  EXPECT_EQ(state.pool, pool) << "the returned winner is not returned twice";
  EXPECT_EQ(Read(ProgramDir::kResultDat), dat);
}

TEST_F(Corrections, SupplementQueuesInBothOrdersAndIsRecordedUnderItsOwnName) {
  ctl().StartUp();
  const auto plan = state.plan;
  const SupplementChoice choice(LoadAwardTable(dir));
  EXPECT_EQ(choice.Items(), U8({"其它奖项", "三等奖", "一等奖"}));
  EXPECT_EQ(choice.InitialIndex(), 2);
  const auto first = choice.PrizeOf(2);
  EXPECT_EQ(first.name, U("奖品：笔记本一台"));
  EXPECT_TRUE(first.fromTable);
  EXPECT_FALSE(choice.PrizeOf(0).fromTable);
  const SupplementChoice empty({});
  EXPECT_EQ(empty.Items(), U8({"其它奖项"}));
  EXPECT_EQ(empty.InitialIndex(), 0) << "其它奖项 selected and open for typing";
  // Opened at the award the draw is at; a queued "补抽" line points at its award; anything else at 其它奖项.
  EXPECT_EQ(choice.IndexOf(U("三等奖")), 1);
  EXPECT_EQ(choice.IndexOf(U("补抽补抽一等奖")), 2);
  EXPECT_EQ(choice.IndexOf(U("董事长特别奖")), 0);
  EXPECT_EQ(choice.IndexOf(""), 0);

  SupplementRequest r{U("三等奖"), U("奖品：MP4一部"), "C:\\p.jpg", "5", "2"};
  auto outcome = Supplement(r, state, options, prompter);
  EXPECT_EQ(PlanFront(state.plan, 2),
            U8({"补抽三等奖,5,2,1,2,奖品：MP4一部,C:\\p.jpg,", "补抽三等奖,5,2,2,3,奖品：MP4一部,C:\\p.jpg,"}));
  EXPECT_EQ(outcome.awardName, U("补抽三等奖"));

  state.plan = plan;
  options.forwardOrder = false;
  Supplement(r, state, options, prompter);
  EXPECT_EQ(PlanBack(state.plan, 2),
            U8({"补抽三等奖,5,2,2,2,奖品：MP4一部,C:\\p.jpg,", "补抽三等奖,5,2,1,3,奖品：MP4一部,C:\\p.jpg,"}));
  state.plan = plan;
  r.quotaText = "4";
  outcome = Supplement(r, state, options, prompter);
  EXPECT_EQ(outcome.queued[0].size, 2);
  EXPECT_EQ(outcome.queued[1].size, 2);

  // Refusals keep everything as it was.
  state.plan = plan;
  prompter.Clear();
  for (SupplementRequest bad : {SupplementRequest{U("其它奖项"), "", "", "3", "1"},
                                SupplementRequest{U("其它奖项"), U("鲜花-一束"), "", "3", "1"},
                                SupplementRequest{U("其它奖项"), U("鲜花"), "C:\\a,b.jpg", "3", "1"},
                                SupplementRequest{U("其它奖项"), U("鲜花"), "", "3", "4"}})
    EXPECT_FALSE(Supplement(bad, state, options, prompter).done);
  EXPECT_EQ(Messages(), U8({"还未选择补抽奖项！", "奖品名称不能包含字符“-”，请改用其他字符！",
                            "奖品图片的路径不能包含字符“,”，请改用其他字符！", "批次不能大于中奖名额"}));
  EXPECT_EQ(state.plan, plan);

  // An award made up on the spot needs a name of its own, and is drawn before the planned batches and
  // recorded under that name.
  options.forwardOrder = true;
  prompter.Clear();
  EXPECT_FALSE(Supplement({U("其它奖项"), U("鲜花一束"), "", "3", "1"}, state, options, prompter).done);
  EXPECT_FALSE(Supplement({U("其它奖项"), U("鲜花一束"), "", "3", "1", U("特别-奖")}, state, options, prompter).done);
  EXPECT_FALSE(CheckSupplementRequest({U("其它奖项"), U("鲜花一束"), "", "3", "1", U("三等奖")}, prompter,
                                      U8({"三等奖", "一等奖"})));
  EXPECT_EQ(prompter.shown().size(), 3u);
  EXPECT_EQ(state.plan, plan);
  const SupplementRequest special{U("其它奖项"), U("鲜花一束"), "", "3", "1", U("董事长特别奖")};
  EXPECT_EQ(SupplementQuestion(special), U("将补抽【董事长特别奖】3名，分1批抽取，奖品：鲜花一束。\n"
                                           "补抽的批次排在尚未抽取的批次之前，其他奖项不变。\n确定补抽吗？"));
  outcome = ctl().Supplement(special);
  EXPECT_EQ(state.plan.front(), U("董事长特别奖,3,1,1,3,鲜花一束,,"));
  EXPECT_EQ(Status(), U("准备抽取【董事长特别奖】，本轮抽3名（第1轮/总1轮，已抽0名/共3名)"));
  EXPECT_EQ(stage.Text(StageElement::PrizeLabel), U("鲜花一束"));
  const auto won = Roll();
  EXPECT_EQ(LoadResultLog(dir).back().awardName, U("董事长特别奖"));
  EXPECT_EQ(LoadResultLog(dir).back().prizeName, U("鲜花一束"));
  EXPECT_EQ(state.plan, plan);
}

TEST_F(Corrections, PrizeChangeOfTheCurrentAndOfALaterBatch) {
  ctl().StartUp();
  state.plan.push_back(U("补抽三等奖,1,1,1,1,奖品：MP4一部"));  // a line without its picture field
  const PrizeChangeChoice choice(state.plan);
  ASSERT_EQ(choice.Items().size(), 4u);
  EXPECT_EQ(choice.Items()[0].text, U("三等奖第1批"));
  EXPECT_EQ(choice.Items()[1].text, U("三等奖第2批"));
  EXPECT_EQ(choice.InitialIndex(), 3);
  EXPECT_EQ(choice.PrizeOf(3).picture, "") << "no picture carried over from another line";
  // Opened at the batch the draw is at; the question says what changes, and nothing when nothing does.
  const PrizeChangeChoice atNext(state.plan, NextPlanPosition(state, options.forwardOrder));
  EXPECT_EQ(atNext.InitialIndex(), 0);
  EXPECT_EQ(PrizeChangeQuestion(atNext, 0, U("奖品：MP4一部"), ""), "");
  EXPECT_EQ(PrizeChangeQuestion(atNext, 0, U("奖品：平板电脑"), "C:\\pad.png"),
            U("将修改【三等奖第1批】（即将抽取的这一批）：\n奖品名称由“奖品：MP4一部”改为“奖品：平板电脑”\n"
              "奖品图片改为：C:\\pad.png\n只改这一批，奖项设置不变。确定修改吗？"));
  EXPECT_EQ(PrizeChangeQuestion(atNext, 3, U("奖品：MP4一部"), "x.png"),
            U("将修改【补抽三等奖第1批】：\n奖品图片改为：x.png\n只改这一批，奖项设置不变。确定修改吗？"));

  // The current batch: the stage chooses the line again and shows the new prize at once.
  auto outcome = ctl().ChangePrize({1, U("奖品：平板电脑"), "C:\\pad.png"});
  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(outcome.oldPrizeName, U("奖品：MP4一部"));
  EXPECT_EQ(state.plan[0], U("三等奖,4,2,1,2,奖品：平板电脑,C:\\pad.png,"));
  EXPECT_EQ(state.plan[1], U("三等奖,4,2,2,2,奖品：MP4一部,,")) << "the other batch keeps its prize";
  EXPECT_EQ(stage.Text(StageElement::PrizeLabel), U("奖品：平板电脑"));
  const auto w1 = Roll();

  // A later batch, and the line that had no picture field keeps seven fields.
  outcome = ctl().ChangePrize({3, U("奖品：音箱"), ""});
  EXPECT_EQ(outcome.planPosition, 3u);
  EXPECT_EQ(state.plan[2], U("补抽三等奖,1,1,1,1,奖品：音箱,,"));
  EXPECT_FALSE(ChangePrize({9, "x", ""}, state).changed);
  EXPECT_FALSE(ChangePrize({0, "x", ""}, state).changed);
  prompter.Clear();
  EXPECT_FALSE(CheckPrizeChange({1, U("A-B"), ""}, prompter));
  EXPECT_EQ(LastMessage(), U("奖品名称不能包含字符“-”，请改用其他字符！"));

  ctl().StartPressed();  // announce batch 2, still with its own prize
  EXPECT_EQ(stage.Text(StageElement::PrizeLabel), U("奖品：MP4一部"));
  const auto w2 = Roll();
  const auto log = LoadResultLog(dir);
  ASSERT_EQ(log.size(), 2u) << "a batch with another prize opens a line of its own";
  EXPECT_EQ(log[0].prizeName, U("奖品：平板电脑"));
  EXPECT_EQ(log[1].prizeName, U("奖品：MP4一部"));
}

}  // namespace
}  // namespace kavrel
