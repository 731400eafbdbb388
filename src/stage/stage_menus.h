#pragma once

#include <QFrame>
#include <QObject>
#include <QPoint>
#include <array>

#include "stage/stage_commands.h"

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace kavrel {

class CommandActions;

// The stage's four popup menus "界面", "设定", "功能" and "帮助", laid out from the program's command
// actions (an item shows its key beside its text). Check marks mirror stage state: the stage sets them
// through the setters below, and a click never flips them by itself.
class StageMenus : public QObject {
  Q_OBJECT

 public:
  enum Popup { kInterface = 0, kSettings = 1, kFunctions = 2, kHelp = 3 };
  static constexpr int kPopupCount = 4;

  StageMenus(CommandActions& actions, QWidget* parent);
  ~StageMenus() override;

  QMenu* menu(Popup which) const { return menus_[which]; }
  // The item that runs a command; nullptr for commands that have no item (start, stop).
  QAction* action(StageCommand command) const;
  QAction* defaultBackgroundAction() const { return defaultBackground_; }

  // Opens a popup with its top-left corner at a screen position.
  void ShowPopupMenu(Popup which, const QPoint& screenPos);
  bool AnyPopupOpen() const;

  void SetMenuBarShown(bool shown);    // "自动隐藏主菜单(ESC)" is checked while the bar is hidden
  void SetTextMode(bool textMode);     // exactly one of the two mode items is checked
  void SetLayoutEditMode(bool on);     // "更改界面位置(T)"
  void SetDefaultBackground(bool on);  // "默认" under "更改背景图片(S)"
  bool TextModeChecked() const;

 private:
  QAction* AddItem(QMenu* menu, StageCommand command);

  std::array<QMenu*, kPopupCount> menus_{};
  CommandActions& actions_;
  QAction* defaultBackground_ = nullptr;
};

// The menu bar box "外形框_菜单": four small buttons that open the popups, hidden during a show.
// While it is shown, Alt+1 … Alt+4 open the four popups as a click on their buttons does.
class StageMenuBar : public QFrame {
  Q_OBJECT

 public:
  StageMenuBar(StageMenus* menus, QWidget* parent);

  QPushButton* button(StageMenus::Popup which) const { return buttons_[which]; }
  // Where a button's popup opens: the button's left edge, directly below the bar.
  QPoint PopupPosition(StageMenus::Popup which) const;

 private:
  StageMenus* menus_;
  std::array<QPushButton*, StageMenus::kPopupCount> buttons_{};
};

}  // namespace kavrel
