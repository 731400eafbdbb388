#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "engine/plan.h"
#include "settings/advanced_settings_window.h"
#include "settings/award_groups_window.h"
#include "storage/codec.h"
#include "storage/text_file.h"
#include "support/fakes/scripted_prompter.h"
#include "support/widget_lookup.h"

namespace kavrel {
namespace {

TEST(AdvancedSettingsWindow, EditsCaptionsPerBatchAndSavesThemOnOk) {
  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  dir.EnsureConfigDir();
  ScriptedPrompter prompter;
  {
    AdvancedSettingsWindow empty(dir, prompter);
    EXPECT_FALSE(Find<QPushButton>(&empty, "按钮_增加")->isEnabled()) << "no plan line to refer to";
  }
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat),
                            Gb("一等奖,1,1,1,1,笔记本,,\r\n三等奖,8,2,1,5,MP4,,\r\n三等奖,8,2,2,3,MP4,,\r\n")));
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kDrawerCaptionDat), Gb("三等奖-2-2：李总：3\r\n")));

  AdvancedSettingsWindow window(dir, prompter);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("高级设置"));
  auto* batches = Find<QComboBox>(&window, "组合框1");
  auto* content = Find<QLineEdit>(&window, "编辑框_内容");
  auto* captions = Find<QListWidget>(&window, "列表框1");
  EXPECT_EQ(Items(batches), (QStringList{"一等奖第1批", "三等奖第1批", "三等奖第2批"}));
  EXPECT_EQ(content->text(), QStringLiteral("欢迎xx(经理)领导抽取一等奖"));
  EXPECT_EQ(Items(captions), QStringList{"三等奖-2-2：李总"});
  Shot(&window, "advanced_settings.png");

  // Choosing a batch offers the default caption of its award; clicking a caption selects its batch.
  batches->setCurrentIndex(1);
  emit batches->activated(1);
  EXPECT_EQ(content->text(), QStringLiteral("欢迎xx(经理)领导抽取三等奖"));
  Find<QPushButton>(&window, "按钮_增加")->click();
  EXPECT_EQ(Items(captions), (QStringList{"三等奖-2-2：李总", "三等奖-2-1：欢迎xx(经理)领导抽取三等奖"}));
  Find<QPushButton>(&window, "按钮_增加")->click();
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{Gb("此批次已经设置，请更换设置批次！")});

  captions->setCurrentRow(0);
  emit captions->itemClicked(captions->item(0));
  EXPECT_EQ(batches->currentIndex(), 2);
  EXPECT_EQ(content->text(), QStringLiteral("李总"));
  content->setText(QStringLiteral("李总经理"));
  Find<QPushButton>(&window, "按钮_修改")->click();
  EXPECT_EQ(captions->item(0)->text(), QStringLiteral("三等奖-2-2：李总经理"));

  Find<QPushButton>(&window, "按钮_确定")->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kDrawerCaptionDat)),
            Gb("三等奖-2-2：李总经理：3\r\n三等奖-2-1：欢迎xx(经理)领导抽取三等奖：2\r\n"));
}

TEST(AwardGroupsWindow, SetsTheGroupIntoTheDrawStateOnlyWhenTickedAndValid) {
  DrawState state;
  for (int i = 1; i <= 30; ++i) state.pool.push_back("A" + std::to_string(i));
  state.plan = {Gb("三等奖,10,2,1,5,MP4,,"), Gb("一等奖,1,1,1,1,笔记本,,")};
  ScriptedPrompter prompter;

  AwardGroupsWindow window(state, true, prompter);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("奖项分组设定(设置奖项在哪个范围内产生)"));
  auto* grid = Find<QTableView>(&window, "高级表格1");
  ASSERT_EQ(grid->model()->rowCount(), 30);
  EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("抽奖号码"));
  EXPECT_EQ(grid->model()->index(29, 0).data().toInt(), 30);
  EXPECT_EQ(grid->model()->index(29, 1).data().toString(), QStringLiteral("A30"));
  EXPECT_EQ(grid->columnWidth(1), 180);
  EXPECT_TRUE(Find<QLabel>(&window, "标签1")->text().startsWith(QStringLiteral("备注：\n1.奖项分组")));
  EXPECT_EQ(Items(Find<QComboBox>(&window, "组合框_奖项")), (QStringList{"三等奖第1批(5名)", "一等奖第1批(1名)"}));

  auto* enable = Find<QCheckBox>(&window, "选择框_启用奖项分组");
  auto* add = Find<QPushButton>(&window, "按钮_添加");
  auto* remove = Find<QPushButton>(&window, "按钮_删除");
  EXPECT_FALSE(add->isEnabled());
  EXPECT_FALSE(remove->isEnabled());
  enable->click();
  EXPECT_TRUE(add->isEnabled());
  EXPECT_TRUE(remove->isEnabled());

  auto* start = Find<QLineEdit>(&window, "编辑框_起始行");
  auto* end = Find<QLineEdit>(&window, "编辑框_结束行");
  start->setText("40");
  end->setText("10");
  add->click();
  EXPECT_EQ(prompter.MessageTexts(),
            std::vector<std::string>{Gb("分组的起始行和结束行必须在第1行至第30行之间，请重新输入！")});
  start->setText("12");
  add->click();
  auto* groups = Find<QListWidget>(&window, "列表框_分组设定");
  EXPECT_EQ(Items(groups), QStringList{"三等奖第1批(5名)：10-12"});
  EXPECT_EQ(start->text(), QStringLiteral("10"));
  EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 3);
  Shot(&window, "award_groups.png");

  // Three rows cannot fill a batch of five: the window stays open and nothing is set.
  prompter.Clear();
  Find<QPushButton>(&window, "按钮_确定")->click();
  EXPECT_EQ(prompter.MessageTexts(),
            std::vector<std::string>{Gb("待抽奖名单人数不足(小于奖项设定人数)，请检查确认！")});
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.Editor().ChosenRows());

  groups->setCurrentRow(0);
  remove->click();
  start->setText("6");
  end->setText("10");
  add->click();
  Find<QPushButton>(&window, "按钮_确定")->click();
  EXPECT_FALSE(window.isVisible());
  SetAwardGroup(state, window.Editor().ChosenRows());  // what the draw takes from the window
  EXPECT_TRUE(state.groupActive);
  EXPECT_EQ(state.groupStart, 6);
  EXPECT_EQ(state.groupEnd, 10);

  // Opened again, the active group is there; unticking and OK ends it.
  AwardGroupsWindow again(state, true, prompter);
  EXPECT_TRUE(Find<QCheckBox>(&again, "选择框_启用奖项分组")->isChecked());
  EXPECT_EQ(Items(Find<QListWidget>(&again, "列表框_分组设定")), QStringList{"三等奖第1批(5名)：6-10"});
  EXPECT_EQ(Find<QLineEdit>(&again, "编辑框_起始行")->text(), QStringLiteral("6"));
  Find<QCheckBox>(&again, "选择框_启用奖项分组")->click();
  Find<QPushButton>(&again, "按钮_确定")->click();
  EXPECT_EQ(again.result(), QDialog::Accepted);
  EXPECT_FALSE(again.Editor().ChosenRows()) << "the group ends";
}

}  // namespace
}  // namespace kavrel
