#include "stage/stage_menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "stage/command_actions.h"

namespace kavrel {
namespace {

// What the operator reads in a menu is what the key does, and a key runs one command once: pressed in
// a window that took the keys, every key runs its action (no two actions share a key, which would make
// Qt run neither); the menu item shows that key beside a text that no longer spells it out.
TEST(CommandActions, EveryKeyRunsItsCommandOnceFromAWindowThatTookThem) {
  QWidget window;
  CommandActions actions;
  StageMenus menus(actions, &window);
  actions.TakeKeys(&window);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  std::vector<std::string> ran;
  QObject::connect(&actions, &CommandActions::commandTriggered,
                   [&](StageCommand c) { ran.push_back("command " + std::to_string(static_cast<int>(c))); });
  QObject::connect(&actions, &CommandActions::startStopPressed, [&] { ran.push_back("start/stop"); });
  QObject::connect(&actions, &CommandActions::pagePressed,
                   [&](bool forward) { ran.push_back(forward ? "next" : "back"); });
  QObject::connect(&actions, &CommandActions::escapePressed, [&] { ran.push_back("escape"); });
  auto command = [](StageCommand c) {
    return std::vector<std::string>{"command " + std::to_string(static_cast<int>(c))};
  };
  const std::map<Qt::Key, StageCommand> items = {
      {Qt::Key_F1, StageCommand::Restart},      {Qt::Key_F2, StageCommand::Undo},
      {Qt::Key_F3, StageCommand::Abandon},      {Qt::Key_F4, StageCommand::Supplement},
      {Qt::Key_F6, StageCommand::WinnerShow},   {Qt::Key_F7, StageCommand::LatestBatch},
      {Qt::Key_F8, StageCommand::PrizeChange},  {Qt::Key_F9, StageCommand::ToggleMusic},
      {Qt::Key_F10, StageCommand::WinnersWall}, {Qt::Key_F11, StageCommand::Minimise},
      {Qt::Key_F12, StageCommand::Quit}};
  for (const auto& [key, c] : items) {
    ran.clear();
    QTest::keyClick(&window, key);
    EXPECT_EQ(ran, command(c)) << QKeySequence(key).toString().toStdString();
    QAction* item = menus.action(c);
    EXPECT_EQ(item->shortcut(), QKeySequence(key));
    EXPECT_FALSE(item->text().contains(QKeySequence(key).toString())) << item->text().toStdString();
    EXPECT_TRUE(item->objectName().endsWith(QKeySequence(key).toString())) << "the design name keeps its key";
  }
  const std::vector<std::pair<Qt::Key, std::vector<std::string>>> keys = {
      {Qt::Key_Space, {"start/stop"}},
      {Qt::Key_F5, {"start/stop"}},
      {Qt::Key_PageDown, {"next"}},
      {Qt::Key_PageUp, {"back"}},
      {Qt::Key_Escape, {"escape"}},
      {Qt::Key_B, command(StageCommand::BlankScreen)},
      {Qt::Key_Period, command(StageCommand::BlankScreen)},
      {Qt::Key_A, {}},
      {Qt::Key_Return, {}}};
  for (const auto& [key, expected] : keys) {
    ran.clear();
    QTest::keyClick(&window, key);
    EXPECT_EQ(ran, expected) << QKeySequence(key).toString().toStdString();
  }
  // A click on an item runs its command once too.
  ran.clear();
  menus.action(StageCommand::Undo)->trigger();
  EXPECT_EQ(ran, command(StageCommand::Undo));
}

TEST(StageMenus, StartUpCheckMarksAndClicksThatDoNotFlipThem) {
  QWidget stage;
  CommandActions actions;
  StageMenus menus(actions, &stage);
  QAction* hide = menus.action(StageCommand::ToggleMenuBar);
  QAction* text = menus.action(StageCommand::TextMode);
  QAction* picture = menus.action(StageCommand::PictureMode);
  EXPECT_TRUE(hide->isChecked());
  EXPECT_TRUE(text->isChecked());
  EXPECT_FALSE(picture->isChecked());
  EXPECT_FALSE(menus.action(StageCommand::ToggleLayoutEdit)->isChecked());
  EXPECT_TRUE(menus.defaultBackgroundAction()->isChecked());

  std::vector<StageCommand> triggered;
  QObject::connect(&actions, &CommandActions::commandTriggered, [&](StageCommand c) { triggered.push_back(c); });
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

TEST(StageMenus, EveryItemWithAWindowIsEnabled) {
  QWidget stage;
  CommandActions actions;
  StageMenus menus(actions, &stage);
  for (StageCommand c : {StageCommand::Abandon,       StageCommand::Supplement,
                         StageCommand::PrizeChange,   StageCommand::Minimise,
                         StageCommand::Quit,          StageCommand::ToggleMusic,
                         StageCommand::TextMode,      StageCommand::PictureMode,
                         StageCommand::ToggleMenuBar, StageCommand::ExtendedDisplay,
                         StageCommand::Restart,       StageCommand::StartFrom,
                         StageCommand::Undo,          StageCommand::HelpTips,
                         StageCommand::AwardSettings, StageCommand::WinnerShow,
                         StageCommand::LatestBatch,   StageCommand::WinnerList,
                         StageCommand::NonWinnerList, StageCommand::FontsAndColours,
                         StageCommand::LockScreen,    StageCommand::SoundSettings,
                         StageCommand::EditList,      StageCommand::AwardGroups})
    EXPECT_TRUE(menus.action(c)->isEnabled()) << menus.action(c)->text().toStdString();
  // The list editor opens in both modes (the picture list editor in picture mode).
  menus.SetTextMode(false);
  EXPECT_TRUE(menus.action(StageCommand::EditList)->isEnabled());
}

TEST(StageMenuBar, ButtonsOpenTheirPopupsBelowTheBar) {
  QWidget stage;
  stage.setGeometry(0, 0, 800, 600);
  CommandActions actions;
  StageMenus menus(actions, &stage);
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

  // The letter in brackets chooses its item while the popup is open.
  std::vector<StageCommand> triggered;
  QObject::connect(&actions, &CommandActions::commandTriggered, [&](StageCommand c) { triggered.push_back(c); });
  bar.button(StageMenus::kSettings)->click();
  QTest::keyClick(menus.menu(StageMenus::kSettings), Qt::Key_T);
  EXPECT_EQ(triggered, std::vector<StageCommand>{StageCommand::EditList});
  EXPECT_EQ(menus.action(StageCommand::EditList)->objectName(), QStringLiteral("编辑抽奖人员名单(T)"));
}

}  // namespace
}  // namespace kavrel
