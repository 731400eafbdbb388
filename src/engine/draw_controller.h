#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/abandon.h"
#include "engine/draw_files.h"
#include "engine/draw_mode.h"
#include "engine/draw_receipts.h"
#include "engine/draw_recovery.h"
#include "engine/draw_state.h"
#include "engine/pick.h"
#include "engine/ports/clock.h"
#include "engine/ports/prompter.h"
#include "engine/ports/sound_port.h"
#include "engine/ports/stage_hooks.h"
#include "engine/prize_change.h"
#include "engine/random_source.h"
#include "engine/stage_music.h"
#include "engine/supplement.h"
#include "engine/winner_journal.h"
#include "storage/draw_history.h"
#include "storage/program_dir.h"
#include "storage/stage_settings.h"

namespace kavrel {

// Turns the operator's gestures into the draw: start and stop, the timer tick, reset, resume,
// restart, start-from, undo, quit and the stage's destruction. Owns nothing global: the state,
// options and mode belong to the stage and are passed by reference; the stage, the user, sound
// and time are reached through the ports.
//
// Everything a crash could lose is kept on disk: whenever a draw is under way and batches remain,
// config\exit.ini is rewritten (atomically) after every change of the plan, the pool or the
// counters (a quit with F12 keeps it too), and it is deleted when the draw is reset or has no batch left.
class DrawController {
 public:
  DrawController(DrawState& state, DrawOptions& options, DrawMode& mode, StageHooks& stage, Prompter& prompter,
                 SoundPort& sound, const Clock& clock, const ProgramDir& dir);

  // After the stage window is created and its title fonts are fitted: hides the menu bar and the
  // rolling panel, offers to resume when an exit record exists (else ResetDraw), starts the stage
  // music and lays the stage out. The stage runs its draw-mode check afterwards.
  void StartUp();

  // The start button or the space bar while nothing rolls; ignored while the state is Rolling().
  void StartPressed();
  // The stop button or the space bar while rolling. A stop before the first complete tick
  // records nothing and the roll goes on.
  void StopPressed();
  // The draw timer's handler: one PickBatch. Stops the roll with a message when the batch can no
  // longer be filled.
  void RollTick();

  // Freezes a running roll while the operator is asked something (the candidates stay as painted), and
  // lets it go on. Both are harmless when nothing rolls or nothing is frozen.
  void PauseRoll();
  void ResumeRoll();
  // Ends a running roll without recording anything and shows the ready state of the same batch
  // (for a mode switch while rolling). Harmless when nothing rolls.
  void AbortRoll();

  // A fresh draw from config\set.dat and config\shezhijx.dat; the previous result files are moved
  // into history/<yyyyMMdd-HHmmss>/, never deleted, with `reason` noted beside them.
  void ResetDraw(HistoryReason reason = HistoryReason::NewStart);
  // Ends the draw under way even when there is no list to start afresh with (the mode switch has just
  // put the list aside): the results go to history, the resume record goes, and the stage shows the
  // first batch of the plan with whatever list there is, possibly none.
  void DiscardDraw();
  // Continues the draw held by config\exit.ini, in the state the next announce would give. A
  // record that cannot be trusted (CheckResumeRecord) is never resumed: the operator is told why
  // and a fresh draw starts, with the results and the record kept in history.
  void ResumeDraw();
  // F1: asks while a draw is under way, then ResetDraw (stops a running roll).
  void RestartPressed();
  // The ready state for the next line with the award's counters restarted; the stage calls it
  // after the start-from window (and the abandon / supplementary windows when planChanged).
  void ShowReadyState();
  // F2: takes back the batch last recorded, once.
  void UndoPressed();
  // F12: returns true when the stage should close (confirmed, or nothing left to lose).
  bool QuitPressed();
  // The stage window is going away: stores the mode check mark and keeps the exit record.
  void StageDestroyed(bool textModeChecked);

  // Dialog return hooks. Call SuspendStageMusic() before opening the award settings window or a
  // list editor; after it closes call the matching hook (after the picture list editor, run the
  // draw-mode check first). The draw starts afresh from the files when none was under way, or when
  // the window reports that the operator agreed to restart it (`restartRequested`).
  void SuspendStageMusic();
  void AfterAwardSettings(bool closedWithOk, bool restartRequested = false);
  void AfterListEditor(bool restartRequested = false);
  // A picture list editor saved a changed list while a draw was under way and the operator agreed to
  // start again, but the draw-mode check runs before the return steps: from here on the draw no longer
  // counts as started, so whichever return step comes next rebuilds it from the new files.
  void ListReplaced() { state_.drawStarted = false; }
  // After the sound settings window, however it closed: reads the sound settings again and resumes the
  // stage music, which then starts from the beginning of the (possibly new) file when it is switched on.
  void AfterSoundSettings();

  // Re-reads the stage settings: titles, marquee and visibilities to the stage, the draw options,
  // the picture ratio and the sound settings.
  void LoadStageSettings();
  // Looks up and shows the drawer caption of the current line.
  void ShowDrawerCaption();

  // Keeps config\exit.ini in step with the state. The correction windows (abandon, supplementary
  // draw, prize change) call it after changing the plan or the pool.
  void SyncExitRecord();

  // A temporary prize change sets the prize label here so that the next recorded batch carries it.
  void SetPrizeLabel(const std::string& prizeName);

  // Called after the draw state, the plan or the labels the engine sets have changed (a start, a stop,
  // a reset, an undo, a correction), never per roll tick: the operator's console follows the draw
  // through it. One listener; an empty function removes it.
  void SetChangeListener(std::function<void()> listener) { changeListener_ = std::move(listener); }

  // Where a stop's journal (results, receipt, resume record) and the history moves go; the real files
  // unless a test says otherwise.
  DrawFiles& Files() const { return *files_; }
  void UseFiles(DrawFiles& files) {
    files_ = &files;
    receipts_.UseFiles(files);
    recovery_.UseFiles(files);
  }

  // The draw's receipts (config\receipts.log): the seal and the last receipt's hash for the windows.
  const DrawReceipts& Receipts() const { return receipts_; }
  // The winners recorded in the draw on the stage (a past draw's when one was brought back), as the
  // result files hold them.
  const std::vector<ResultLine>& Winners() const { return winners_.Lines(); }
  std::uint64_t WinnersRevision() const { return winners_.Revision(); }
  // What the seal of the draw under way says of repeated entries, for "公证信息" (GB18030): how many
  // extra copies, whether they were kept, and while they are extra tickets each repeated entry's
  // share of them (read from the sealed list). Empty without receipts or repeated entries.
  std::string SealedDuplicatesNote() const;
  // Draw keys from a reproducible source instead of the system's entropy (tests, benchmarks).
  void UseRandomBytes(DrawReceipts::RandomBytes source) { receipts_.UseRandomBytes(std::move(source)); }
  // The corrections, each its whole sequence as one step of the files (draw_controller_corrections.cpp):
  // the change, its receipt after the result files and before the resume record, then the ready state
  // of a queued batch or the resume record rewritten.
  AbandonOutcome Abandon(const AbandonRequest& request);
  SupplementOutcome Supplement(const SupplementRequest& request);
  PrizeChangeOutcome ChangePrize(const PrizeChangeRequest& request);
  // Receipts of the corrections, appended by the correction windows once their change is made
  // (plain data, so the windows need not know the log's format): the entries marked abandoned in
  // `award`, those put back at the end of the pool in that order, and the redraw lines queued; the
  // supplementary lines queued; the plan line at 1-based `planIndex` before and after a prize change.
  void RecordAbandonReceipt(const std::string& award, const std::vector<std::string>& abandoned,
                            const std::vector<std::string>& returned, const std::vector<std::string>& queued);
  void RecordSupplementReceipt(const std::vector<std::string>& queued);
  void RecordPrizeChangeReceipt(int planIndex, const std::string& lineBefore, const std::string& lineAfter);
  // "现场随机数": before the first batch, asks for the number the audience calls out, has it
  // confirmed and records it; every batch's winners then depend on it too. Says why when it cannot
  // be taken (a batch was drawn, a number was taken, the draw keeps no receipts, a roll is running).
  void AudienceNumberPressed();

  // The winners given up (F3), marked in `award`'s results: the marquee no longer congratulates them;
  // when none of its winners is left it shows the event's own marquee text again.
  void WinnersGivenUp(const std::string& award, const std::vector<std::string>& entries);
  // A past draw's results were brought back in place of this draw's (which had not begun). They are for
  // viewing: a start press, an undo or a correction over them is refused with the reason, until a
  // fresh draw (F1) puts them aside again. Continuing them would draw over a pool that still holds their
  // winners and add batches to receipts whose key the past draw already revealed.
  void PastDrawBroughtBack();
  // Says why nothing can change while a past draw is on view; false when something can.
  bool RefuseWhileViewingPast();

  const SoundSettings& Sounds() const { return sounds_; }
  // The stage music's rules, for the stage to forward its events to (F9, windows around it).
  StageMusic& Music() { return music_; }
  // A batch rolls, or is frozen (not the "finished" press state, which also takes space as a stop).
  bool RollActive() const { return state_.RollUnderWay(); }
  // How often a roll ticks while the phase is Rolling, in milliseconds (at least 1).
  int TickPeriod() const;

 private:
  void StartChecksAndRoll();
  void LeaveResultState();
  // The ready state of the batch the next press draws, as the first press after a stop announces it.
  void AnnounceNextBatch();
  // The counters of an award whose batch is announced without a batch of it just before.
  void RestartAwardCounters();
  struct Marquee {
    std::string text;
    std::string award;                 // empty: the event's own text, congratulating nobody
    std::vector<std::string> winners;  // the entries congratulated
  };
  void ShowMarquee(Marquee marquee);
  void StopRoll();
  void RecordStop();
  void StopRollWithMessage();
  void ShowPrize();
  void ShowReadyPrize();
  void SetNumberText(const char* utf8);
  void SetAwardLabel(const std::string& text);
  void ShowStatus(bool done);
  void Message(const char* utf8Text, const char* utf8Caption, Icon icon);
  void StartAfresh(std::vector<std::string> pool, HistoryReason reason, bool keepDrawUnderWay);
  std::optional<std::vector<std::string>> LoadPoolAndTell();
  void RefuseBadPlanLines();
  void ResumeFrom(ExitRecord record, bool unconfirmedBatch);
  void FreshStartAfterDamagedRecord(const std::string& message);
  PickRules Rules() const;
  void NotifyChanged() const {
    if (changeListener_) changeListener_();
  }
  void ReceiptWritten(bool written);
  struct PoolChoice {
    std::vector<std::string> list;  // as loaded, when the pool differs from it (extra copies removed)
    long long duplicates = 0;
    bool kept = false;
  };
  PoolChoice ChooseDuplicates(std::vector<std::string>& pool);
  // With "只抽已签到人员" on, leaves in a fresh `pool` only the entries signed in (read now, once) and
  // tells the operator how many (a count told before only when `tellAgain`: an F1 to take in late
  // sign-ins); the draw's choice goes into the state.
  void KeepOnlyPresent(std::vector<std::string>& pool, bool tellAgain);
  // Fixes the seal of the fresh draw laid out last, over its pool and plan and `sealChoice_`.
  // `deliberate`: the operator asked for a fresh draw (F1), which always makes a new seal.
  void FixFreshSeal(bool deliberate = false);
  void TellReceiptsAtResume(const ResumeReceipts& found);

  DrawState& state_;
  DrawOptions& options_;
  DrawMode& mode_;
  StageHooks& stage_;
  Prompter& prompter_;
  SoundPort& sound_;
  const Clock& clock_;
  const ProgramDir& dir_;
  RandomSource random_;
  CandidateShow candidates_{stage_};
  SoundSettings sounds_;
  StageMusic music_{sound_, sounds_};
  Marquee marquee_;
  Marquee marqueeBeforeStop_;  // what the last stop replaced, shown again when that batch is taken back
  std::string eventMarquee_;   // the marquee text of the stage settings
  bool viewingPastDraw_ = false;
  bool undoneBatchReady_ = false;  // the batch just taken back is ready to be drawn again
  std::string awardText_;
  std::string prizeText_;
  int dashesTold_ = 0;  // the "-" count last told, so a reload of the same list does not say it again
  int breaksTold_ = 0;  // the same for entries whose TABs and line breaks became spaces
  int longTold_ = 0;    // the same for entries too long to be names
  DrawFiles* files_ = &DrawFiles::Real();
  std::function<void()> changeListener_;
  DrawReceipts receipts_{dir_};
  WinnerJournal winners_;
  DrawRecovery recovery_{state_, options_, dir_, prompter_, clock_, receipts_};
  bool receiptWarned_ = false;
  // The duplicates last asked about and the answer, so a restart over the same list asks no more.
  std::string duplicatesAsked_;
  bool duplicatesKept_ = false;
  PoolChoice sealChoice_;               // the duplicates choice of the fresh draw whose seal may still wait
  std::string presentRefusal_;          // why a fresh draw among those signed in has nobody to draw (told at a start)
  std::string presentTold_;             // the sign-in count last told, so a reload with the same count says nothing
  std::set<std::string> picturesTold_;  // prize pictures the operator was told cannot be shown
};

}  // namespace kavrel
