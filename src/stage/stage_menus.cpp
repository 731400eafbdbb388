#include "stage/stage_menus.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
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

// "编辑抽奖人员名单(T)" is shown with T as its accelerator: the letter in brackets, typed while the
// popup is open, chooses the item. The item keeps the design text as its name.
QString WithAccelerator(const char* text) {
  QString shown = QString::fromUtf8(text);
  static const QRegularExpression letter(QStringLiteral("\\(([A-Z])\\)"));
  const QRegularExpressionMatch m = letter.match(shown);
  if (m.hasMatch()) shown.insert(m.capturedStart(1), QLatin1Char('&'));
  return shown;
}

}  // namespace

StageMenus::StageMenus(QWidget* parent) : QObject(parent) {
  const char* const titles[kPopupCount] = {"界面", "设定", "功能", "帮助"};
  for (int i = 0; i < kPopupCount; ++i) {
    menus_[i] = new QMenu(QString::fromUtf8(titles[i]), parent);
    menus_[i]->setObjectName(QString::fromUtf8(titles[i]));
    menus_[i]->setStyleSheet(QString::fromUtf8(kMenuStyle));
  }

  QMenu* ui = menus_[kInterface];
  QMenu* background = ui->addMenu(WithAccelerator("更改背景图片(S)"));
  background->setStyleSheet(QString::fromUtf8(kMenuStyle));
  AddItem(background, "自定义", StageCommand::CustomBackground);
  background->addSeparator();
  // "默认" is checked while the built-in picture is on the stage; choosing it brings that picture back.
  defaultBackground_ = AddItem(background, "默认", StageCommand::DefaultBackground, true);
  defaultBackground_->setChecked(true);
  AddItem(ui, "更改界面位置(T)", StageCommand::ToggleLayoutEdit, true);
  AddItem(ui, "恢复默认位置(U)", StageCommand::RestoreDefaultPositions);
  AddItem(ui, "修改字体和颜色", StageCommand::FontsAndColours);
  AddItem(ui, "恢复默认字体和颜色", StageCommand::RestoreDefaultLook);
  ui->addSeparator();
  AddItem(ui, "锁定屏幕(X)", StageCommand::LockScreen);
  AddItem(ui, "最小化窗口(Y)   F11", StageCommand::Minimise);
  AddItem(ui, "关闭软件(Z)  F12", StageCommand::Quit);

  QMenu* settings = menus_[kSettings];
  AddItem(settings, "编辑抽奖人员名单(T)", StageCommand::EditList);
  AddItem(settings, "主副标题/奖项设定(U)", StageCommand::AwardSettings);
  settings->addSeparator();
  AddItem(settings, "奖项分组设置(V)", StageCommand::AwardGroups);
  settings->addSeparator();
  AddItem(settings, "抽奖音效设置(W)", StageCommand::SoundSettings);
  AddItem(settings, "播放或停止背景音乐    F9", StageCommand::ToggleMusic);
  settings->addSeparator();
  AddItem(settings, "文字(号码)抽奖模式(X)", StageCommand::TextMode, true);
  AddItem(settings, "图片(照片)抽奖模式(Y)", StageCommand::PictureMode, true);
  settings->addSeparator();
  AddItem(settings, "自动隐藏主菜单(ESC)", StageCommand::ToggleMenuBar, true);
  AddItem(settings, "显示到扩展显示屏(Z)", StageCommand::ExtendedDisplay);
  AddItem(settings, "现场手机互动", StageCommand::PhoneInteraction);

  QMenu* functions = menus_[kFunctions];
  AddItem(functions, "展示中奖人员名单(O)   F6", StageCommand::WinnerShow);
  AddItem(functions, "中奖墙   F10", StageCommand::WinnersWall);
  AddItem(functions, "显示中奖人员名单(P)   F7", StageCommand::LatestBatch);
  AddItem(functions, "查看中奖名单(Q)", StageCommand::WinnerList);
  AddItem(functions, "查看未中奖名单(R)", StageCommand::NonWinnerList);
  functions->addSeparator();
  AddItem(functions, "导出中奖名单", StageCommand::ExportWinners);
  AddItem(functions, "历史抽奖记录", StageCommand::DrawHistory);
  AddItem(functions, "公证信息", StageCommand::NotaryInfo);
  AddItem(functions, "现场随机数", StageCommand::AudienceNumber);
  functions->addSeparator();
  AddItem(functions, "重新开始抽奖(T)   F1", StageCommand::Restart);
  AddItem(functions, "从某奖项开始抽(U)", StageCommand::StartFrom);
  functions->addSeparator();
  AddItem(functions, "弃奖(V)   F3", StageCommand::Abandon);
  AddItem(functions, "补奖(W)   F4", StageCommand::Supplement);
  AddItem(functions, "临时修改奖品(X)   F8", StageCommand::PrizeChange);
  functions->addSeparator();
  AddItem(functions, "撤销上一批抽奖(Z)   F2", StageCommand::Undo);

  AddItem(menus_[kHelp], "操作提示(Y)", StageCommand::HelpTips);

  SetMenuBarShown(false);
  SetTextMode(true);
  SetLayoutEditMode(false);
}

StageMenus::~StageMenus() = default;

QAction* StageMenus::AddItem(QMenu* menu, const char* text, StageCommand command, bool checkable) {
  QAction* a = menu->addAction(WithAccelerator(text));
  a->setObjectName(QString::fromUtf8(text));
  a->setCheckable(checkable);
  a->setEnabled(CommandAvailable(command));
  connect(a, &QAction::triggered, this, [this, a, command] {
    // Qt flips a checkable item on click; undo that, the command decides the mark from the state.
    if (a->isCheckable()) a->setChecked(!a->isChecked());
    emit commandTriggered(command);
  });
  actions_[command] = a;
  return a;
}

QAction* StageMenus::action(StageCommand command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
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
  actions_.at(StageCommand::ToggleMenuBar)->setChecked(!shown);
}

void StageMenus::SetTextMode(bool textMode) {
  actions_.at(StageCommand::TextMode)->setChecked(textMode);
  actions_.at(StageCommand::PictureMode)->setChecked(!textMode);
}

void StageMenus::SetDefaultBackground(bool on) {
  defaultBackground_->setChecked(on);
}

void StageMenus::SetLayoutEditMode(bool on) {
  actions_.at(StageCommand::ToggleLayoutEdit)->setChecked(on);
}

bool StageMenus::TextModeChecked() const {
  return actions_.at(StageCommand::TextMode)->isChecked();
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
    // Keys always go to the dispatcher: a focused button would swallow the space bar.
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
