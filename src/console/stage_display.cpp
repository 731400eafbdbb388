#include "console/stage_display.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "console/operator_console_window.h"
#include "console/stage_link.h"
#include "console/stage_screen_window.h"
#include "engine/draw_session.h"
#include "engine/ports/prompter.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/stage_settings.h"

namespace kavrel {

StageDisplay::StageDisplay(StageLink& stage, DrawSession& session, Prompter& prompter, const ProgramDir& dir,
                           std::function<void(QWidget*)> operatorParent)
    : stage_(stage),
      session_(session),
      prompter_(prompter),
      settings_(dir.Path(ProgramDir::kConfigIni)),
      operatorParent_(std::move(operatorParent)),
      plan_(ToQt(LoadStageScreen(settings_))) {
  stage_.SetScreenChooser([this] { ChooseScreen(); });
  stage_.Window().installEventFilter(this);
}

bool StageDisplay::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close) {
    // The program ends with its stage: a console left open would keep it running without one.
    if (watched == &stage_.Window() && console_) console_->close();
    // The operator closed the console: the stage takes the keys and the boxes again until the console
    // is brought back with "显示到扩展显示屏(Z)".
    if (console_ && watched == console_.get()) {
      stage_.SetMenuHost({});
      stage_.SetOperatorWindow(nullptr);
      if (operatorParent_) operatorParent_(&stage_.Window());
      stage_.Window().activateWindow();
      stage_.Window().setFocus();
    }
  }
  return QObject::eventFilter(watched, event);
}

void StageDisplay::FocusOperator() {
  if (!console_ || !console_->isVisible()) return;
  console_->raise();
  console_->activateWindow();
}

StageDisplay::~StageDisplay() {
  stage_.SetScreenChooser({});
  stage_.SetMenuHost({});
  stage_.SetOperatorWindow(nullptr);
}

std::vector<ScreenInfo> StageDisplay::Describe(const std::vector<QScreen*>& screens) {
  std::vector<ScreenInfo> infos;
  for (QScreen* s : screens) infos.push_back({s->name(), s->geometry(), s == QGuiApplication::primaryScreen()});
  return infos;
}

void StageDisplay::Start() {
  connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen*) { ScreensChanged(nullptr); });
  connect(qApp, &QGuiApplication::screenRemoved, this, [this](QScreen* s) { ScreensChanged(s); });
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, [this](QScreen*) { ScreensChanged(nullptr); });
  const QList<QScreen*> screens = QGuiApplication::screens();
  Place(std::vector<QScreen*>(screens.begin(), screens.end()));
}

void StageDisplay::ScreensChanged(QScreen* removed) {
  // At once, so the audience does not look at a black projector while the system decides; the
  // removed screen may still be listed while its signal runs.
  QList<QScreen*> screens = QGuiApplication::screens();
  screens.removeAll(removed);
  Place(std::vector<QScreen*>(screens.begin(), screens.end()));
}

void StageDisplay::Place(const std::vector<QScreen*>& screens) {
  placement_ = plan_.Place(Describe(screens));
  QScreen* stageScreen = placement_.stage >= 0 ? screens[static_cast<std::size_t>(placement_.stage)] : nullptr;
  stage_.MoveToScreen(stageScreen);

  if (placement_.console < 0) {
    const bool consoleWasUp = console_ && console_->isVisible();
    if (console_) console_->hide();
    if (consoleWasUp) stage_.SetMenuHost({});
    stage_.SetOperatorWindow(nullptr);
    if (operatorParent_) operatorParent_(&stage_.Window());
    // The keys go back to the stage, or the next press of space would reach nothing.
    if (consoleWasUp) {
      stage_.Window().activateWindow();
      stage_.Window().setFocus();
    }
    return;
  }
  QScreen* consoleScreen = screens[static_cast<std::size_t>(placement_.console)];
  const bool wasUp = console_ && console_->isVisible();
  if (!console_) {
    console_ = std::make_unique<OperatorConsoleWindow>(session_, stage_);
    console_->installEventFilter(this);
    if (consolePanel_) console_->AddSidePanel(consolePanel_());
  }
  if (console_->screen() != consoleScreen) {
    console_->hide();  // a new native window on another X screen is mapped by the show below
    console_->setScreen(consoleScreen);
  }
  // A normal window on the laptop's screen, inside the part not taken by task bars.
  const QRect area = consoleScreen->availableGeometry();
  const QSize size(std::min(1200, area.width() - 40), std::min(800, area.height() - 60));
  console_->setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
  console_->show();
  console_->raise();
  console_->activateWindow();
  console_->Refresh();
  // Set again only when the console comes up: a move between screens keeps the bar as it is.
  if (!wasUp) stage_.SetMenuHost([console = console_.get()](bool shown) { console->ShowMenuBar(shown); });
  stage_.SetOperatorWindow(console_.get());
  if (operatorParent_) operatorParent_(console_.get());
}

void StageDisplay::ChooseScreen() {
  const QList<QScreen*> list = QGuiApplication::screens();
  const std::vector<QScreen*> screens(list.begin(), list.end());
  if (screens.size() < 2) {
    prompter_.Message(Gb("只找到一个显示屏。请先连接投影仪或大屏，并在系统的显示设置中选择“扩展”（而不是“复制”）"
                         "这些显示屏，再选择抽奖舞台显示在哪个屏幕上。"),
                      Gb("提示信息："), Buttons::Ok, Icon::Information);
    return;
  }
  const std::vector<ScreenInfo> infos = Describe(screens);
  StageScreenWindow window(infos, placement_.stage, stage_.OperatorWindow());
  if (window.exec() != QDialog::Accepted || window.Chosen() < 0) return;
  plan_.Choose(ScreenKey(infos, window.Chosen()));
  if (!SaveStageScreen(settings_, FromQt(plan_.chosenKey())))
    prompter_.Message(Gb("无法保存屏幕设置（config\\config.ini 不可写），下次启动时舞台仍显示在主屏幕上。"),
                      Gb("错误提示："), Buttons::Ok, Icon::Warning);
  Place(screens);
}

}  // namespace kavrel
