#pragma once

#include <QRect>
#include <functional>
#include <vector>

#include "stage/stage_commands.h"
#include "stage/stage_situation.h"

class QMenu;
class QScreen;
class QWidget;

namespace kavrel {

class CommandActions;

// What the operator's side needs of the stage beyond the draw (which it reads from the draw session):
// the stage's window for its thumbnail and for the hand-over of keys and message boxes, the move to a
// screen, and the stage commands the console's buttons run. The console knows the stage only through
// this, never its window class.
class StageLink {
 public:
  virtual ~StageLink() = default;
  virtual QWidget& Window() = 0;
  virtual void RunCommand(StageCommand command) = 0;
  // The command actions the stage's menus and keys run, for the console's buttons and keys.
  virtual CommandActions& Actions() = 0;
  virtual void MoveToScreen(QScreen* screen) = 0;
  virtual void SetOperatorWindow(QWidget* window) = 0;
  virtual QWidget* OperatorWindow() = 0;
  virtual void SetScreenChooser(std::function<void()> chooser) = 0;
  // The stage's four menus, for a menu bar of the operator's own.
  virtual std::vector<QMenu*> Menus() = 0;
  // While set, the stage's menu bar (ESC, its menu item) is shown and hidden by `host` on the
  // operator's screen and never on the stage; empty: on the stage again, hidden until asked for.
  virtual void SetMenuHost(std::function<void(bool shown)> host) = 0;
  // What covers the stage now (the lock, a blackout).
  virtual StageSituation Situation() { return {}; }
};

// The link over any stage window with these members (the program and the tests pass the real stage).
template <class Stage>
class StageLinkTo final : public StageLink {
 public:
  explicit StageLinkTo(Stage& stage) : stage_(stage) {}
  QWidget& Window() override { return stage_; }
  void RunCommand(StageCommand command) override { stage_.RunCommand(command); }
  CommandActions& Actions() override { return stage_.Actions(); }
  void MoveToScreen(QScreen* screen) override { stage_.MoveToScreen(screen); }
  void SetOperatorWindow(QWidget* window) override { stage_.SetOperatorWindow(window); }
  QWidget* OperatorWindow() override { return stage_.OperatorWindow(); }
  void SetScreenChooser(std::function<void()> chooser) override { stage_.SetScreenChooser(std::move(chooser)); }
  std::vector<QMenu*> Menus() override { return stage_.Menus(); }
  void SetMenuHost(std::function<void(bool shown)> host) override { stage_.SetMenuHost(std::move(host)); }
  StageSituation Situation() override { return stage_.Situation(); }

 private:
  Stage& stage_;
};

}  // namespace kavrel
