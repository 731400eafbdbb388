#include "settings/award_settings_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "settings/award_edit_window.h"
#include "settings/picture_panel.h"
#include "storage/codec.h"
#include "storage/text_file.h"
#include "support/fakes/scripted_prompter.h"
#include "support/when_shown.h"
#include "support/widget_lookup.h"

namespace kavrel {
namespace {

class AwardSettingsWindowTest : public ::testing::Test {
 protected:
  AwardSettingsWindowTest() {
    dir.EnsureConfigDir();
    std::string list;
    for (int i = 1; i <= 50; ++i) list += std::to_string(i) + "\r\n";
    WriteTextFile(dir.Path(ProgramDir::kSetDat), list);
  }

  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  ScriptedPrompter prompter;
  bool drawUnderWay = false;
  DrawOptions options;
};

TEST_F(AwardSettingsWindowTest, AddsAnAwardThroughBothWindowsAndSavesIt) {
  AwardSettingsWindow window({dir, settings, prompter, drawUnderWay, options});
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("主副标题和奖项设置"));
  auto* awards = Find<QTreeWidget>(&window, "超级列表框_奖项");
  ASSERT_EQ(awards->columnCount(), 6);
  EXPECT_EQ(awards->headerItem()->text(3), QStringLiteral("分批详情"));
  EXPECT_EQ(awards->topLevelItemCount(), 0);
  EXPECT_TRUE(Find<QPushButton>(&window, "按钮_高级设置")->isEnabled());

  bool edited = false;
  WhenShown<AwardEditWindow>([&](AwardEditWindow* edit) {
    EXPECT_EQ(edit->windowTitle(), QStringLiteral("增加奖项"));
    auto* name = Find<QLineEdit>(edit, "编辑框_奖项名称");
    name->setText(QStringLiteral("二等奖"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClick(name, '-');
    // The "-" is refused as it is typed, with a message naming it.
    EXPECT_EQ(name->text(), QStringLiteral("二等奖"));
    ASSERT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_EQ(prompter.MessageTexts()[0], Gb("奖项名称不能包含字符“-”，请改用其他字符！"));
    prompter.Clear();
    Find<QLineEdit>(edit, "编辑框_中奖名额")->setText(QStringLiteral("5"));
    Find<QLineEdit>(edit, "编辑框_奖项批次")->setText(QStringLiteral("4"));
    Find<QLineEdit>(edit, "编辑框_奖品名称")->setText(QStringLiteral("奖品：手机一部"));
    Shot(edit, "award_edit_window.png");
    Find<QPushButton>(edit, "按钮_确认")->click();
    auto* split = Find<QTreeWidget>(edit, "超级列表框_批次");
    ASSERT_EQ(split->topLevelItemCount(), 4);
    EXPECT_EQ(split->topLevelItem(0)->text(2), QStringLiteral("2"));
    EXPECT_EQ(split->topLevelItem(3)->text(0), QStringLiteral("二等奖"));
    EXPECT_EQ(split->topLevelItem(3)->text(1), QStringLiteral("4"));
    EXPECT_EQ(split->topLevelItem(3)->text(2), QStringLiteral("1"));
    edited = true;
  });
  Find<QPushButton>(&window, "按钮_增加奖项")->click();
  ASSERT_TRUE(edited);

  ASSERT_EQ(awards->topLevelItemCount(), 1);
  EXPECT_EQ(awards->topLevelItem(0)->text(3), QStringLiteral("2+1+1+1"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kAwardTableDat)), Gb("二等奖,5,4,2+1+1+1,奖品：手机一部,,\r\n"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kBatchPlanDat)),
            Gb("二等奖,5,4,1,2,奖品：手机一部,,\r\n二等奖,5,4,2,1,奖品：手机一部,,\r\n"
               "二等奖,5,4,3,1,奖品：手机一部,,\r\n二等奖,5,4,4,1,奖品：手机一部,,\r\n"));
  EXPECT_TRUE(prompter.shown().empty());

  // Masking controls follow their check box.
  auto* mask = Find<QCheckBox>(&window, "选择框_屏蔽");
  auto* from = Find<QLineEdit>(&window, "编辑框_屏蔽1");
  EXPECT_FALSE(mask->isChecked());
  EXPECT_FALSE(from->isEnabled());
  EXPECT_EQ(from->palette().color(QPalette::Disabled, QPalette::Text), QColor(96, 96, 96));
  Shot(&window, "award_settings_window.png");
  window.resize(window.minimumSizeHint());
  Shot(&window, "award_settings_window_small.png");
  mask->click();
  EXPECT_TRUE(from->isEnabled());
  EXPECT_EQ(from->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 0));

  Find<QLineEdit>(&window, "编辑框_主标题")->setText(QStringLiteral("年会抽奖"));
  Find<QPushButton>(&window, "按钮_确定")->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.Confirmed());
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("主标题")), Gb("年会抽奖"));
  EXPECT_EQ(settings.ReadText(Gb("标题设置"), Gb("启用隐私屏蔽：")), Gb("真"));
}

TEST_F(AwardSettingsWindowTest, ModifyOpensWithTheRowAndCancelChangesNothing) {
  WriteTextFile(dir.Path(ProgramDir::kAwardTableDat), Gb("二等奖,3,2,2+1,奖品：手机,,\r\n"));
  AwardSettingsWindow window({dir, settings, prompter, drawUnderWay, options});
  auto* awards = Find<QTreeWidget>(&window, "超级列表框_奖项");
  ASSERT_EQ(awards->topLevelItemCount(), 1);
  Find<QPushButton>(&window, "按钮_修改奖项")->click();  // no selection: nothing opens
  awards->setCurrentItem(awards->topLevelItem(0));
  bool seen = false;
  WhenShown<AwardEditWindow>([&](AwardEditWindow* edit) {
    EXPECT_EQ(edit->windowTitle(), QStringLiteral("修改奖项"));
    auto* split = Find<QTreeWidget>(edit, "超级列表框_批次");
    EXPECT_EQ(split->topLevelItemCount(), 2);
    Find<QLineEdit>(edit, "编辑框_中奖名额")->setText(QStringLiteral("9"));
    Find<QPushButton>(edit, "按钮_取消")->click();
    seen = true;
  });
  Find<QPushButton>(&window, "按钮_修改奖项")->click();
  ASSERT_TRUE(seen);
  EXPECT_EQ(awards->topLevelItem(0)->text(1), QStringLiteral("3"));
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kAwardTableDat)), Gb("二等奖,3,2,2+1,奖品：手机,,\r\n"));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.Path(ProgramDir::kBatchPlanDat).string())));
}

TEST_F(AwardSettingsWindowTest, RowCommandsWaitForASelectedRow) {
  WriteTextFile(dir.Path(ProgramDir::kAwardTableDat), Gb("一等奖,1,1,1,奖品：甲,,\r\n二等奖,2,1,2,奖品：乙,,\r\n"));
  AwardSettingsWindow window({dir, settings, prompter, drawUnderWay, options});
  window.show();
  auto* awards = Find<QTreeWidget>(&window, "超级列表框_奖项");
  const char* rowCommands[] = {"按钮_删除奖项", "按钮_修改奖项", "按钮_顺序上移", "按钮_顺序下移"};
  auto enabled = [&] {
    std::vector<bool> states;
    for (const char* name : rowCommands) states.push_back(Find<QPushButton>(&window, name)->isEnabled());
    return states;
  };
  const std::vector<bool> none(4, false), all(4, true);
  // The list gets a current row on focus without selecting it: the commands stay off.
  awards->setFocus();
  EXPECT_EQ(enabled(), none);
  EXPECT_TRUE(Find<QPushButton>(&window, "按钮_增加奖项")->isEnabled());

  awards->setCurrentItem(awards->topLevelItem(1));
  EXPECT_EQ(enabled(), all);
  Find<QPushButton>(&window, "按钮_顺序上移")->click();
  EXPECT_EQ(awards->topLevelItem(0)->text(0), QStringLiteral("二等奖"));
  EXPECT_EQ(enabled(), all);  // the selection stays at its place after a move

  Find<QPushButton>(&window, "按钮_删除奖项")->click();
  ASSERT_EQ(awards->topLevelItemCount(), 1);
  EXPECT_EQ(awards->topLevelItem(0)->text(0), QStringLiteral("二等奖"));
  EXPECT_EQ(enabled(), none);  // nothing selected after a delete: a second press cannot remove another award
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kAwardTableDat)), Gb("二等奖,2,1,2,奖品：乙,,\r\n"));
}

TEST_F(AwardSettingsWindowTest, EditDialogChecksNumbersOnLeavingABoxAndPreviewsThePickedPicture) {
  AwardEditBuffer buffer;
  AwardEditWindow edit(dir, buffer, prompter);
  edit.show();
  edit.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
  auto* name = Find<QLineEdit>(&edit, "编辑框_奖项名称");
  auto* quota = Find<QLineEdit>(&edit, "编辑框_中奖名额");
  auto* batches = Find<QLineEdit>(&edit, "编辑框_奖项批次");
  auto* split = Find<QTreeWidget>(&edit, "超级列表框_批次");
  name->setText(QStringLiteral("三等奖"));

  quota->setFocus();
  quota->setText(QStringLiteral("10"));
  batches->setFocus();  // the batch box is still empty: no check
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_EQ(split->topLevelItemCount(), 0);

  batches->setText(QStringLiteral("0"));
  name->setFocus();
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{Gb("输入的数字不符合要求，需要大于0的整数")});
  EXPECT_EQ(split->topLevelItemCount(), 0);
  prompter.Clear();

  batches->setText(QStringLiteral("6"));
  quota->setFocus();  // leaving the name box checks too
  EXPECT_TRUE(prompter.shown().empty());
  ASSERT_EQ(split->topLevelItemCount(), 6);
  EXPECT_EQ(split->topLevelItem(3)->text(2), QStringLiteral("2"));
  EXPECT_EQ(split->topLevelItem(4)->text(2), QStringLiteral("1"));
  EXPECT_EQ(buffer.batchCount, "6");

  // A picture from outside the data folder is copied in and stored relative to it.
  QTemporaryDir desk;
  const QString picture = desk.filePath(QStringLiteral("奖品.png"));
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(picture));
  prompter.ScriptPath(std::string("/tmp/a,b.png"));
  prompter.ScriptPath(FromQt(picture));
  auto* pick = Find<QToolButton>(&edit, "图形按钮1");
  auto* path = Find<QLineEdit>(&edit, "编辑框_奖品图片");
  pick->click();
  EXPECT_TRUE(path->text().isEmpty()) << "a path with the award file's separator is refused";
  pick->click();
  EXPECT_EQ(path->text(), QStringLiteral("\\pictures\\奖品.png"));
  EXPECT_TRUE(QFile::exists(temp.filePath(QStringLiteral("pictures/奖品.png"))));
  EXPECT_FALSE(Find<PicturePanel>(&edit, "画板1")->Picture().isNull());
  Shot(&edit, "award_edit_window_picture.png");
  ASSERT_GE(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, Gb("图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico)|*.png;*.jpg;*.jpeg;*.bmp;*.ico"));
}

}  // namespace
}  // namespace kavrel
