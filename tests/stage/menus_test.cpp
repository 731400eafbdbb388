#include "stage/stage_menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>
#include <map>
#include <vector>

#include "stage/key_dispatcher.h"

namespace kavrel {
namespace {

// The hotkey an item names ("…   F6", "…(ESC)") as a Qt key; 0 when it names none.
int NamedKey(const QString& text) {
  static const QRegularExpression functionKey(QStringLiteral("\\bF(\\d+)\\s*$"));
  const QRegularExpressionMatch m = functionKey.match(text);
  if (m.hasMatch()) return Qt::Key_F1 + m.captured(1).toInt() - 1;
  return text.contains(QStringLiteral("(ESC)")) ? Qt::Key_Escape : 0;
}

// What the operator reads in a menu is what the key does: every key an item names runs that item's
// command through the same path a key press on the stage takes, whether or not a roll is on; every
// key that runs a command is named by exactly one item; a click runs its command once, with no Qt
// shortcut that would run it a second time.
TEST(StageMenus, EveryNamedHotkeyRunsItsItemAndEveryHotkeyIsNamed) {
  QWidget stage;
  StageMenus menus(&stage);
  std::vector<StageCommand> triggered;
  QObject::connect(&menus, &StageMenus::commandTriggered, [&](StageCommand c) { triggered.push_back(c); });
  std::map<int, int> timesNamed;
  for (int i = static_cast<int>(StageCommand::None); i <= static_cast<int>(StageCommand::HelpTips); ++i) {
    const auto command = static_cast<StageCommand>(i);
    QAction* item = menus.action(command);
    if (item == nullptr) continue;
    const std::string text = item->text().toStdString();
    EXPECT_TRUE(item->shortcut().isEmpty()) << text;
    if (item->isEnabled()) {
      triggered.clear();
      item->trigger();
      EXPECT_EQ(triggered, std::vector<StageCommand>{command}) << text;
    }
    const int key = NamedKey(item->text());
    if (key == 0) continue;
    ++timesNamed[key];
    const int virtualKey = VirtualKeyFromQtKey(key);
    EXPECT_EQ(DispatchKey(virtualKey, false), command) << text;
    EXPECT_EQ(DispatchKey(virtualKey, true), command) << text << " while rolling";
  }
  for (int key = Qt::Key_Escape; key <= Qt::Key_F35; ++key) {
    const StageCommand command = DispatchKey(VirtualKeyFromQtKey(key), false);
    // The presenter keys stand for the space bar, which names no menu item either.
    if (command == StageCommand::None || command == StageCommand::Start) continue;
    EXPECT_EQ(timesNamed[key], 1) << "key " << QKeySequence(key).toString().toStdString();
  }
  EXPECT_FALSE(timesNamed.empty());
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

TEST(StageMenus, EveryItemWithAWindowIsEnabled) {
  QWidget stage;
  StageMenus menus(&stage);
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

  // The letter in brackets chooses its item while the popup is open.
  std::vector<StageCommand> triggered;
  QObject::connect(&menus, &StageMenus::commandTriggered, [&](StageCommand c) { triggered.push_back(c); });
  bar.button(StageMenus::kSettings)->click();
  QTest::keyClick(menus.menu(StageMenus::kSettings), Qt::Key_T);
  EXPECT_EQ(triggered, std::vector<StageCommand>{StageCommand::EditList});
  EXPECT_EQ(menus.action(StageCommand::EditList)->objectName(), QStringLiteral("编辑抽奖人员名单(T)"));
}

}  // namespace
}  // namespace kavrel
