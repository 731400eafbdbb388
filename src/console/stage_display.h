#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "console/stage_screens.h"
#include "storage/settings.h"

class QScreen;
class QWidget;

namespace kavrel {

class OperatorConsoleWindow;
class ProgramDir;
class Prompter;
class DrawSession;
class StageLink;

// Puts the stage on its screen and the operator console on another: at start-up from the remembered
// choice, when the operator chooses with "显示到扩展显示屏(Z)", and whenever a screen comes or goes.
// Moving the stage changes nothing in the draw.
class StageDisplay : public QObject {
  Q_OBJECT

 public:
  // `operatorParent`: told where the operator's message boxes should open (the console, or the stage
  // when there is no console).
  StageDisplay(StageLink& stage, DrawSession& session, Prompter& prompter, const ProgramDir& dir,
               std::function<void(QWidget*)> operatorParent);
  ~StageDisplay() override;

  // Places the windows on the screens there are now and follows the system's screen changes.
  void Start();

  // Places the windows for `screens` (in the system's order; tests pass their own list).
  void Place(const std::vector<QScreen*>& screens);

  // The operator's choice: the screen list, then the stage on the chosen screen (remembered).
  void ChooseScreen();

  // After the stage's start-up took the keyboard: the console has it when it is up.
  void FocusOperator();

  OperatorConsoleWindow* console() const { return console_.get(); }
  // Builds a panel for the console each time one is made (it may be made again when screens change).
  void SetConsolePanel(std::function<QWidget*()> make) { consolePanel_ = std::move(make); }
  const StageScreenPlan& plan() const { return plan_; }
  ScreenPlacement placement() const { return placement_; }

  static std::vector<ScreenInfo> Describe(const std::vector<QScreen*>& screens);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ScreensChanged(QScreen* removed);

  StageLink& stage_;
  DrawSession& session_;
  Prompter& prompter_;
  Settings settings_;
  std::function<void(QWidget*)> operatorParent_;
  StageScreenPlan plan_;
  ScreenPlacement placement_;
  std::unique_ptr<OperatorConsoleWindow> console_;
  std::function<QWidget*()> consolePanel_;
};

}  // namespace kavrel
