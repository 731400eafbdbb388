#include "engine/draw_session.h"

#include <algorithm>

#include "engine/plan.h"
#include "engine/queued_batches.h"
#include "storage/settings.h"

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

DrawSession::DrawSession(StageHooks& stage, ModeSwitchHost& modeHost, Prompter& prompter, SoundPort& sound,
                         const Clock& clock, const ProgramDir& dir, Settings& settings)
    : stage_(stage),
      dir_(dir),
      prompter_(prompter),
      controller_(state_, options_, mode_, *this, prompter, sound, clock, dir),
      modes_(controller_, state_, mode_, dir, settings, prompter, clock, modeHost) {
  controller_.SetChangeListener([this] { Notify(); });
}

DrawSession::~DrawSession() {
  controller_.SetChangeListener({});
}

void DrawSession::AddObserver(DrawObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void DrawSession::RemoveObserver(DrawObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void DrawSession::Notify() {
  // A copy: an observer may remove itself (or another) while it is told.
  const std::vector<DrawObserver*> observers = observers_;
  for (DrawObserver* o : observers)
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->DrawChanged(*this);
}

void DrawSession::SetText(StageElement element, const std::string& text) {
  texts_[static_cast<std::size_t>(element)] = text;
  stage_.SetText(element, text);
}

bool DrawSession::CorrectionMayOpen(const char* whatUtf8) {
  return !controller_.RefuseWhileViewingPast() && kavrel::CorrectionMayOpen(state_, prompter_, whatUtf8);
}

// A queued redraw is the next batch: the stage shows its ready state. Whatever changed, the resume
// record is rewritten at once (marks in the result files change their sizes too).
void DrawSession::Abandon(const AbandonRequest& request) {
  const AbandonOutcome done = kavrel::Abandon(request, state_, options_, dir_, prompter_);
  // The receipt comes after the result files and before the resume record, as at a stop.
  if (done.done) {
    controller_.RecordAbandonReceipt(done.awardName, done.abandoned, done.returned, QueuedLines(done.queued));
    controller_.WinnersGivenUp(done.abandoned);
  }
  if (state_.planChanged)
    controller_.ShowReadyState();
  else
    controller_.SyncExitRecord();
}

void DrawSession::Supplement(const SupplementRequest& request) {
  const SupplementOutcome done = kavrel::Supplement(request, state_, options_, prompter_);
  if (done.done) controller_.RecordSupplementReceipt(QueuedLines(done.queued));
  if (state_.planChanged) controller_.ShowReadyState();
}

// The batch about to be drawn may be the one changed: the current line is chosen again and, between
// batches, its prize shown at once (the prize label is what the batch is recorded with). While the
// last batch's winners are on screen the label keeps their prize; the next announce shows the new one.
void DrawSession::ChangePrize(const PrizeChangeRequest& request) {
  const std::size_t position = request.planPosition;
  const std::string before =
      position >= 1 && position <= state_.plan.size() ? state_.plan[position - 1] : std::string();
  const PrizeChangeOutcome done = kavrel::ChangePrize(request, state_);
  if (done.changed) {
    controller_.RecordPrizeChangeReceipt(static_cast<int>(done.planPosition), before,
                                         state_.plan[done.planPosition - 1]);
    controller_.SyncExitRecord();
  }
  if (state_.plan.empty()) return;
  SelectCurrentLine(state_, options_.forwardOrder);
  if (state_.phase == DrawPhase::Ready) controller_.SetPrizeLabel(Field(state_.currentLine, kPrizeName));
}

void DrawSession::AfterStartFrom() {
  controller_.ShowReadyState();
}

}  // namespace kavrel
