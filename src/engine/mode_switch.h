#pragma once

#include "engine/draw_mode.h"

namespace kavrel {

class Clock;
class DrawController;
class ProgramDir;
class Prompter;
class Settings;
struct DrawState;

// What the mode commands need from the stage: the list editor and the menu's check marks. The draw
// itself (its roll, pool, results and resume record) is the controller's business.
class ModeSwitchHost {
 public:
  virtual ~ModeSwitchHost() = default;
  // The list editor command; in picture mode it opens the picture list editor.
  virtual void OpenListEditor() = 0;
  // The two mode items of the "设定" menu.
  virtual void SetModeChecks(bool textMode) = 0;
};

// The two mode commands and the draw-mode check. Switching modes discards the participant list
// of the previous mode, so it never happens by surprise: a running roll is stopped first, the
// operator is asked before a list is discarded (and, during a draw, whether to restart), and the
// discarded files are kept in history/<yyyyMMdd-HHmmss>/ instead of being deleted. Once the list is
// put aside the draw under way ends at once (DrawController::DiscardDraw): nothing of it may be
// resumed or drawn from a list that is no longer there.
class ModeSwitch {
 public:
  ModeSwitch(DrawController& draw, const DrawState& state, DrawMode& mode, const ProgramDir& dir, Settings& settings,
             Prompter& prompter, const Clock& clock, ModeSwitchHost& host);

  void SwitchToText() { Switch(true); }
  void SwitchToPicture() { Switch(false); }
  void CheckDrawMode();

 private:
  void Switch(bool toText);
  bool ConfirmDiscard(bool toText);

  DrawController& draw_;
  const DrawState& state_;
  DrawMode& mode_;
  const ProgramDir& dir_;
  Settings& settings_;
  Prompter& prompter_;
  const Clock& clock_;
  ModeSwitchHost& host_;
  bool switching_ = false;  // a switch is under way (the mode check inside it may switch back)
};

}  // namespace kavrel
