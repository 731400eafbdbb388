#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/abandon.h"
#include "engine/draw_controller.h"
#include "engine/draw_mode.h"
#include "engine/draw_observer.h"
#include "engine/draw_state.h"
#include "engine/mode_switch.h"
#include "engine/ports/stage_hooks.h"
#include "engine/prize_change.h"
#include "engine/supplement.h"

namespace kavrel {

class Clock;
class ProgramDir;
class Prompter;
class Settings;
class SoundPort;

// The draw of this run, in one place: the state, the options, the mode, the controller that turns
// presses into batches, the mode switch and the corrections made during an event. Views send it
// commands and observe it (DrawObserver); the stage also paints for it through StageHooks, which the
// session passes on while it keeps the texts the stage was given, so every view reads the same ones.
class DrawSession : private StageHooks {
 public:
  DrawSession(StageHooks& stage, ModeSwitchHost& modeHost, Prompter& prompter, SoundPort& sound, const Clock& clock,
              const ProgramDir& dir, Settings& settings);
  ~DrawSession() override;
  DrawSession(const DrawSession&) = delete;
  DrawSession& operator=(const DrawSession&) = delete;

  DrawState& State() { return state_; }
  const DrawState& State() const { return state_; }
  DrawOptions& Options() { return options_; }
  const DrawOptions& Options() const { return options_; }
  DrawMode& Mode() { return mode_; }
  const DrawMode& Mode() const { return mode_; }
  DrawController& Controller() { return controller_; }
  const DrawController& Controller() const { return controller_; }
  ModeSwitch& Modes() { return modes_; }

  // Any number of views; each is told of every change until it is removed (before it goes away).
  void AddObserver(DrawObserver& observer);
  void RemoveObserver(DrawObserver& observer);

  // The text the stage was last given for `element` (GB18030): the marquee, the status line, the labels.
  const std::string& Text(StageElement element) const { return texts_[static_cast<std::size_t>(element)]; }

  // The corrections, each as one sequence: the change, its receipt after the result files and before
  // the resume record, then the ready state of a queued batch or the resume record rewritten.
  // Whether a correction's window may open now; says why not (candidates roll, a past draw is on view).
  bool CorrectionMayOpen(const char* whatUtf8);
  void Abandon(const AbandonRequest& request);
  void Supplement(const SupplementRequest& request);
  void ChangePrize(const PrizeChangeRequest& request);
  // After the start-from window chose the line to draw next.
  void AfterStartFrom();

 private:
  // StageHooks, passed on to the stage; the texts are kept and the views told after each change.
  void SetText(StageElement element, const std::string& text) override;
  void SetVisible(StageElement element, bool visible) override { stage_.SetVisible(element, visible); }
  bool IsVisible(StageElement element) const override { return stage_.IsVisible(element); }
  void LayoutStage() override { stage_.LayoutStage(); }
  void StartDrawTimer(int periodMs) override { stage_.StartDrawTimer(periodMs); }
  void StopDrawTimer() override { stage_.StopDrawTimer(); }
  void PauseDrawTimer() override { stage_.PauseDrawTimer(); }
  void PrepareTextRolling(int batchSize, const std::string& firstEntry) override {
    stage_.PrepareTextRolling(batchSize, firstEntry);
  }
  void PreparePictureRolling(int batchSize) override { stage_.PreparePictureRolling(batchSize); }
  void CaptureSnapshot() override { stage_.CaptureSnapshot(); }
  void DiscardSnapshot() override { stage_.DiscardSnapshot(); }
  void BeginTickPaint() override { stage_.BeginTickPaint(); }
  void PaintCandidate(int i, const std::string& text) override { stage_.PaintCandidate(i, text); }
  PictureCheck ShowPrizePicture(const std::string& path) override { return stage_.ShowPrizePicture(path); }
  void ShowWinnerShow() override { stage_.ShowWinnerShow(); }

  void Notify();

  StageHooks& stage_;
  const ProgramDir& dir_;
  Prompter& prompter_;
  DrawState state_;
  DrawOptions options_;
  DrawMode mode_;
  DrawController controller_;
  ModeSwitch modes_;
  std::vector<DrawObserver*> observers_;
  std::array<std::string, kStageElementKinds> texts_;
};

}  // namespace kavrel
