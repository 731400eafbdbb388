// The draw controller's start-up, reset, resume, restart, undo and quit, and the return steps of the
// windows around the draw. What these leave on disk, and in which order, is DrawRecovery's.
#include <algorithm>
#include <tuple>

#include "engine/draw_controller.h"
#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "storage/award_store.h"
#include "storage/codec.h"
#include "storage/draw_history.h"
#include "storage/file_step.h"
#include "storage/number_text.h"
#include "storage/participant_store.h"
#include "storage/result_blocks.h"
#include "storage/result_store.h"
#include "storage/settings.h"
#include "storage/text_file.h"

namespace kavrel {

void DrawController::LoadStageSettings() {
  const Settings settings(dir_.Path(ProgramDir::kConfigIni));
  const StageSettings s = kavrel::LoadStageSettings(settings, options_);
  stage_.SetText(StageElement::MainTitle, s.mainTitle);
  stage_.SetText(StageElement::SubTitle, s.subTitle);
  eventMarquee_ = s.marqueeText;
  ShowMarquee({s.marqueeText, {}, {}});
  stage_.SetVisible(StageElement::MainTitle, !s.hideMainTitle);
  stage_.SetVisible(StageElement::SubTitle, !s.hideSubTitle);
  stage_.SetVisible(StageElement::AwardLabel, !s.hideAwardName);
  stage_.SetVisible(StageElement::PrizeLabel, !s.hidePrizeName);
  stage_.SetVisible(StageElement::DrawerLabel, !s.hideDrawer);
  stage_.SetVisible(StageElement::StatusLabel, !s.hideStatus);
  stage_.SetVisible(StageElement::Marquee, !s.hideMarquee);
  stage_.SetVisible(StageElement::StartButton, !s.hideStartButton);
  stage_.SetVisible(StageElement::StopButton, !s.hideStopButton);
  mode_.pictureRatio43 = s.pictureRatio43;
  sounds_ = LoadSoundSettings(settings, dir_);
  stage_.LayoutStage();
}

void DrawController::ShowDrawerCaption() {
  stage_.SetText(StageElement::DrawerLabel, DrawerCaptionFor(state_.currentLine, LoadDrawerCaptions(dir_)));
}

void DrawController::StartUp() {
  // A correction cut short by a crash is undone before anything reads the draw's files.
  RollBackInterruptedStep(dir_);
  stage_.SetVisible(StageElement::MenuBar, false);
  stage_.SetVisible(StageElement::RollingPanel, false);
  const bool recordFound = FileExists(dir_.Path(ProgramDir::kExitIni));
  // The audience sees the stage behind the resume question: it shows the event's own titles, not
  // the program's defaults.
  if (recordFound)
    ResumeDraw();
  else
    ResetDraw();
  // Whatever the start found (no list, a resume, a fresh draw), the views show the winners on file.
  winners_.Load(dir_);
  music_.StartOnStage();
  stage_.SetVisible(StageElement::PrizePicture, false);
  stage_.LayoutStage();
  ShowReadyPrize();
}

void DrawController::FixFreshSeal(bool deliberate) {
  const std::vector<std::string> plan = PlanTexts(state_.plan);
  receipts_.FixSeal({.list = sealChoice_.list.empty() ? state_.pool : sealChoice_.list,
                     .pool = state_.pool,
                     .plan = plan,
                     .duplicates = sealChoice_.duplicates,
                     .duplicatesKept = sealChoice_.kept,
                     .repeatAllowed = options_.repeatAllowed,
                     .presentOnly = state_.presentOnly,
                     .presentCount = state_.presentCount},
                    clock_.Now(), deliberate);
}

std::optional<std::vector<std::string>> DrawController::LoadPoolAndTell() {
  PoolLoadNotes notes;
  auto pool = LoadPool(dir_, &notes);
  if (pool && notes.dashesReplaced > 0 && notes.dashesReplaced != dashesTold_) {
    std::string text = Gb(texts::kDashesReplaced);
    text.replace(text.find("%d"), 2, std::to_string(notes.dashesReplaced));
    prompter_.Message(text, Gb(texts::kInfoCaption), Buttons::Ok, Icon::Information);
  }
  if (pool && notes.breaksReplaced > 0 && notes.breaksReplaced != breaksTold_) {
    std::string text = Gb(texts::kBreaksReplaced);
    text.replace(text.find("%d"), 2, std::to_string(notes.breaksReplaced));
    prompter_.Message(text, Gb(texts::kInfoCaption), Buttons::Ok, Icon::Information);
  }
  if (pool && notes.longEntries > 0 && notes.longEntries != longTold_) {
    // One message for all of them, naming the first with its start: a list read as one line shows
    // its first few names there.
    const std::string& entry = (*pool)[static_cast<std::size_t>(notes.firstLongEntry - 1)];
    std::string start = CutAtCharacter(entry, 40) + Gb("…");
    MakeSingleLine(start);
    std::string text = Gb(texts::kLongEntries);
    text.replace(text.find("%d"), 2, std::to_string(notes.longEntries));
    text.replace(text.find("%d"), 2, std::to_string(notes.firstLongEntry));
    text.replace(text.find("%s"), 2, start);
    prompter_.Message(text, Gb(texts::kInfoCaption), Buttons::Ok, Icon::Warning);
  }
  if (pool) {
    dashesTold_ = notes.dashesReplaced;
    breaksTold_ = notes.breaksReplaced;
    longTold_ = notes.longEntries;
  }
  return pool;
}

void DrawController::ResetDraw(HistoryReason reason) {
  LoadStageSettings();
  auto pool = LoadPoolAndTell();
  if (!pool) {
    // The list editor's table is the user's work: it stays, only the message is shown.
    Message(texts::kNoListFile, texts::kInfoCaption, Icon::Information);
    return;
  }
  StartAfresh(std::move(*pool), reason, true);
}

void DrawController::DiscardDraw() {
  LoadStageSettings();
  StartAfresh(LoadPoolAndTell().value_or(std::vector<std::string>{}), HistoryReason::ModeSwitch, false);
}

void DrawController::RefuseBadPlanLines() {
  // A quota or batch count below 1 would announce "第1轮/总-5轮…共-5名": such a line is left out
  // of the draw, and the operator is told which one.
  std::string named;
  int refused = 0;
  std::vector<PlanLine> kept;
  kept.reserve(state_.plan.size());
  for (std::size_t i = 0; i < state_.plan.size(); ++i) {
    const PlanLine& line = state_.plan[i];
    if (LeadingInteger(line.quota) >= 1 && LeadingInteger(line.batchCount) >= 1) {
      kept.push_back(std::move(state_.plan[i]));
      continue;
    }
    if (++refused <= 3)
      named += (named.empty() ? "" : Gb("、")) + Gb("第") + std::to_string(i + 1) + Gb("行(") +
               line.award.substr(0, 40) + Gb(")");
  }
  state_.plan = std::move(kept);
  if (refused == 0) return;
  if (refused > 3) named += Gb("等") + std::to_string(refused) + Gb("行");
  std::string text = Gb(texts::kBadPlanLines);
  text.replace(text.find("%s"), 2, named);
  prompter_.Message(text, Gb(texts::kErrorCaption), Buttons::Ok, Icon::Warning);
}

void DrawController::StartAfresh(std::vector<std::string> pool, HistoryReason reason, bool keepDrawUnderWay) {
  // The previous draw is put aside before anything of it changes. When that fails, a draw under way
  // goes on as it was; otherwise the fresh draw is laid out but rolls only once the previous one is
  // put aside (a start press tries again), so no batch is ever recorded into another draw's files.
  const char* asideFailed = recovery_.PutPreviousDrawAside(reason);
  const bool asideDone = asideFailed == nullptr;
  if (!asideDone && keepDrawUnderWay && state_.drawStarted) {
    if (RollActive()) AbortRoll();
    return recovery_.TellAsideFailed(asideFailed, texts::kDrawGoesOn);
  }
  if (!asideDone) recovery_.TellAsideFailed(asideFailed, texts::kFreshDrawBlocked);
  recovery_.SetFreshDrawBlocked(!asideDone, reason);
  winners_.Load(dir_);
  viewingPastDraw_ = false;
  undoneBatchReady_ = false;
  if (RollActive()) sound_.StopAllSounds();
  StopRoll();
  KeepOnlyPresent(pool, reason == HistoryReason::Restart);
  const PoolChoice choice = ChooseDuplicates(pool);
  state_.pool = std::move(pool);
  state_.plan = LoadPlan(dir_);
  RefuseBadPlanLines();
  state_.drawStarted = false;
  state_.lastAwardName.clear();
  ResetDrawFlags(state_);

  stage_.SetVisible(StageElement::NumberLabel, true);
  SetNumberText(texts::kReadyNumber);
  stage_.SetText(StageElement::StartButton, Gb(texts::kStartCaption));
  stage_.SetVisible(StageElement::RollingPanel, false);

  // The event seal: fixed over the list, the pool and the plan with a fresh draw key before the first
  // batch, so that it can be shown (and photographed) before anything is drawn. (A blocked draw fixes
  // it when it is unblocked.)
  sealChoice_ = choice;
  if (asideDone) FixFreshSeal(reason == HistoryReason::Restart);

  state_.currentLine = {};
  SelectCurrentLine(state_, options_.forwardOrder);
  SetAwardLabel(state_.currentLine.award);
  SetPrizeLabel(state_.currentLine.prize);
  state_.drawnInAward = 0;
  state_.batchNo = 1;
  ShowStatus(false);
  ShowDrawerCaption();
  stage_.SetVisible(StageElement::PrizePicture, false);
  stage_.LayoutStage();
  ShowReadyPrize();
}

void DrawController::FreshStartAfterDamagedRecord(const std::string& message) {
  recovery_.PutDamagedRecordAside(message);
  ResetDraw();
}

void DrawController::ResumeDraw() {
  LoadStageSettings();
  DrawRecovery::Offer offer = recovery_.ReadExitRecord();
  if (!offer.found) return ResetDraw();
  if (!offer.problem.empty())
    return FreshStartAfterDamagedRecord(Gb(texts::kDamagedRecord) + offer.problem +
                                        Gb(texts::kDamagedRecordFreshStart));
  if (prompter_.Message(Gb(texts::kResumeQuestion) + offer.listNote, Gb(texts::kResumeCaption), Buttons::YesNo,
                        Icon::Question) != Answer::Yes)
    return ResetDraw();
  ResumeFrom(std::move(*offer.record), offer.unconfirmedBatch);
}

void DrawController::ResumeFrom(ExitRecord record, bool unconfirmedBatch) {
  // A batch whose stop reached the result files but not the record (power lost in between) is taken
  // back: the record's pool and plan still hold it, so it is drawn again rather than recorded twice.
  // Both files are copied into history before the cut. The cut, the receipts and the record are one
  // step: a crash in the middle leaves the batch to be taken back at the next start again.
  std::optional<FileStep> step;
  if (unconfirmedBatch) step.emplace(dir_);
  if (unconfirmedBatch && !recovery_.TakeBackUnconfirmedBatch(record))
    return FreshStartAfterDamagedRecord(Gb(texts::kTrimFailed));
  winners_.Load(dir_);
  StopRoll();
  undoneBatchReady_ = false;
  // The receipts go on where the results stand; a receipt written for the batch just taken back goes
  // with it, and a log that cannot go on is told with what can still be checked.
  TellReceiptsAtResume(
      receipts_.PickUp(static_cast<int>(ParseResultBlocks(ReadTextFile(dir_.Path(ProgramDir::kResultTxt))).size()),
                       unconfirmedBatch, record.seal));
  state_.pool = std::move(record.pool);
  state_.plan = ReadPlanLines(record.plan);
  state_.presentOnly = record.presentOnly;
  state_.presentCount = record.presentCount;
  state_.drawStarted = true;
  ResetDrawFlags(state_);
  stage_.SetVisible(StageElement::NumberLabel, true);
  SetNumberText(texts::kReadyNumber);
  // Hidden, the panel lets go of the snapshot a crash left behind of its last roll.
  stage_.SetVisible(StageElement::RollingPanel, false);
  stage_.SetText(StageElement::StartButton, Gb(texts::kStartCaption));

  state_.currentLine = {};
  SelectCurrentLine(state_, options_.forwardOrder);
  SetAwardLabel(state_.currentLine.award);
  state_.lastAwardName = record.lastAwardName;
  if (state_.lastAwardName != awardText_) {
    RestartAwardCounters();
  } else {
    // The record holds the number of the last recorded batch; the next one of the same award is
    // announced, exactly as the start press after that batch's stop would have done.
    state_.drawnInAward = record.drawnInAward;
    state_.batchNo = record.batchNo + 1;
  }
  SetPrizeLabel(state_.currentLine.prize);
  ShowStatus(false);
  ShowDrawerCaption();
  stage_.SetVisible(StageElement::PrizePicture, false);
  SyncExitRecord();
  stage_.LayoutStage();
  ShowReadyPrize();
}

void DrawController::SyncExitRecord() {
  NotifyChanged();  // every change of the plan, the pool or the counters comes through here
  recovery_.SyncExitRecord();
}

void DrawController::RestartPressed() {
  if (state_.drawStarted && prompter_.Message(Gb(texts::kRestartQuestion), Gb(texts::kInfoCaption), Buttons::OkCancel,
                                              Icon::Question) != Answer::Ok)
    return;
  ResetDraw(HistoryReason::Restart);
}

// The ready stage shows the prize of the batch it announces, as the press that announces a batch does,
// once the stage is laid out (the picture blends with what stands behind its place).
void DrawController::ShowReadyPrize() {
  if (!state_.plan.empty() && !state_.currentLine.empty() && !state_.WinnersShown()) ShowPrize();
}

void DrawController::ShowReadyState() {
  undoneBatchReady_ = false;
  if (RollActive()) sound_.StopAllSounds();
  StopRoll();
  state_.phase = DrawPhase::Ready;
  state_.drawStarted = true;
  stage_.SetVisible(StageElement::NumberLabel, true);
  state_.lastAwardName.clear();
  stage_.SetVisible(StageElement::RollingPanel, false);
  SetNumberText(texts::kReadyNumber);
  stage_.SetText(StageElement::StartButton, Gb(texts::kStartCaption));
  SelectCurrentLine(state_, options_.forwardOrder);
  SetAwardLabel(state_.currentLine.award);
  SetPrizeLabel(state_.currentLine.prize);
  RestartAwardCounters();
  ShowStatus(false);
  ShowDrawerCaption();
  state_.planChanged = false;
  // The winners on screen are gone; taking them back now would leave the stage out of step.
  state_.undoAvailable = false;
  stage_.SetVisible(StageElement::PrizePicture, false);
  SyncExitRecord();
  stage_.LayoutStage();
  ShowReadyPrize();
}

void DrawController::UndoPressed() {
  if (RefuseWhileViewingPast()) return;
  if (!state_.drawStarted) return Message(texts::kUndoNotStarted, texts::kOperationCaption, Icon::Information);
  if (!state_.WinnersShown())
    return Message(undoneBatchReady_ ? texts::kUndoDone : texts::kUndoNotNow, texts::kOperationCaption,
                   Icon::Information);
  if (!state_.undoAvailable) return Message(texts::kUndoDone, texts::kOperationCaption, Icon::Information);

  // A winner of this batch given up since is marked in the result files and may already be back in
  // the pool: taking the batch back would return that entry a second time, or the marked text as a
  // new participant. The batch stays; the operator is told why.
  const std::size_t count = state_.recordedEntries.size();
  const auto& log = winners_.Lines();
  if (!log.empty()) {
    const auto& winners = log.back().winners;
    for (std::size_t i = winners.size() > count ? winners.size() - count : 0; i < winners.size(); ++i)
      if (winners[i].ends_with(AbandonedMark()))
        return Message(texts::kUndoAbandoned, texts::kOperationCaption, Icon::Information);
  }

  const auto& line = state_.recordedLine;
  const std::string question =
      Gb("确认要撤销上轮【") + line.award + Gb("第") + line.batchNumber + Gb("轮】的抽奖结果吗？");
  if (prompter_.Message(question, Gb(texts::kOperationCaption), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return;

  // Whether the batch opened its award's result line is read from the line itself: it holds
  // exactly this batch's winners. The counters alone can disagree after a resume.
  const bool openedLine = log.empty() || log.back().winners.size() <= count;
  const RemovedBatch removed = files_->TakeBackResults(dir_, count);
  if (!removed.written) return Message(texts::kUndoFailed, texts::kErrorCaption, Icon::Error);
  winners_.RemoveLastBatch(count);

  state_.lastAwardName = openedLine ? std::string() : state_.recordedAwardName;
  if (!options_.repeatAllowed)
    for (auto it = state_.recordedEntries.rbegin(); it != state_.recordedEntries.rend(); ++it)
      ReturnToPool(state_, *it);
  // The batch goes back as it was read.
  const std::string planLine = line.text;
  if (options_.forwardOrder)
    state_.plan.insert(state_.plan.begin(), line);
  else
    state_.plan.push_back(line);
  const int requeuedAt = options_.forwardOrder ? 1 : static_cast<int>(state_.plan.size());
  state_.batchNo -= 1;
  state_.drawnInAward = std::max(0, state_.drawnInAward - static_cast<int>(count));
  state_.undoAvailable = false;
  SyncExitRecord();
  // Counted with or without a log: the batch drawn again is its index's next attempt.
  std::vector<std::string> returned;
  if (!options_.repeatAllowed) returned.assign(state_.recordedEntries.rbegin(), state_.recordedEntries.rend());
  const bool logKept = receipts_.Active();
  const bool written = receipts_.AppendUndo(state_.recordedAwardName, state_.recordedEntries, returned, requeuedAt,
                                            planLine, clock_.Now());
  if (logKept) ReceiptWritten(written);
  // The batch taken back is the next one: the stage shows its ready state at once, and the marquee
  // what it showed before that batch's stop.
  ShowMarquee(marqueeBeforeStop_);
  AnnounceNextBatch();
  undoneBatchReady_ = true;
}

bool DrawController::QuitPressed() {
  if (state_.drawStarted && !state_.plan.empty()) {
    if (prompter_.Message(Gb(texts::kQuitQuestion), Gb(texts::kQuitCaption), Buttons::OkCancel, Icon::Information) !=
        Answer::Ok)
      return false;
    state_.quitConfirmed = true;
  }
  // A quit keeps the draw's progress as a crash would, so the next start offers to continue it (and a
  // "no" there starts afresh with these results put aside). Deleting it would make that start a fresh
  // draw over the full list, in which earlier winners can win again. A batch still rolling is not
  // recorded: it rolls again after the resume.
  StopRoll();
  SyncExitRecord();
  return true;
}

void DrawController::StageDestroyed(bool textModeChecked) {
  Settings settings(dir_.Path(ProgramDir::kConfigIni));
  settings.WriteBool(Gb(kModeSection), Gb(kTextModeKey), textModeChecked);
  StopRoll();
  SyncExitRecord();
}

void DrawController::SuspendStageMusic() {
  music_.Suspend();
}

void DrawController::AfterAwardSettings(bool closedWithOk, bool restartRequested) {
  const PlanLine announced = state_.currentLine;
  if (!state_.drawStarted || restartRequested) ResetDraw(HistoryReason::ListOrAwardsSaved);
  if (closedWithOk) {
    LoadStageSettings();
    SelectCurrentLine(state_, options_.forwardOrder);
    stage_.SetVisible(StageElement::PrizePicture, false);
    ShowDrawerCaption();
  }
  // The draw order is stored the moment it is chosen, whichever way the window closes, so the next
  // start may take another line than the one announced. That line is announced now, with its award
  // and prize: the prize on screen is the one recorded with the winners. Another batch of the same
  // award and prize needs nothing, so its winners still join that award's result line.
  if (state_.drawStarted && !state_.WinnersShown() && !state_.plan.empty()) {
    SelectCurrentLine(state_, options_.forwardOrder);
    auto shown = [](const PlanLine& line) { return std::make_tuple(line.award, line.prize, line.picture); };
    if (shown(state_.currentLine) != shown(announced)) ShowReadyState();
  }
  // The settings may have switched the prize picture on or off, or changed the announced award's.
  if (closedWithOk) ShowReadyPrize();
  music_.Resume();
}

void DrawController::AfterListEditor(bool restartRequested) {
  if (!state_.drawStarted || restartRequested) ResetDraw(HistoryReason::ListOrAwardsSaved);
  music_.Resume();
}

void DrawController::AfterSoundSettings() {
  sounds_ = LoadSoundSettings(Settings(dir_.Path(ProgramDir::kConfigIni)), dir_);
  music_.Resume();
}

}  // namespace kavrel
