#pragma once

// What the audience's screen leaves out while an operator console drives the draw: the start and stop
// buttons and the status line are the operator's, and the console shows them. The draw still decides
// whether each is shown (the hide options); this only holds them off the projector meanwhile, so they
// come back as the draw left them when the console goes.

#include <array>

#include "engine/ports/stage_hooks.h"

namespace kavrel {

class Settings;

class OperatorControls {
 public:
  // Whether `element` is one of the operator's controls.
  static bool Governs(StageElement element);

  // The draw's wish for `element` (only for governed elements).
  void Want(StageElement element, bool visible);
  bool Wanted(StageElement element) const;

  // A console is up (or gone); `keepOnStage`: the operator asked to see the controls on the stage anyway.
  void SetConsoleUp(bool up, bool keepOnStage) { offStage_ = up && !keepOnStage; }
  bool OffStage() const { return offStage_; }

  // What the stage shows of `element` now.
  bool Shown(StageElement element) const { return Wanted(element) && !offStage_; }

 private:
  static int Slot(StageElement element);
  std::array<bool, 3> wanted_{true, true, true};
  bool offStage_ = false;
};

// The setting (section 标题设置) that keeps the buttons and the status line on the stage while a
// console is up; off by default.
bool ControlsStayOnStage(const Settings& settings);

}  // namespace kavrel
