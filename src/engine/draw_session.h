#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/abandon.h"
#include "engine/draw_change_tracker.h"
#include "engine/draw_controller.h"
#include "engine/draw_mode.h"
#include "engine/draw_observer.h"
#include "engine/draw_state.h"
#include "engine/mode_switch.h"
#include "engine/ports/stage_hooks.h"
#include "engine/prize_change.h"
#include "engine/supplement.h"
#include "storage/settings.h"

namespace kavrel {

class Clock;
class ProgramDir;
class Prompter;
class SoundPort;

// The draw of this run, in one place: the state, the options, the mode, the controller that turns
// presses into batches, the mode switch and the corrections made during an event. The program makes it
// before any window; views send it commands and observe it (DrawObserver). The stage attaches itself to
// paint for it through StageHooks, which the session passes on while it keeps the texts the stage was
// given, so every view reads the same ones; with no stage attached the draw is painted nowhere.
class DrawSession : private StageHooks, private ModeSwitchHost {
 public:
  DrawSession(Prompter& prompter, SoundPort& sound, const Clock& clock, const ProgramDir& dir);
  ~DrawSession() override;
  DrawSession(const DrawSession&) = delete;
  DrawSession& operator=(const DrawSession&) = delete;

  // The stage that paints the draw and opens the windows the mode commands need; detached before it
  // goes away. One at a time.
  void AttachStage(StageHooks& stage, ModeSwitchHost& host);
  void DetachStage();
  // Where the draw's file steps go; the real files unless a test makes one fail or crash.
  void UseFiles(DrawFiles& files) { controller_.UseFiles(files); }

  // Where the draw stands, read-only: views show it, commands below change it.
  const DrawState& Draw() const { return state_; }
  const DrawOptions& Rules() const { return options_; }
  const DrawMode& Mode() const { return mode_; }
  const SoundSettings& Sounds() const { return controller_.Sounds(); }
  const DrawReceipts& Receipts() const { return controller_.Receipts(); }
  // The winners recorded so far (GB18030), one line per award as config\result.dat holds them: what
  // the views list, without reading the file.
  const std::vector<ResultLine>& Winners() const { return controller_.Winners(); }
  // Changes with every change of the winners (see WinnerJournal::Revision).
  std::uint64_t WinnersRevision() const { return controller_.WinnersRevision(); }
  // How the sealed list's repeated entries were handled, for the notary window (GB18030; empty: none).
  std::string SealedDuplicatesNote() const { return controller_.SealedDuplicatesNote(); }
  // A batch rolls, or is frozen (not the finished stage's press, which also takes space as a stop).
  bool RollActive() const { return controller_.RollActive(); }
  // A draw the operator would lose by starting afresh: candidates roll, or batches remain of one begun.
  bool UnderWay() const { return RollActive() || state_.Rolling() || (state_.drawStarted && !state_.plan.empty()); }
  // The stage music's rules, for a window that silences it around a question of its own.
  StageMusic& Music() { return controller_.Music(); }

  // The operator's commands, each its whole sequence.
  // Once the stage is on screen: the draw resumed or laid out afresh, then the draw-mode check.
  void StartUp();
  void Start() { controller_.StartPressed(); }
  void Stop() { controller_.StopPressed(); }
  // One tick of a roll. The stage ticks while the phase is Rolling, every TickPeriod() milliseconds.
  void Tick() { controller_.RollTick(); }
  int TickPeriod() const { return controller_.TickPeriod(); }
  void Undo();
  void Restart() { controller_.RestartPressed(); }
  // True when the program may close (confirmed, or nothing left to lose).
  bool Quit() { return controller_.QuitPressed(); }
  void AudienceNumber() { controller_.AudienceNumberPressed(); }
  void ToggleMusic() { controller_.Music().Toggle(); }
  void SwitchToText() { modes_.SwitchToText(); }
  void SwitchToPicture() { modes_.SwitchToPicture(); }
  // A past draw's results were brought back for viewing in place of this draw's.
  void PastDrawBroughtBack() { controller_.PastDrawBroughtBack(); }
  // The stage is closing: the mode check mark is stored and the resume record kept.
  void StageClosing(bool textModeChecked) { controller_.StageDestroyed(textModeChecked); }

  // The editing windows, each run inside its scope: a roll under way ends first with nothing recorded
  // (the window may change what it draws from), the stage music pauses, and afterwards the draw is
  // rebuilt from the files when none was under way or the window says the operator agreed to restart.
  struct Edited {
    bool confirmed = false;         // closed with 确定
    bool restartRequested = false;  // the operator agreed to start the draw under way again
  };
  // The award settings window edits a copy of the options; the draw order and the total it leaves
  // are taken whichever way it closed (they are stored the moment they are chosen).
  void EditAwards(const std::function<Edited(DrawOptions& options, bool drawStarted)>& window);
  // The list editor (text mode).
  void EditList(const std::function<Edited(bool drawStarted)>& window);
  // The picture list editor: the draw-mode check runs before the draw is rebuilt, and may open the
  // editor again (nested); only the outermost run rebuilds, and says so.
  bool EditPictureList(const std::function<Edited(bool drawStarted)>& window);
  void EditSounds(const std::function<void()>& window);
  // A window over the whole stage (results, the winner show) silenced everything: the music comes back.
  void AfterSilencingWindow() { controller_.Music().AfterSilencingWindow(); }

  // The award group of the next batch: from row `first` to row `last` of the pool; nullopt ends it.
  void SetAwardGroup(std::optional<std::pair<int, int>> rows);
  // After the start-from window, however it closed: the line chosen for the next batch (its 1-based
  // plan position; 0: none), nullopt when nothing was chosen; then the ready state of that batch.
  void StartFrom(std::optional<int> planPosition);

  // The stage is revealing the batch just recorded (a grand prize's moment): the other views hold the
  // winners back until it ends, when they are told, so the phones and the console never run ahead of
  // the stage. Presentation only: the batch is recorded at the press either way.
  bool Revealing() const { return revealing_; }
  void SetRevealing(bool revealing);

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

 private:
  // StageHooks, passed on to the stage; the texts are kept and the views told after each change.
  void SetText(StageElement element, const std::string& text) override;
  void SetVisible(StageElement element, bool visible) override;
  bool IsVisible(StageElement element) const override;
  void LayoutStage() override { stage_->LayoutStage(); }
  void PrepareTextRolling(int batchSize, const std::string& firstEntry) override {
    stage_->PrepareTextRolling(batchSize, firstEntry);
  }
  void PreparePictureRolling(int batchSize) override { stage_->PreparePictureRolling(batchSize); }
  void ShowCandidates(const std::vector<std::string_view>& candidates) override { stage_->ShowCandidates(candidates); }
  PictureCheck ShowPrizePicture(const std::string& path) override { return stage_->ShowPrizePicture(path); }
  void ShowWinnerShow() override { stage_->ShowWinnerShow(); }
  // ModeSwitchHost, passed on to the stage.
  void OpenListEditor() override {
    if (modeHost_) modeHost_->OpenListEditor();
  }
  void SetModeChecks(bool textMode) override {
    if (modeHost_) modeHost_->SetModeChecks(textMode);
  }

  void Notify();
  bool revealing_ = false;

  StageHooks* stage_;  // the attached stage, or one that paints nowhere
  ModeSwitchHost* modeHost_ = nullptr;
  const ProgramDir& dir_;
  Prompter& prompter_;
  Settings settings_;
  DrawState state_;
  DrawOptions options_;
  DrawMode mode_;
  DrawController controller_;
  ModeSwitch modes_;
  std::vector<DrawObserver*> observers_;
  DrawChangeTracker told_;  // what the views were told last
  std::array<std::string, kStageElementKinds> texts_;
  std::array<bool, kStageElementKinds> shown_;  // what was last shown or hidden, while no stage is attached
  int pictureListRuns_ = 0;  // counts openings, so a run nested by the mode check is not rebuilt twice
};

}  // namespace kavrel
