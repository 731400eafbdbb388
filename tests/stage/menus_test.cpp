#include "stage/stage_menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <vector>

namespace kavrel {
namespace {

// The items of a menu as the operator reads them, separators as "—".
QStringList Items(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("—") : a->text());
  return out;
}

TEST(StageMenus, EveryItemTextInOrder) {
  QWidget stage;
  StageMenus menus(&stage);
  EXPECT_EQ(Items(menus.menu(StageMenus::kInterface)),
            (QStringList{"更改背景图片(S)", "更改界面位置(T)", "恢复默认位置(U)", "修改字体和颜色",
                         "恢复默认字体和颜色", "—", "锁定屏幕(X)", "最小化窗口(Y)   F11", "关闭软件(Z)  F12"}));
  QMenu* background = menus.menu(StageMenus::kInterface)->actions().first()->menu();
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(Items(background), (QStringList{"自定义", "—", "默认"}));
  EXPECT_EQ(Items(menus.menu(StageMenus::kSettings)),
            (QStringList{"编辑抽奖人员名单(T)", "主副标题/奖项设定(U)", "—", "奖项分组设置(V)", "—", "抽奖音效设置(W)",
                         "播放或停止背景音乐    F9", "—", "文字(号码)抽奖模式(X)", "图片(照片)抽奖模式(Y)", "—",
                         "自动隐藏主菜单(ESC)", "显示到扩展显示屏(Z)"}));
  EXPECT_EQ(Items(menus.menu(StageMenus::kFunctions)),
            (QStringList{"展示中奖人员名单(O)   F6", "显示中奖人员名单(P)   F7", "查看中奖名单(Q)", "查看未中奖名单(R)",
                         "—", "导出中奖名单", "历史抽奖记录", "—", "重新开始抽奖(T)   F1", "从某奖项开始抽(U)", "—",
                         "弃奖(V)   F3", "补奖(W)   F4", "临时修改奖品(X)   F8", "—", "撤销上一批抽奖(Z)   F2"}));
  EXPECT_EQ(Items(menus.menu(StageMenus::kHelp)), (QStringList{"操作提示(Y)"}));
  // No item carries a Qt shortcut: the dispatcher owns the keys, so a press runs one command only.
  for (int i = 0; i < StageMenus::kPopupCount; ++i)
    for (QAction* a : menus.menu(static_cast<StageMenus::Popup>(i))->actions())
      EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
}

TEST(StageMenus, StartUpCheckMarksAndClicksThatDoNotFlipThem) {
  QWidget stage;
  StageMenus menus(&stage);
  QAction* hide = menus.action(StageCommand::ToggleMenuBar);
  QAction* text = menus.action(StageCommand::TextMode);
  QAction* picture = menus.action(StageCommand::PictureMode);
  EXPECT_TRUE(hide->isChecked());
  EXPECT_TRUE(text->isChecked());
  EXPECT_FALSE(picture->isChecked());
  EXPECT_FALSE(menus.action(StageCommand::ToggleLayoutEdit)->isChecked());
  EXPECT_TRUE(menus.defaultBackgroundAction()->isChecked());

  std::vector<StageCommand> triggered;
  QObject::connect(&menus, &StageMenus::commandTriggered, [&](StageCommand c) { triggered.push_back(c); });
  picture->trigger();
  EXPECT_EQ(triggered, std::vector<StageCommand>{StageCommand::PictureMode});
  // The command, not the click, decides the marks.
  EXPECT_TRUE(text->isChecked());
  EXPECT_FALSE(picture->isChecked());
  menus.SetTextMode(false);
  EXPECT_FALSE(text->isChecked());
  EXPECT_TRUE(picture->isChecked());

  menus.SetMenuBarShown(true);
  EXPECT_FALSE(hide->isChecked());
  menus.SetMenuBarShown(false);
  EXPECT_TRUE(hide->isChecked());

  menus.defaultBackgroundAction()->trigger();
  EXPECT_TRUE(menus.defaultBackgroundAction()->isChecked());
}

TEST(StageMenus, ItemsOfWindowsNotYetBuiltAreDisabled) {
  QWidget stage;
  StageMenus menus(&stage);
  for (StageCommand c : {StageCommand::Abandon, StageCommand::Supplement, StageCommand::PrizeChange})
    EXPECT_FALSE(menus.action(c)->isEnabled()) << menus.action(c)->text().toStdString();
  for (StageCommand c : {StageCommand::Minimise,        StageCommand::Quit,
                         StageCommand::ToggleMusic,     StageCommand::TextMode,
                         StageCommand::PictureMode,     StageCommand::ToggleMenuBar,
                         StageCommand::ExtendedDisplay, StageCommand::Restart,
                         StageCommand::StartFrom,       StageCommand::Undo,
                         StageCommand::HelpTips,        StageCommand::AwardSettings,
                         StageCommand::WinnerShow,      StageCommand::LatestBatch,
                         StageCommand::WinnerList,      StageCommand::NonWinnerList,
                         StageCommand::FontsAndColours, StageCommand::LockScreen,
                         StageCommand::SoundSettings,   StageCommand::EditList,
                         StageCommand::AwardGroups})
    EXPECT_TRUE(menus.action(c)->isEnabled()) << menus.action(c)->text().toStdString();
  // The list editor is the text-mode one; the picture list editor is not built yet.
  menus.SetTextMode(false);
  EXPECT_FALSE(menus.action(StageCommand::EditList)->isEnabled());
  menus.SetTextMode(true);
  EXPECT_TRUE(menus.action(StageCommand::EditList)->isEnabled());
}

TEST(StageMenuBar, ButtonsOpenTheirPopupsBelowTheBar) {
  QWidget stage;
  stage.setGeometry(0, 0, 800, 600);
  StageMenus menus(&stage);
  StageMenuBar bar(&menus, &stage);
  bar.move(30, 80);
  stage.show();
  const int xs[] = {30, 70, 110, 150};
  for (int i = 0; i < StageMenus::kPopupCount; ++i) {
    auto which = static_cast<StageMenus::Popup>(i);
    EXPECT_EQ(bar.button(which)->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(bar.PopupPosition(which) - stage.mapToGlobal(QPoint(0, 0)), QPoint(xs[i], 80 + 22));
  }
  bar.button(StageMenus::kFunctions)->click();
  EXPECT_TRUE(menus.menu(StageMenus::kFunctions)->isVisible());
  menus.menu(StageMenus::kFunctions)->close();
}

}  // namespace
}  // namespace kavrel
