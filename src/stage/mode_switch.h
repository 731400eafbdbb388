#pragma once

#include "engine/draw_mode.h"

namespace kavrel {

class Clock;
class ProgramDir;
class Prompter;
class Settings;

// What the mode commands need from the stage and the draw.
class ModeSwitchHost {
 public:
  virtual ~ModeSwitchHost() = default;
  virtual bool Rolling() const = 0;
  // A running roll is frozen while the operator is asked, and goes on when the switch is cancelled.
  virtual void PauseRoll() = 0;
  virtual void ResumeRoll() = 0;
  // Ends the frozen roll without recording anything: the stage shows the ready state again.
  virtual void EndRoll() = 0;
  virtual bool DrawStarted() const = 0;
  virtual bool PoolEmpty() const = 0;
  virtual void EmptyPool() = 0;
  virtual void ResetDraw() = 0;
  // The list editor command; in picture mode it opens the picture list editor.
  virtual void OpenListEditor() = 0;
  // The two mode items of the "设定" menu.
  virtual void SetModeChecks(bool textMode) = 0;
};

// The two mode commands and the draw-mode check. Switching modes discards the participant list
// of the previous mode, so it never happens by surprise: a running roll is stopped first, the
// operator is asked before a list is discarded (and, during a draw, whether to restart), and the
// discarded files are kept in history/<yyyyMMdd-HHmmss>/ instead of being deleted.
class ModeSwitch {
 public:
  ModeSwitch(const ProgramDir& dir, Settings& settings, Prompter& prompter, const Clock& clock, ModeSwitchHost& host,
             DrawMode& mode);

  void SwitchToText() { Switch(true); }
  void SwitchToPicture() { Switch(false); }
  void CheckDrawMode();

 private:
  void Switch(bool toText);
  bool ConfirmDiscard(bool toText);

  const ProgramDir& dir_;
  Settings& settings_;
  Prompter& prompter_;
  const Clock& clock_;
  ModeSwitchHost& host_;
  DrawMode& mode_;
  bool switching_ = false;  // a switch is under way (the mode check inside it may switch back)
};

}  // namespace kavrel
