#include "console/operator_console_window.h"

#include <QAction>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "console/console_texts.h"
#include "console/stage_thumbnail.h"
#include "engine/draw_session.h"
#include "stage/command_actions.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

// The stage's picture: smaller on a laptop screen (1366 x 768, 1280 x 720), so that nothing scrolls.
constexpr QSize kThumbnailSize(384, 216);
constexpr QSize kSmallThumbnailSize(288, 162);
constexpr int kSmallThumbnailBelowHeight = 800;

struct CommandButton {
  StageCommand command;
  const char* text;  // with its key, so the operator learns the keys from the buttons
  const char* name;
};

// Grouped as the operator thinks of them during an event, the draw first.
constexpr CommandButton kDrawButtons[] = {
    {StageCommand::Undo, "撤销上一批  F2", "按钮_撤销上一批"},
    {StageCommand::Restart, "重新开始抽奖  F1", "按钮_重新开始抽奖"},
    {StageCommand::StartFrom, "从某奖项开始抽", "按钮_从某奖项开始抽"},
    {StageCommand::Abandon, "弃奖  F3", "按钮_弃奖"},
    {StageCommand::Supplement, "补奖  F4", "按钮_补奖"},
    {StageCommand::PrizeChange, "临时修改奖品  F8", "按钮_临时修改奖品"},
};
constexpr CommandButton kResultButtons[] = {
    {StageCommand::WinnerShow, "展示中奖人员名单  F6", "按钮_展示中奖人员名单"},
    {StageCommand::WinnersWall, "中奖墙  F10", "按钮_中奖墙"},
    {StageCommand::LatestBatch, "显示本批中奖人员  F7", "按钮_显示中奖人员名单"},
    {StageCommand::WinnerList, "查看中奖名单", "按钮_查看中奖名单"},
    {StageCommand::NonWinnerList, "查看未中奖名单", "按钮_查看未中奖名单"},
    {StageCommand::ExportWinners, "导出中奖名单", "按钮_导出中奖名单"},
    {StageCommand::DrawHistory, "历次抽奖记录", "按钮_历次抽奖记录"},
};
constexpr CommandButton kSettingButtons[] = {
    {StageCommand::EditList, "编辑抽奖人员名单", "按钮_编辑抽奖人员名单"},
    {StageCommand::AwardSettings, "主副标题/奖项设定", "按钮_主副标题奖项设定"},
    {StageCommand::AwardGroups, "奖项分组设置", "按钮_奖项分组设置"},
    {StageCommand::SoundSettings, "抽奖音效设置", "按钮_抽奖音效设置"},
    {StageCommand::ToggleMusic, "播放或停止背景音乐  F9", "按钮_背景音乐"},
    {StageCommand::FontsAndColours, "修改字体和颜色", "按钮_修改字体和颜色"},
};
constexpr CommandButton kStageButtons[] = {
    {StageCommand::ExtendedDisplay, "选择舞台显示屏", "按钮_选择舞台显示屏"},
    {StageCommand::ToggleMenuBar, "舞台菜单  ESC", "按钮_舞台菜单"},
    {StageCommand::LockScreen, "锁定屏幕", "按钮_锁定屏幕"},
    {StageCommand::HelpTips, "操作提示", "按钮_操作提示"},
    {StageCommand::Minimise, "最小化舞台  F11", "按钮_最小化舞台"},
    {StageCommand::Quit, "关闭软件  F12", "按钮_关闭软件"},
};

QLabel* NewLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setTextFormat(Qt::PlainText);  // titles and entries are the user's data, never markup
  return label;
}

}  // namespace

OperatorConsoleWindow::OperatorConsoleWindow(DrawSession& session, StageLink& stage, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), stage_(stage) {
  setObjectName(QStringLiteral("OperatorConsoleWindow"));
  setWindowTitle(QStringLiteral("kavrel抽奖 操作台"));
  // Calm and legible: a light neutral ground, dark text, the festive red kept for what needs the eye.
  setStyleSheet(QStringLiteral(
      "#OperatorConsoleWindow, #面板_操作台 { background: #F6F3EE; }"
      "QLabel { color: #2B2B2B; }"
      "#标签_主标题 { font-size: 20pt; font-weight: bold; color: #8E0A16; }"
      "#标签_副标题 { font-size: 13pt; color: #5A4A3A; }"
      "#标签_状态 { font-size: 16pt; font-weight: bold; color: #1F1F1F; }"
      "#标签_进度 { font-size: 12pt; }"
      "#标签_奖池 { font-size: 12pt; color: #5A4A3A; }"
      "QGroupBox { font-weight: bold; color: #5A4A3A; border: 1px solid #D8CFC2; border-radius: 6px;"
      "  margin-top: 10px; padding-top: 6px; background: #FFFDF9; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }"
      "QPushButton { padding: 6px 10px; border: 1px solid #C9BBA8; border-radius: 5px; background: #FFFFFF; }"
      "QPushButton:hover { background: #FFF3D6; }"
      "QPushButton:disabled { color: #A8A29A; background: #F1EEE9; }"
      "#按钮_开始停止 { font-size: 15pt; font-weight: bold; color: #FFFFFF; background: #A50E1F;"
      "  border: 2px solid #F2B632; padding: 10px; }"
      "#按钮_开始停止:hover { background: #C8102E; }"));

  // The commands stay at the foot, always in view; above them the state, the plan and the winners share
  // what height is left (1280 x 720 and up), and scroll only on a smaller screen (800 x 600).
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  // The stage's own menus (the same items, running the same commands), hidden like the stage's bar
  // until ESC asks for them.
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("菜单栏_舞台"));
  menuBar_->setNativeMenuBar(false);
  for (QMenu* menu : stage_.Menus()) menuBar_->addMenu(menu);
  menuBar_->hide();
  outer->setMenuBar(menuBar_);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("滚动区_操作台"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);
  outer->addWidget(scroll);
  auto* content = new QWidget(scroll);
  content->setObjectName(QStringLiteral("面板_操作台"));
  scroll->setWidget(content);
  auto* root = new QVBoxLayout(content);
  mainTitle_ = NewLabel("标签_主标题", this);
  subTitle_ = NewLabel("标签_副标题", this);
  // Both titles on one line: every line of height counts on a laptop screen.
  auto* titles = new QHBoxLayout();
  titles->addWidget(mainTitle_);
  titles->addSpacing(16);
  titles->addWidget(subTitle_, 1, Qt::AlignBottom);
  root->addLayout(titles);

  auto* columns = new QHBoxLayout();
  root->addLayout(columns, 1);

  // Left: where the draw stands and what comes next.
  auto* left = new QVBoxLayout();
  columns->addLayout(left, 3);
  auto* now = new QGroupBox(QStringLiteral("当前"), this);
  auto* nowLayout = new QVBoxLayout(now);
  phase_ = NewLabel("标签_状态", now);
  progress_ = NewLabel("标签_进度", now);
  progress_->setWordWrap(true);
  pool_ = NewLabel("标签_奖池", now);
  startStop_ = new QPushButton(now);
  startStop_->setObjectName(QStringLiteral("按钮_开始停止"));
  startStop_->setFocusPolicy(Qt::NoFocus);  // a focused button would take the space bar for itself
  connect(startStop_, &QPushButton::clicked, stage_.Actions().StartStop(), &QAction::trigger);
  nowLayout->addWidget(phase_);
  nowLayout->addWidget(progress_);
  nowLayout->addWidget(pool_);
  nowLayout->addWidget(startStop_);
  left->addWidget(now);

  auto* ahead = new QGroupBox(QStringLiteral("抽奖计划（▶ 为当前批次）"), this);
  auto* aheadLayout = new QVBoxLayout(ahead);
  plan_ = new QTableWidget(0, 5, ahead);
  plan_->setObjectName(QStringLiteral("表格_抽奖计划"));
  plan_->setHorizontalHeaderLabels(
      {QString(), QStringLiteral("奖项"), QStringLiteral("批次"), QStringLiteral("人数"), QStringLiteral("奖品")});
  plan_->verticalHeader()->hide();
  plan_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  plan_->setSelectionMode(QAbstractItemView::NoSelection);
  plan_->setFocusPolicy(Qt::NoFocus);
  plan_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  // The columns fit the rows in sight: measured over a plan of a thousand batches at every press, the
  // widths cost more than the change they show.
  plan_->horizontalHeader()->setResizeContentsPrecision(0);
  plan_->horizontalHeader()->setStretchLastSection(true);
  // The plan and the winners take the height left over, down to a few rows, so that a laptop of 1280 x 720
  // shows the whole window without a scroll bar.
  plan_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
  plan_->setMinimumHeight(80);
  aheadLayout->addWidget(plan_);
  left->addWidget(ahead, 1);

  // Right: what the audience sees and who has won.
  auto* right = new QVBoxLayout();
  right_ = right;
  columns->addLayout(right, 2);
  auto* seen = new QGroupBox(QStringLiteral("舞台画面"), this);
  auto* seenLayout = new QVBoxLayout(seen);
  thumbnail_ = NewLabel("画板_舞台画面", seen);
  thumbnail_->setFixedSize(kThumbnailSize);
  thumbnail_->setAlignment(Qt::AlignCenter);
  seenLayout->addWidget(thumbnail_, 0, Qt::AlignHCenter);
  right->addWidget(seen);
  auto* won = new QGroupBox(QStringLiteral("中奖人员（最新的在最上面）"), this);
  auto* wonLayout = new QVBoxLayout(won);
  winners_ = new QListWidget(won);
  winners_->setObjectName(QStringLiteral("列表_中奖人员"));
  winners_->setFocusPolicy(Qt::NoFocus);
  winners_->setSelectionMode(QAbstractItemView::NoSelection);
  winners_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
  winners_->setMinimumHeight(48);
  wonLayout->addWidget(winners_);
  right->addWidget(won, 1);

  outer->addWidget(BuildCommandButtons());

  // Alt+1 … Alt+4 open the four menus here as on the stage, whether or not the bar is shown.
  for (int i = 0; i < 4; ++i) {
    auto* key = new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)), this);
    connect(key, &QShortcut::activated, this, [this, i] { OpenMenu(i); });
  }

  thumbnailTimer_ = new QTimer(this);
  thumbnailTimer_->setObjectName(QStringLiteral("时钟_舞台画面"));
  thumbnailTimer_->setSingleShot(true);
  connect(thumbnailTimer_, &QTimer::timeout, this, &OperatorConsoleWindow::UpdateThumbnail);
  // The lock, a blackout and the result windows change no draw state, so no notice comes: what the next
  // press does is read again a few times a second (two flags and the phase, nothing to draw).
  auto* situationTimer = new QTimer(this);
  situationTimer->setObjectName(QStringLiteral("时钟_操作台状态"));
  connect(situationTimer, &QTimer::timeout, this, &OperatorConsoleWindow::ShowNextPress);
  situationTimer->start(250);

  resize(1100, 720);
  Refresh();
  session_.AddObserver(*this);
}

OperatorConsoleWindow::~OperatorConsoleWindow() {
  session_.RemoveObserver(*this);
}

QWidget* OperatorConsoleWindow::BuildCommandButtons() {
  auto* box = new QGroupBox(
      QStringLiteral(
          "命令（按键在操作台和舞台上都可用；翻页笔的下一页/上一页/F5 等同空格，B/. 黑屏；Alt+1…4 打开菜单）"),
      this);
  auto* grid = new QGridLayout(box);
  auto addRow = [&](int row, const auto& buttons) {
    int column = 0;
    for (const CommandButton& b : buttons) {
      auto* button = new QPushButton(QString::fromUtf8(b.text), box);
      button->setObjectName(QString::fromUtf8(b.name));
      button->setFocusPolicy(Qt::NoFocus);
      // Windows not built yet stay visibly unavailable rather than pretending.
      button->setEnabled(CommandAvailable(b.command));
      const StageCommand command = b.command;
      if (QAction* action = stage_.Actions().Action(command))
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
      else
        connect(button, &QPushButton::clicked, this, [this, command] { stage_.RunCommand(command); });
      grid->addWidget(button, row, column++);
    }
  };
  addRow(0, kDrawButtons);
  addRow(1, kResultButtons);
  addRow(2, kSettingButtons);
  addRow(3, kStageButtons);
  return box;
}

void OperatorConsoleWindow::OpenMenu(int index) {
  const std::vector<QMenu*> menus = stage_.Menus();
  if (index < 0 || index >= static_cast<int>(menus.size())) return;
  QPoint at = mapToGlobal(QPoint(8, 8));
  const QList<QAction*> items = menuBar_->actions();
  if (menuBar_->isVisible() && index < items.size())
    at = menuBar_->mapToGlobal(menuBar_->actionGeometry(items[index]).bottomLeft());
  menus[static_cast<std::size_t>(index)]->popup(at);
}

void OperatorConsoleWindow::ShowMenuBar(bool shown) {
  menuBar_->setVisible(shown);
}

void OperatorConsoleWindow::ScheduleRefresh() {
  if (refreshPending_) return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] { Refresh(); });
}

void OperatorConsoleWindow::Refresh() {
  refreshPending_ = false;
  // The winners appear here when the stage has revealed them; its end refreshes the console.
  if (session_.Revealing()) return;
  const DrawState& state = session_.Draw();
  // The titles the stage shows, as the draw last gave them.
  const std::string& subTitle = session_.Text(StageElement::SubTitle);
  mainTitle_->setText(ToQt(session_.Text(StageElement::MainTitle)));
  subTitle_->setText(ToQt(subTitle));
  subTitle_->setVisible(!subTitle.empty());

  ShowNextPress();
  progress_->setText(ConsoleProgressText(state));
  pool_->setText(ConsolePoolText(state));

  ShowPlan(ConsolePlanRows(state, session_.Rules().forwardOrder));
  ShowWinners();
}

void OperatorConsoleWindow::ShowPlan(std::vector<ConsolePlanRow> rows) {
  // A batch drawn leaves the plan at its front (in drawing order, either way round), so what the
  // table shows and what it should show share their ends: only the rows before differ.
  std::size_t same = 0;
  while (same < rows.size() && same < shownPlan_.size() &&
         rows[rows.size() - 1 - same] == shownPlan_[shownPlan_.size() - 1 - same])
    ++same;
  const int gone = static_cast<int>(shownPlan_.size() - same);
  const int come = static_cast<int>(rows.size() - same);
  if (gone > come)
    plan_->model()->removeRows(0, gone - come);
  else if (come > gone)
    plan_->model()->insertRows(0, come - gone);
  for (int r = 0; r < come; ++r) {
    const ConsolePlanRow& row = rows[static_cast<std::size_t>(r)];
    const QString cells[] = {row.current ? QStringLiteral("▶") : QString(), row.award, row.batch, row.size, row.prize};
    for (int c = 0; c < 5; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (row.current) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        item->setBackground(QColor(0xFF, 0xE0, 0x8A));
        item->setForeground(QColor(0x8E, 0x0A, 0x16));
      }
      plan_->setItem(r, c, item);
    }
  }
  shownPlan_ = std::move(rows);
  for (std::size_t r = 0; r < shownPlan_.size(); ++r)
    if (shownPlan_[r].current) {
      plan_->scrollToItem(plan_->item(static_cast<int>(r), 0));
      break;
    }
}

void OperatorConsoleWindow::ShowWinners() {
  if (session_.WinnersRevision() == shownWinners_) return;
  shownWinners_ = session_.WinnersRevision();
  const std::vector<QString> won = ConsoleWinnerRows(session_.Winners());
  winners_->clear();
  for (const QString& w : won) winners_->addItem(w);
}

void OperatorConsoleWindow::ShowNextPress() {
  const ConsoleNextPress next = ConsoleNextPressText(session_.Draw(), stage_.Situation());
  phase_->setText(next.phase);
  startStop_->setText(next.button);
  startStop_->setEnabled(next.buttonWorks);
}

void OperatorConsoleWindow::AddSidePanel(QWidget* panel) {
  panel->setParent(this);
  right_->addWidget(panel);
}

void OperatorConsoleWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QSize wanted = height() < kSmallThumbnailBelowHeight ? kSmallThumbnailSize : kThumbnailSize;
  if (thumbnail_->size() != wanted) thumbnail_->setFixedSize(wanted);
}

void OperatorConsoleWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!thumbnailTimer_->isActive()) thumbnailTimer_->start(0);
}

void OperatorConsoleWindow::UpdateThumbnail() {
  // Nobody looks at a hidden console or a minimised stage: no cost to the stage then.
  if (!isVisible() || isMinimized()) return;
  QWidget& stage = stage_.Window();
  if (!stage.isMinimized() && stage.isVisible()) {
    QElapsedTimer timer;
    timer.start();
    const QImage picture = RenderStageThumbnail(stage, stage.size().scaled(thumbnail_->size(), Qt::KeepAspectRatio));
    lastThumbnailMs_ = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!picture.isNull()) thumbnail_->setPixmap(QPixmap::fromImage(picture));
  }
  thumbnailTimer_->start(NextThumbnailDelayMs(lastThumbnailMs_));
}

}  // namespace kavrel
