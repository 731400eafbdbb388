#include "stage/stage_menus.h"

#include "stage/command_actions.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

namespace kavrel {

namespace {

// A festive popup style that matches the stage: dark red with gold text and a gold highlight.
const char* const kMenuStyle =
    "QMenu { font-family: '微软雅黑'; font-size: 10pt; background: #8E0A16; color: #FFE08A;"
    " border: 1px solid #F2B632; padding: 4px 0; }"
    "QMenu::item { padding: 5px 28px 5px 26px; }"
    "QMenu::item:selected { background: #F2B632; color: #5A0610; }"
    "QMenu::item:disabled { color: #B0707A; }"
    "QMenu::separator { height: 1px; background: #C8102E; margin: 4px 8px; }"
    "QMenu::indicator { width: 14px; height: 14px; left: 6px; }";

const char* const kBarButtonStyle =
    "QPushButton { font-family: '微软雅黑'; font-size: 9pt; color: #FFE08A; border: 1px solid #F2B632;"
    " border-radius: 3px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #E0303E, stop:0.5 #C8102E,"
    " stop:1 #8E0A16); }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F24A55, stop:1 #A80D1F); }"
    "QPushButton:pressed { background: #8E0A16; }";

}  // namespace

StageMenus::StageMenus(CommandActions& actions, QWidget* parent) : QObject(parent), actions_(actions) {
  const char* const titles[kPopupCount] = {"界面", "设定", "功能", "帮助"};
  for (int i = 0; i < kPopupCount; ++i) {
    menus_[i] = new QMenu(QString::fromUtf8(titles[i]), parent);
    menus_[i]->setObjectName(QString::fromUtf8(titles[i]));
    menus_[i]->setStyleSheet(QString::fromUtf8(kMenuStyle));
  }

  QMenu* ui = menus_[kInterface];
  QMenu* background = ui->addMenu(QStringLiteral("更改背景图片(&S)"));
  background->setStyleSheet(QString::fromUtf8(kMenuStyle));
  AddItem(background, StageCommand::CustomBackground);
  background->addSeparator();
  // "默认" is checked while the built-in picture is on the stage; choosing it brings that picture back.
  defaultBackground_ = AddItem(background, StageCommand::DefaultBackground);
  defaultBackground_->setChecked(true);
  AddItem(ui, StageCommand::ToggleLayoutEdit);
  AddItem(ui, StageCommand::RestoreDefaultPositions);
  AddItem(ui, StageCommand::FontsAndColours);
  AddItem(ui, StageCommand::RestoreDefaultLook);
  ui->addSeparator();
  AddItem(ui, StageCommand::LockScreen);
  AddItem(ui, StageCommand::Minimise);
  AddItem(ui, StageCommand::Quit);

  QMenu* settings = menus_[kSettings];
  AddItem(settings, StageCommand::EditList);
  AddItem(settings, StageCommand::AwardSettings);
  settings->addSeparator();
  AddItem(settings, StageCommand::AwardGroups);
  settings->addSeparator();
  AddItem(settings, StageCommand::SoundSettings);
  AddItem(settings, StageCommand::ToggleMusic);
  settings->addSeparator();
  AddItem(settings, StageCommand::TextMode);
  AddItem(settings, StageCommand::PictureMode);
  settings->addSeparator();
  AddItem(settings, StageCommand::ToggleMenuBar);
  AddItem(settings, StageCommand::ExtendedDisplay);
  AddItem(settings, StageCommand::PhoneInteraction);

  QMenu* functions = menus_[kFunctions];
  AddItem(functions, StageCommand::WinnerShow);
  AddItem(functions, StageCommand::WinnersWall);
  AddItem(functions, StageCommand::LatestBatch);
  AddItem(functions, StageCommand::WinnerList);
  AddItem(functions, StageCommand::NonWinnerList);
  functions->addSeparator();
  AddItem(functions, StageCommand::ExportWinners);
  AddItem(functions, StageCommand::DrawHistory);
  AddItem(functions, StageCommand::NotaryInfo);
  AddItem(functions, StageCommand::AudienceNumber);
  functions->addSeparator();
  AddItem(functions, StageCommand::Restart);
  AddItem(functions, StageCommand::StartFrom);
  functions->addSeparator();
  AddItem(functions, StageCommand::Abandon);
  AddItem(functions, StageCommand::Supplement);
  AddItem(functions, StageCommand::PrizeChange);
  functions->addSeparator();
  AddItem(functions, StageCommand::Undo);

  AddItem(menus_[kHelp], StageCommand::HelpTips);

  SetMenuBarShown(false);
  SetTextMode(true);
  SetLayoutEditMode(false);
}

StageMenus::~StageMenus() = default;

QAction* StageMenus::AddItem(QMenu* menu, StageCommand command) {
  QAction* a = actions_.Action(command);
  menu->addAction(a);
  return a;
}

QAction* StageMenus::action(StageCommand command) const {
  return command == StageCommand::BlankScreen ? nullptr : actions_.Action(command);
}

void StageMenus::ShowPopupMenu(Popup which, const QPoint& screenPos) {
  menus_[which]->popup(screenPos);
}

bool StageMenus::AnyPopupOpen() const {
  for (QMenu* m : menus_)
    if (m->isVisible()) return true;
  return false;
}

void StageMenus::SetMenuBarShown(bool shown) {
  actions_.Action(StageCommand::ToggleMenuBar)->setChecked(!shown);
}

void StageMenus::SetTextMode(bool textMode) {
  actions_.Action(StageCommand::TextMode)->setChecked(textMode);
  actions_.Action(StageCommand::PictureMode)->setChecked(!textMode);
}

void StageMenus::SetDefaultBackground(bool on) {
  defaultBackground_->setChecked(on);
}

void StageMenus::SetLayoutEditMode(bool on) {
  actions_.Action(StageCommand::ToggleLayoutEdit)->setChecked(on);
}

bool StageMenus::TextModeChecked() const {
  return actions_.Action(StageCommand::TextMode)->isChecked();
}

StageMenuBar::StageMenuBar(StageMenus* menus, QWidget* parent) : QFrame(parent), menus_(menus) {
  setObjectName(QStringLiteral("外形框_菜单"));
  setFixedSize(160, 22);
  setStyleSheet(QStringLiteral("#外形框_菜单 { background: transparent; border: none; }"));
  const char* const names[StageMenus::kPopupCount] = {"按钮_界面", "按钮_设定", "按钮_功能", "按钮_帮助"};
  for (int i = 0; i < StageMenus::kPopupCount; ++i) {
    auto* b = new QPushButton(menus->menu(static_cast<StageMenus::Popup>(i))->title(), this);
    b->setObjectName(QString::fromUtf8(names[i]));
    b->setGeometry(40 * i, 1, 40, 20);
    // A focused button would take the space bar from the start/stop key.
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QString::fromUtf8(kBarButtonStyle));
    // clicked fires when the left button is released over the button, which is when the popup opens.
    connect(b, &QPushButton::clicked, this, [this, i] {
      auto which = static_cast<StageMenus::Popup>(i);
      menus_->ShowPopupMenu(which, PopupPosition(which));
    });
    // The bar's buttons never take the focus, so Alt+1 … Alt+4 open their popups from the keyboard
    // while the bar is shown; inside a popup the arrow keys and Return choose the item.
    auto* key = new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)), parent);
    connect(key, &QShortcut::activated, this, [this, b] {
      if (isVisible()) b->click();
    });
    buttons_[i] = b;
  }
}

QPoint StageMenuBar::PopupPosition(StageMenus::Popup which) const {
  return mapToGlobal(QPoint(buttons_[which]->x(), height()));
}

}  // namespace kavrel
