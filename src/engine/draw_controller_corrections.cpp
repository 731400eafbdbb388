// The corrections made during an event, each as one step of the draw's files: the change, its receipt
// after the result files and before the resume record (as at a stop), then the ready state of a queued
// batch or the resume record rewritten.
#include "engine/abandon.h"
#include "engine/draw_controller.h"
#include "engine/plan.h"
#include "engine/prize_change.h"
#include "engine/supplement.h"
#include "storage/file_step.h"

namespace kavrel {

namespace {

// The plan lines a correction queued, as its receipt records them.
std::vector<std::string> QueuedLines(const std::vector<QueuedBatch>& queued) {
  std::vector<std::string> lines;
  lines.reserve(queued.size());
  for (const QueuedBatch& batch : queued) lines.push_back(batch.line);
  return lines;
}

}  // namespace

AbandonOutcome DrawController::Abandon(const AbandonRequest& request) {
  const FileStep step(dir_);
  AbandonOutcome done = kavrel::Abandon(request, state_, options_, dir_, prompter_, *files_);
  if (done.done) {
    RecordAbandonReceipt(done.awardName, done.abandoned, done.returned, QueuedLines(done.queued));
    WinnersGivenUp(done.awardName, done.abandoned);
  }
  if (state_.planChanged)
    ShowReadyState();
  else
    SyncExitRecord();
  return done;
}

SupplementOutcome DrawController::Supplement(const SupplementRequest& request) {
  const FileStep step(dir_);
  SupplementOutcome done = kavrel::Supplement(request, state_, options_, prompter_);
  if (done.done) RecordSupplementReceipt(QueuedLines(done.queued));
  if (state_.planChanged) ShowReadyState();
  return done;
}

// The batch about to be drawn may be the one changed: the current line is chosen again and, between
// batches, its prize shown at once (the prize label is what the batch is recorded with). While the
// last batch's winners are on screen the label keeps their prize; the next announce shows the new one.
PrizeChangeOutcome DrawController::ChangePrize(const PrizeChangeRequest& request) {
  const FileStep step(dir_);
  const std::size_t position = request.planPosition;
  const std::string before =
      position >= 1 && position <= state_.plan.size() ? state_.plan[position - 1].text : std::string();
  PrizeChangeOutcome done = kavrel::ChangePrize(request, state_);
  if (done.changed) {
    RecordPrizeChangeReceipt(static_cast<int>(done.planPosition), before, state_.plan[done.planPosition - 1].text);
    SyncExitRecord();
  }
  if (state_.plan.empty()) return done;
  SelectCurrentLine(state_, options_.forwardOrder);
  if (state_.phase == DrawPhase::Ready) SetPrizeLabel(state_.currentLine.prize);
  return done;
}

}  // namespace kavrel
