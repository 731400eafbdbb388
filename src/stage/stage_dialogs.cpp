// The stage's own dialog commands for sound, styling, the screen lock and the corrections made
// during an event.
#include <string>
#include <vector>

#include "corrections/abandon_window.h"
#include "corrections/prize_change_window.h"
#include "corrections/supplement_window.h"
#include "engine/abandon.h"
#include "engine/plan.h"
#include "engine/prize_change.h"
#include "engine/queued_batches.h"
#include "engine/supplement.h"
#include "settings/award_groups_window.h"
#include "settings/sound_settings_window.h"
#include "stage/font_color_window.h"
#include "stage/lock_window.h"
#include "stage/notary_window.h"
#include "stage/stage_window.h"

namespace kavrel {

// The music pauses while the sounds are chosen; afterwards the settings are read again and the stage
// music starts from the beginning of its (possibly new) file when it is switched on.
void StageWindow::OpenSoundSettings() {
  controller_.SuspendStageMusic();
  SoundSettingsWindow window(dir_, settings_, sound_, prompter_, OperatorWindow());
  window.exec();
  controller_.AfterSoundSettings();
}

// Every change reaches the stage as it is made; afterwards the captions are re-fitted to their new
// fonts and placed again. The prize name is fitted afresh too, so a new font is not cut off at its old
// size until the next batch is announced.
void StageWindow::OpenFontsAndColours() {
  StageStyler styler(elements_, rollColour_);
  FontColorWindow window(styler, OperatorWindow());
  window.exec();
  LayoutStage();
  if (!elements_.prizeName->isHidden() && !elements_.prizeName->text().isEmpty()) {
    FitPrizeName(elements_, elements_.prizeName->text(), ScreenRect().width());
    LayoutStage();
  }
}

// The group goes straight into the draw state and needs no reload. While candidates roll the
// window does not open: the batch being picked must keep the range it started with.
void StageWindow::OpenAwardGroups() {
  if (!AwardGroupEditor::MayOpen(state_, prompter_)) return;
  AwardGroupsWindow window(state_, options_.forwardOrder, prompter_, OperatorWindow());
  window.exec();
}

namespace {

// The plan lines a correction queued, as its receipt records them.
std::vector<std::string> QueuedLines(const std::vector<QueuedBatch>& queued) {
  std::vector<std::string> lines;
  lines.reserve(queued.size());
  for (const QueuedBatch& batch : queued) lines.push_back(batch.line);
  return lines;
}

}  // namespace

// The corrections change the plan or the pool, so none opens while candidates roll. A queued redraw
// or supplementary batch is the next batch: the stage shows its ready state. Whatever changed, the
// resume record is rewritten at once (marks in the result files change their sizes too).
void StageWindow::OpenAbandon() {
  if (!CorrectionMayOpen(state_, prompter_, "弃奖")) return;
  AbandonWindow window(dir_, prompter_, OperatorWindow());
  if (window.exec() != QDialog::Accepted) return;
  const AbandonOutcome done = Abandon(window.Request(), state_, options_, dir_, prompter_);
  // The receipt comes after the result files and before the resume record, as at a stop.
  if (done.done)
    controller_.RecordAbandonReceipt(done.awardName, done.abandoned, done.returned, QueuedLines(done.queued));
  if (state_.planChanged)
    controller_.ShowReadyState();
  else
    controller_.SyncExitRecord();
}

void StageWindow::OpenSupplement() {
  if (!CorrectionMayOpen(state_, prompter_, "补奖")) return;
  SupplementWindow window(dir_, prompter_, OperatorWindow());
  if (window.exec() != QDialog::Accepted) return;
  const SupplementOutcome done = Supplement(window.Request(), state_, options_, prompter_);
  if (done.done) controller_.RecordSupplementReceipt(QueuedLines(done.queued));
  if (state_.planChanged) controller_.ShowReadyState();
}

// The batch about to be drawn may be the one changed: the current line is chosen again and, between
// batches, its prize shown at once (the prize label is what the batch is recorded with). While the
// last batch's winners are on screen the label keeps their prize; the next announce shows the new one.
void StageWindow::OpenPrizeChange() {
  if (!CorrectionMayOpen(state_, prompter_, "修改奖品")) return;
  PrizeChangeWindow window(state_.plan, prompter_, OperatorWindow());
  const bool confirmed = window.exec() == QDialog::Accepted;
  if (confirmed) {
    const std::size_t position = window.Request().planPosition;
    const std::string before =
        position >= 1 && position <= state_.plan.size() ? state_.plan[position - 1] : std::string();
    const PrizeChangeOutcome done = ChangePrize(window.Request(), state_);
    if (done.changed) {
      controller_.RecordPrizeChangeReceipt(static_cast<int>(done.planPosition), before,
                                           state_.plan[done.planPosition - 1]);
      controller_.SyncExitRecord();
    }
  }
  if (state_.plan.empty()) return;
  SelectCurrentLine(state_, options_.forwardOrder);
  if (state_.phase == DrawPhase::Ready) controller_.SetPrizeLabel(Field(state_.currentLine, kPrizeName));
}

// Locking changes nothing in the draw; the stage takes the keys again once it is unlocked.
void StageWindow::LockScreen() {
  LockWindow window(settings_, prompter_, ScreenRect(), this);
  window.exec();
  activateWindow();
  setFocus();
}

// The seal and the chain's end as they stand now; the window changes nothing.
void StageWindow::ShowNotaryInfo() {
  const DrawReceipts& receipts = controller_.Receipts();
  NotaryWindow window({.seal = receipts.Active() ? receipts.Seal() : std::string(),
                       .lastHash = receipts.LastHash(),
                       .closed = receipts.Closed(),
                       .audienceNumber = receipts.AudienceNumber()},
                      this);
  window.exec();
}

}  // namespace kavrel
