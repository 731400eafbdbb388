#include "stage/command_actions.h"

#include <QAction>
#include <QRegularExpression>
#include <QWidget>

namespace kavrel {

namespace {

// The items of the stage's menus by their design names. A name may end with the item's key
// ("弃奖(V)   F3"): the key becomes the action's shortcut, which the menu draws beside the text.
struct Item {
  StageCommand command;
  const char* designName;
  bool checkable;
};
constexpr Item kItems[] = {
    {StageCommand::CustomBackground, "自定义", false},
    {StageCommand::DefaultBackground, "默认", true},
    {StageCommand::ToggleLayoutEdit, "更改界面位置(T)", true},
    {StageCommand::RestoreDefaultPositions, "恢复默认位置(U)", false},
    {StageCommand::FontsAndColours, "修改字体和颜色", false},
    {StageCommand::RestoreDefaultLook, "恢复默认字体和颜色", false},
    {StageCommand::LockScreen, "锁定屏幕(X)", false},
    {StageCommand::Minimise, "最小化窗口(Y)   F11", false},
    {StageCommand::Quit, "关闭软件(Z)  F12", false},
    {StageCommand::EditList, "编辑抽奖人员名单(T)", false},
    {StageCommand::AwardSettings, "主副标题/奖项设定(U)", false},
    {StageCommand::AwardGroups, "奖项分组设置(V)", false},
    {StageCommand::SoundSettings, "抽奖音效设置(W)", false},
    {StageCommand::ToggleMusic, "播放或停止背景音乐    F9", false},
    {StageCommand::TextMode, "文字(号码)抽奖模式(X)", true},
    {StageCommand::PictureMode, "图片(照片)抽奖模式(Y)", true},
    {StageCommand::ToggleMenuBar, "自动隐藏主菜单(ESC)", true},
    {StageCommand::ExtendedDisplay, "显示到扩展显示屏(Z)", false},
    {StageCommand::PhoneInteraction, "现场手机互动", false},
    {StageCommand::WinnerShow, "展示中奖人员名单(O)   F6", false},
    {StageCommand::WinnersWall, "中奖墙   F10", false},
    {StageCommand::LatestBatch, "显示中奖人员名单(P)   F7", false},
    {StageCommand::WinnerList, "查看中奖名单(Q)", false},
    {StageCommand::NonWinnerList, "查看未中奖名单(R)", false},
    {StageCommand::ExportWinners, "导出中奖名单", false},
    {StageCommand::DrawHistory, "历史抽奖记录", false},
    {StageCommand::NotaryInfo, "公证信息", false},
    {StageCommand::AudienceNumber, "现场随机数", false},
    {StageCommand::Restart, "重新开始抽奖(T)   F1", false},
    {StageCommand::StartFrom, "从某奖项开始抽(U)", false},
    {StageCommand::Abandon, "弃奖(V)   F3", false},
    {StageCommand::Supplement, "补奖(W)   F4", false},
    {StageCommand::PrizeChange, "临时修改奖品(X)   F8", false},
    {StageCommand::Undo, "撤销上一批抽奖(Z)   F2", false},
    {StageCommand::HelpTips, "操作提示(Y)", false},
};

// "编辑抽奖人员名单(T)" is shown with T as its accelerator: the letter in brackets, typed while the
// popup is open, chooses the item.
QString WithAccelerator(QString shown) {
  static const QRegularExpression letter(QStringLiteral("\\(([A-Z])\\)"));
  const QRegularExpressionMatch m = letter.match(shown);
  if (m.hasMatch()) shown.insert(m.capturedStart(1), QLatin1Char('&'));
  return shown;
}

void PressOnly(QAction* a) {
  // Each press once, from the stage's window or the console's, whichever has the keyboard.
  a->setShortcutContext(Qt::WindowShortcut);
  a->setAutoRepeat(false);
}

}  // namespace

CommandActions::CommandActions(QObject* parent) : QObject(parent) {
  static const QRegularExpression namedKey(QStringLiteral("\\s+(F\\d+)$"));
  for (const Item& item : kItems) {
    QAction* a = Add(item.command, item.designName, item.checkable);
    QString text = QString::fromUtf8(item.designName);
    const QRegularExpressionMatch key = namedKey.match(text);
    if (key.hasMatch()) {
      a->setShortcut(QKeySequence(key.captured(1)));
      text.truncate(key.capturedStart());
      keyed_ << a;
    }
    a->setText(WithAccelerator(text));
  }
  startStop_ = KeyOnly("开始/停止", {QKeySequence(Qt::Key_Space), QKeySequence(Qt::Key_F5)});
  connect(startStop_, &QAction::triggered, this, &CommandActions::startStopPressed);
  QAction* next = KeyOnly("下一页", {QKeySequence(Qt::Key_PageDown)});
  connect(next, &QAction::triggered, this, [this] { emit pagePressed(true); });
  QAction* back = KeyOnly("上一页", {QKeySequence(Qt::Key_PageUp)});
  connect(back, &QAction::triggered, this, [this] { emit pagePressed(false); });
  QAction* escape = KeyOnly("ESC", {QKeySequence(Qt::Key_Escape)});
  connect(escape, &QAction::triggered, this, &CommandActions::escapePressed);
  QAction* blank = KeyOnly("黑屏", {QKeySequence(Qt::Key_B), QKeySequence(Qt::Key_Period)});
  connect(blank, &QAction::triggered, this, [this] { emit commandTriggered(StageCommand::BlankScreen); });
  actions_[StageCommand::BlankScreen] = blank;
}

CommandActions::~CommandActions() = default;

QAction* CommandActions::Add(StageCommand command, const char* designName, bool checkable) {
  auto* a = new QAction(this);
  a->setObjectName(QString::fromUtf8(designName));
  a->setCheckable(checkable);
  a->setEnabled(CommandAvailable(command));
  PressOnly(a);
  connect(a, &QAction::triggered, this, [this, a, command] {
    // Qt flips a checkable item when it is chosen; undo that, the command decides the mark from the state.
    if (a->isCheckable()) a->setChecked(!a->isChecked());
    emit commandTriggered(command);
  });
  actions_[command] = a;
  return a;
}

QAction* CommandActions::KeyOnly(const char* name, const QList<QKeySequence>& keys) {
  auto* a = new QAction(QString::fromUtf8(name), this);
  a->setObjectName(QString::fromUtf8(name));
  a->setShortcuts(keys);
  PressOnly(a);
  keyed_ << a;
  return a;
}

QAction* CommandActions::Action(StageCommand command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void CommandActions::TakeKeys(QWidget* window) const {
  window->addActions(keyed_);
}

void CommandActions::DropKeys(QWidget* window) const {
  for (QAction* a : keyed_) window->removeAction(a);
}

}  // namespace kavrel
