#pragma once

#include <QRect>
#include <functional>

#include "stage/stage_commands.h"

class QScreen;
class QWidget;

namespace kavrel {

// What the operator's side needs of the stage beyond the draw (which it reads from the draw session):
// the stage's window for its thumbnail and for the hand-over of keys and message boxes, the move to a
// screen, and the stage commands the console's buttons run. The console knows the stage only through
// this, never its window class.
class StageLink {
 public:
  virtual ~StageLink() = default;
  virtual QWidget& Window() = 0;
  virtual void RunCommand(StageCommand command) = 0;
  virtual void MoveToScreen(QScreen* screen) = 0;
  virtual void SetOperatorWindow(QWidget* window) = 0;
  virtual QWidget* OperatorWindow() = 0;
  virtual void SetScreenChooser(std::function<void()> chooser) = 0;
};

// The link over any stage window with these members (the program and the tests pass the real stage).
template <class Stage>
class StageLinkTo final : public StageLink {
 public:
  explicit StageLinkTo(Stage& stage) : stage_(stage) {}
  QWidget& Window() override { return stage_; }
  void RunCommand(StageCommand command) override { stage_.RunCommand(command); }
  void MoveToScreen(QScreen* screen) override { stage_.MoveToScreen(screen); }
  void SetOperatorWindow(QWidget* window) override { stage_.SetOperatorWindow(window); }
  QWidget* OperatorWindow() override { return stage_.OperatorWindow(); }
  void SetScreenChooser(std::function<void()> chooser) override { stage_.SetScreenChooser(std::move(chooser)); }

 private:
  Stage& stage_;
};

}  // namespace kavrel
