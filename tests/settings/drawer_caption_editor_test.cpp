#include "settings/drawer_caption_editor.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "engine/plan.h"
#include "storage/codec.h"
#include "storage/text_file.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

class DrawerCaptionEditorTest : public ::testing::Test {
 protected:
  DrawerCaptionEditorTest() { dir.EnsureConfigDir(); }

  // 一等奖 in one batch, 三等奖 in two (5 then 3 in the order of its detail).
  void WriteAwards(bool forwardOrder, const char* thirdBatches = "2", const char* thirdDetail = "5+3") {
    const std::vector<AwardRow> rows = {{Gb("一等奖"), "1", "1", "1", Gb("笔记本"), ""},
                                        {Gb("三等奖"), "8", thirdBatches, thirdDetail, Gb("MP4"), ""}};
    ASSERT_TRUE(WriteBatchPlan(dir, rows, forwardOrder));
  }

  // The captions the stage shows, batch by batch, as the draw consumes the plan.
  std::vector<std::string> ShownCaptions(bool forwardOrder) {
    DrawState state;
    state.plan = LoadPlan(dir);
    const auto captions = LoadDrawerCaptions(dir);
    std::vector<std::string> shown;
    while (!state.plan.empty()) {
      SelectCurrentLine(state, forwardOrder);
      shown.push_back(DrawerCaptionFor(state.currentLine, captions));
      ConsumeCurrentLine(state, forwardOrder);
    }
    return shown;
  }

  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  ScriptedPrompter prompter;
};

TEST_F(DrawerCaptionEditorTest, OpensOnThePlanAndRefusesASecondCaptionForOneBatch) {
  WriteAwards(true);
  DrawerCaptionEditor editor(dir, prompter);
  editor.Load();
  EXPECT_EQ(editor.BatchItems(), (std::vector<std::string>{Gb("一等奖第1批"), Gb("三等奖第1批"), Gb("三等奖第2批")}));
  EXPECT_TRUE(editor.Captions().empty());
  EXPECT_EQ(editor.DefaultCaption(0), Gb("欢迎xx(经理)领导抽取一等奖"));
  EXPECT_EQ(editor.DefaultCaption(2), Gb("欢迎xx(经理)领导抽取三等奖"));

  ASSERT_TRUE(editor.Add(1, Gb("王总抽三等奖")));
  EXPECT_FALSE(editor.Add(1, Gb("李总")));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, Gb("此批次已经设置，请更换设置批次！"));
  EXPECT_EQ(prompter.shown()[0].caption, Gb("提示信息："));
  // The award's other batch is another key.
  ASSERT_TRUE(editor.Add(2, Gb("李总")));
  ASSERT_EQ(editor.Captions().size(), 2u);
  EXPECT_EQ(DrawerCaptionEditor::ItemText(editor.Captions()[0]), Gb("三等奖-2-1：王总抽三等奖"));
  EXPECT_EQ(DrawerCaptionEditor::ItemText(editor.Captions()[1]), Gb("三等奖-2-2：李总"));
  EXPECT_EQ(editor.LineOfCaption(1), 2);

  // The list commands want a selected caption.
  prompter.Clear();
  EXPECT_FALSE(editor.Modify(2, "x"));
  EXPECT_FALSE(editor.Remove(5));
  EXPECT_EQ(prompter.MessageTexts(), (std::vector<std::string>{Gb("请选择一行数据！"), Gb("请选择一行数据！")}));
  ASSERT_TRUE(editor.Modify(1, Gb("李总经理")));
  ASSERT_TRUE(editor.Save());
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kDrawerCaptionDat)),
            Gb("三等奖-2-1：王总抽三等奖：2\r\n三等奖-2-2：李总经理：3\r\n"));

  // Deleting frees the batch for a new caption; a second opening reads back what was saved.
  DrawerCaptionEditor again(dir, prompter);
  again.Load();
  EXPECT_EQ(again.Captions(), editor.Captions());
  ASSERT_TRUE(again.Remove(0));
  EXPECT_TRUE(again.Add(1, Gb("张总")));
  again.ClearAll();
  ASSERT_TRUE(again.Save());
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kDrawerCaptionDat)), "");
}

TEST_F(DrawerCaptionEditorTest, CaptionsFollowTheirBatchInBothOrdersAndLapseWhenTheBatchCountChanges) {
  for (const bool forward : {true, false}) {
    SCOPED_TRACE(forward ? "forward" : "reverse");
    WriteAwards(forward);
    DrawerCaptionEditor editor(dir, prompter);
    editor.Load();
    editor.ClearAll();
    ASSERT_TRUE(editor.Add(0, Gb("一")));
    ASSERT_TRUE(editor.Add(1, Gb("三-1")));  // the combo item "三等奖第1批"
    ASSERT_TRUE(editor.Save());
    // Reversed, the plan is drawn from its bottom: 三等奖 batch 2 (5 winners) first, and the caption of
    // its item "第1批" shows before the line carrying batch number 1, the award's last batch.
    const std::vector<std::string> expected = forward ? std::vector<std::string>{Gb("一"), Gb("三-1"), ""}
                                                      : std::vector<std::string>{"", Gb("三-1"), Gb("一")};
    EXPECT_EQ(ShownCaptions(forward), expected);
  }
  // The award now has three batches: its keys carry the old count and match none of them.
  WriteAwards(true, "3", "3+3+2");
  EXPECT_EQ(ShownCaptions(true), (std::vector<std::string>{Gb("一"), "", "", ""}));
}

TEST_F(DrawerCaptionEditorTest, NoPlanOffersNothingAndAFailedSaveIsTold) {
  DrawerCaptionEditor editor(dir, prompter);
  editor.Load();
  EXPECT_TRUE(editor.BatchItems().empty());
  EXPECT_EQ(editor.DefaultCaption(0), "");
  EXPECT_FALSE(editor.Add(0, "x"));
  EXPECT_TRUE(editor.Captions().empty());

  // A folder where the file should be makes the write fail; the captions stay for another try.
  WriteAwards(true);
  editor.Load();
  ASSERT_TRUE(editor.Add(0, "x"));
  ASSERT_TRUE(std::filesystem::create_directories(dir.Path(ProgramDir::kDrawerCaptionDat)));
  prompter.Clear();
  EXPECT_FALSE(editor.Save());
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, Gb("错误提示："));
  EXPECT_EQ(editor.Captions().size(), 1u);
}

}  // namespace
}  // namespace kavrel
