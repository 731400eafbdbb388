#include "engine/draw_controller.h"

#include <algorithm>
#include <set>

#include "engine/committed_random.h"
#include "engine/draw_texts.h"
#include "engine/photo_check.h"
#include "engine/plan.h"
#include "storage/award_store.h"
#include "storage/codec.h"
#include "storage/file_step.h"
#include "storage/number_text.h"
#include "storage/participant_store.h"
#include "storage/result_store.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

std::string PictureProblemText(const std::string& path, const PictureCheck& check) {
  std::string text =
      Gb(check.result == PictureCheck::TooLarge ? texts::kPrizePictureTooLarge : texts::kPrizePictureUnreadable);
  auto put = [&text](std::string_view marker, const std::string& value) {
    if (const auto at = text.find(marker); at != std::string::npos) text.replace(at, marker.size(), value);
  };
  put("%w", std::to_string(check.width));
  put("%h", std::to_string(check.height));
  put("%s", path);  // last: the path may hold any of the markers itself
  return text;
}

}  // namespace

DrawController::DrawController(DrawState& state, DrawOptions& options, DrawMode& mode, StageHooks& stage,
                               Prompter& prompter, SoundPort& sound, const Clock& clock, const ProgramDir& dir)
    : state_(state),
      options_(options),
      mode_(mode),
      stage_(stage),
      prompter_(prompter),
      sound_(sound),
      clock_(clock),
      dir_(dir),
      random_(clock) {}

void DrawController::Message(const char* utf8Text, const char* utf8Caption, Icon icon) {
  prompter_.Message(Gb(utf8Text), Gb(utf8Caption), Buttons::Ok, icon);
}

void DrawController::SetNumberText(const char* utf8) {
  stage_.SetText(StageElement::NumberLabel, Gb(utf8));
}

void DrawController::SetAwardLabel(const std::string& text) {
  awardText_ = text;
  stage_.SetText(StageElement::AwardLabel, awardText_);
}

void DrawController::SetPrizeLabel(const std::string& prizeName) {
  prizeText_ = prizeName;
  stage_.SetText(StageElement::PrizeLabel, prizeText_);
  NotifyChanged();
}

void DrawController::ShowStatus(bool done) {
  stage_.SetText(StageElement::StatusLabel, StatusText(state_, done));
  NotifyChanged();
}

PickRules DrawController::Rules() const {
  return {options_.repeatAllowed, mode_.textMode, options_.maskOn, options_.maskFrom, options_.maskTo};
}

void DrawController::ShowPrize() {
  // The panel comes up when prize pictures are shown; a panel already up (the option was switched
  // off since) is cleared for a line without picture, as for any other line.
  if (!options_.prizePictureShown && !stage_.IsVisible(StageElement::PrizePicture)) return;
  const std::string& path = state_.currentLine.picture;
  if (path.empty()) return stage_.SetVisible(StageElement::PrizePicture, false);
  const PictureCheck check = stage_.ShowPrizePicture(path);
  // Said once per picture: the next batches of the award press on without a box in between.
  if (check.result != PictureCheck::Shows && picturesTold_.insert(path).second)
    prompter_.Message(PictureProblemText(path, check), Gb(texts::kInfoCaption), Buttons::Ok, Icon::Warning);
}

void DrawController::StartPressed() {
  if (state_.Rolling()) return;
  if (RefuseWhileViewingPast()) return;
  // The fresh draw on the stage waits for the previous one's results to be put aside.
  if (recovery_.FreshDrawBlocked()) {
    if (!recovery_.RetryPutAside()) return;
    winners_.Load(dir_);
    FixFreshSeal();
  }
  StartChecksAndRoll();
  // Without a roll, a press on the finished stage waits for its stop press as a roll would.
  if (state_.phase == DrawPhase::AllDrawn) state_.phase = DrawPhase::Finished;
  NotifyChanged();
}

void DrawController::StartChecksAndRoll() {
  if (!state_.drawStarted) {
    if (state_.pool.empty() && !presentRefusal_.empty()) {
      prompter_.Message(presentRefusal_, Gb(texts::kInfoCaption), Buttons::Ok, Icon::Information);
      return;
    }
    if (state_.pool.empty()) return Message(texts::kNoData, texts::kInfoCaption, Icon::Information);
    if (state_.plan.empty()) return Message(texts::kNoAwards, texts::kInfoCaption, Icon::Information);
    if (options_.totalQuota > 0 && static_cast<std::size_t>(options_.totalQuota) > state_.pool.size())
      return Message(texts::kQuotaTooLarge, texts::kOperationCaption, Icon::Warning);
  }
  SelectCurrentLine(state_, options_.forwardOrder);
  SetAwardLabel(state_.currentLine.award);
  state_.batchSize = state_.currentLine.BatchSize();
  ShowPrize();
  state_.batchWinners.clear();

  if (state_.WinnersShown()) return LeaveResultState();

  if (state_.plan.empty()) {
    Message(texts::kAllDrawn, texts::kHintCaption, Icon::Information);
    stage_.ShowWinnerShow();
    return;
  }
  // A batch size below 1 could never complete a tick; refuse it instead of rolling for ever.
  if (state_.batchSize < 1) return Message(texts::kBadBatchSize, texts::kErrorCaption, Icon::Warning);
  if (state_.groupActive && !CurrentPickRange(state_).Valid(state_.pool.size())) {
    const std::string text = Gb(texts::kBadGroup);
    std::string shown = text;
    const std::string marker = "%d";
    shown.replace(shown.find(marker), marker.size(), std::to_string(state_.pool.size()));
    prompter_.Message(shown, Gb(texts::kOperationCaption), Buttons::Ok, Icon::Warning);
    return;
  }
  if (!CanFillBatch(state_)) return Message(texts::kShortPool, texts::kShortPoolCaption, Icon::Warning);
  if (!stage_.IsVisible(StageElement::NumberLabel)) return;

  if (!mode_.textMode) {
    if (const auto missing = MissingPhotoMessage(state_.pool, mode_.pictureFolder)) {
      prompter_.Message(*missing, Gb(texts::kInfoCaption), Buttons::Ok, Icon::Warning);
      return;
    }
  }
  sound_.StopAllSounds();
  if (sounds_.startSoundOn) sound_.PlaySoundFile(sounds_.startSoundFile, true);
  if (mode_.textMode)
    stage_.PrepareTextRolling(state_.batchSize, state_.pool.front());
  else
    stage_.PreparePictureRolling(state_.batchSize);
  stage_.SetVisible(StageElement::NumberLabel, false);
  SetNumberText("");
  stage_.SetVisible(StageElement::RollingPanel, true);
  undoneBatchReady_ = false;
  state_.phase = DrawPhase::Rolling;
}

int DrawController::TickPeriod() const {
  // The settings accept "0" or text here; a roll must always tick.
  return std::clamp(options_.tickInterval, kMinTickInterval, kMaxTickInterval);
}

void DrawController::LeaveResultState() {
  stage_.SetVisible(StageElement::NumberLabel, true);
  stage_.SetVisible(StageElement::RollingPanel, false);
  SetNumberText(state_.plan.empty() ? texts::kFinishedNumber : texts::kReadyNumber);
  stage_.SetText(StageElement::StartButton, Gb(texts::kStartCaption));
  state_.phase = state_.plan.empty() ? DrawPhase::AllDrawn : DrawPhase::Ready;
  if (state_.lastAwardName != state_.currentLine.award)
    RestartAwardCounters();
  else if (!state_.plan.empty())
    ++state_.batchNo;
  ShowStatus(false);
  ShowDrawerCaption();
  SetPrizeLabel(state_.currentLine.prize);
}

void DrawController::AnnounceNextBatch() {
  SelectCurrentLine(state_, options_.forwardOrder);
  SetAwardLabel(state_.currentLine.award);
  state_.batchSize = state_.currentLine.BatchSize();
  ShowPrize();
  state_.batchWinners.clear();
  LeaveResultState();
}

void DrawController::RestartAwardCounters() {
  const AwardProgress progress = AwardProgressFromPlan(state_);
  state_.batchNo = progress.batchNo;
  state_.drawnInAward = progress.drawnInAward;
}

void DrawController::ShowMarquee(Marquee marquee) {
  marquee_ = std::move(marquee);
  stage_.SetText(StageElement::Marquee, marquee_.text);
}

namespace {

std::string CongratulationText(const std::string& award, const std::vector<std::string>& winners) {
  std::string text = Gb("恭喜：【") + award + Gb("】");
  const std::string comma = Gb("、");
  for (std::size_t i = 0; i < winners.size(); ++i) text += (i ? comma : std::string()) + winners[i];
  return text;
}

}  // namespace

void DrawController::WinnersGivenUp(const std::string& award, const std::vector<std::string>& entries) {
  winners_.MarkAbandoned(award, entries);
  const std::set<std::string> gone(entries.begin(), entries.end());
  auto without = [&](Marquee& m) {
    if (m.award.empty()) return false;
    const std::size_t before = m.winners.size();
    std::erase_if(m.winners, [&](const std::string& w) { return gone.contains(w); });
    if (m.winners.size() == before) return false;
    m = m.winners.empty() ? Marquee{eventMarquee_, {}, {}}
                          : Marquee{CongratulationText(m.award, m.winners), m.award, m.winners};
    return true;
  };
  without(marqueeBeforeStop_);
  Marquee shown = marquee_;
  if (without(shown)) {
    ShowMarquee(std::move(shown));
    NotifyChanged();
  }
}

void DrawController::PastDrawBroughtBack() {
  viewingPastDraw_ = true;
  winners_.Load(dir_);
  NotifyChanged();
}

bool DrawController::RefuseWhileViewingPast() {
  if (!viewingPastDraw_) return false;
  Message(texts::kViewingPastDraw, texts::kInfoCaption, Icon::Information);
  return true;
}

void DrawController::RollTick() {
  if (state_.phase != DrawPhase::Rolling) return;
  if (!PickBatch(state_, Rules(), random_, candidates_)) StopRollWithMessage();
}

void DrawController::StopRoll() {
  // The caller says where the draw stands next (winners shown, ready); a roll is over either way.
  if (state_.RollUnderWay()) state_.phase = DrawPhase::Ready;
}

void DrawController::PauseRoll() {
  if (state_.phase != DrawPhase::Rolling) return;
  state_.phase = DrawPhase::RollPaused;
  NotifyChanged();  // the stage's ticks stop: the roll is frozen as painted
}

void DrawController::ResumeRoll() {
  if (state_.phase != DrawPhase::RollPaused) return;
  state_.phase = DrawPhase::Rolling;
  NotifyChanged();
}

void DrawController::AbortRoll() {
  if (RollActive()) sound_.StopAllSounds();
  StopRoll();
  state_.phase = DrawPhase::Ready;
  state_.batchWinners.clear();
  stage_.SetVisible(StageElement::RollingPanel, false);
  stage_.SetVisible(StageElement::NumberLabel, true);
  SetNumberText(texts::kReadyNumber);
  NotifyChanged();
}

void DrawController::StopRollWithMessage() {
  // The pool or the award group changed under the roll: back to the ready state of the same
  // batch, nothing recorded.
  AbortRoll();
  Message(texts::kShortPool, texts::kShortPoolCaption, Icon::Warning);
}

void DrawController::StopPressed() {
  if (!state_.Rolling()) return;
  const bool complete = !state_.batchWinners.empty() &&
                        state_.batchWinners.size() == static_cast<std::size_t>(std::max(state_.batchSize, 0));
  // Before the first complete tick there is nothing to freeze: the roll simply goes on.
  if (RollActive() && !complete) return;
  if (!state_.plan.empty() && complete)
    RecordStop();
  else if (RollActive())
    StopRoll();  // the plan was emptied under the roll: nothing to record, but the timer must stop
  // The finished stage's stop press leaves it finished; any other stop without winners is ready.
  if (state_.phase == DrawPhase::Finished)
    state_.phase = DrawPhase::AllDrawn;
  else if (!state_.WinnersShown())
    state_.phase = DrawPhase::Ready;
  NotifyChanged();
}

void DrawController::RecordStop() {
  // The ticks were the show: the batch's winners are its committed pick, which follows from the draw
  // key, the audience number, the batch's index and attempt, and nothing the operator can time.
  const PickRange range = CurrentPickRange(state_);
  CommittedRandom committed(receipts_.NextBatchInputs());
  DrawPositions(committed, range, state_.batchSize, options_.repeatAllowed, state_.batchWinners);

  const std::string award = awardText_;
  const std::string prize = prizeText_;
  std::vector<int> positions = state_.batchWinners;
  std::sort(positions.begin(), positions.end(), std::greater<int>());
  std::vector<std::string> entries;
  entries.reserve(positions.size());
  for (int p : positions) entries.push_back(state_.pool[static_cast<std::size_t>(p) - 1]);

  // One time for the result files and the receipt, so the check can hold them to each other.
  const LocalDateTime when = clock_.Now();
  // The stop's journal: results, receipt, resume record, each through the one files seam. The
  // results come first and decide: a batch they do not hold was never drawn, so the stage goes back
  // to the ready state of the same batch with nothing changed, and the next press draws it again
  // (over the same pool and the same receipt counters, so with the same winners). The three are one
  // step: a crash between them (even between the two result files) finds the stop not made.
  const FileStep step(dir_);
  const bool extendLastLine = state_.lastAwardName == award;
  if (!files_->RecordResults(dir_, award, prize, entries, extendLastLine, when)) {
    AbortRoll();
    Message(texts::kRecordFailed, texts::kErrorCaption, Icon::Error);
    return;
  }
  winners_.AddBatch(award, prize, entries, extendLastLine);
  // The roll stops on the winners: they replace the last tick's candidates.
  candidates_.Show(state_, Rules());
  state_.batchWinners = std::move(positions);

  sound_.StopAllSounds();
  if (sounds_.stopSoundOn) sound_.PlaySoundFile(sounds_.stopSoundFile, false);
  StopRoll();
  state_.drawStarted = true;
  stage_.SetText(StageElement::StartButton, Gb(texts::kPrepareCaption));
  state_.phase = DrawPhase::WinnersShown;
  // The announce left the award's count before this batch (restarted for an award opened afresh).
  state_.drawnInAward += static_cast<int>(entries.size());
  ShowStatus(true);

  // The receipt follows the results it vouches for; the pool is still the one the batch rolled over.
  const std::size_t position = NextPlanPosition(state_, options_.forwardOrder);
  const bool logKept = receipts_.Active();
  const bool written = receipts_.AppendBatch(
      {.award = award,
       .prize = prize,
       .pool = state_.pool,
       .range = range,
       .repeatAllowed = options_.repeatAllowed,
       .positions = state_.batchWinners,
       .planPosition = static_cast<int>(position),
       .planLine = position ? state_.plan[position - 1].text : std::string(),
       .startFrom = state_.startFromActive && static_cast<std::size_t>(state_.startFromIndex) == position,
       .forwardOrder = options_.forwardOrder},
      when);
  if (logKept) ReceiptWritten(written);

  state_.recordedLine = state_.currentLine;
  state_.recordedAwardName = award;
  state_.recordedEntries = entries;
  state_.undoAvailable = true;

  RemoveWinners(state_, options_.repeatAllowed);
  ConsumeCurrentLine(state_, options_.forwardOrder);
  marqueeBeforeStop_ = marquee_;
  ShowMarquee({CongratulationText(award, entries), award, entries});
  state_.lastAwardName = award;
  // The last batch of the plan: the draw is finished, and its key is revealed.
  if (state_.plan.empty()) receipts_.Close("finished", when);
  SyncExitRecord();
}

void DrawController::ReceiptWritten(bool written) {
  if (written) return;
  // Said once: the draw itself goes on, only its record for a later check is incomplete.
  if (!receiptWarned_) Message(texts::kReceiptFailed, texts::kErrorCaption, Icon::Warning);
  receiptWarned_ = true;
}

void DrawController::RecordAbandonReceipt(const std::string& award, const std::vector<std::string>& abandoned,
                                          const std::vector<std::string>& returned,
                                          const std::vector<std::string>& queued) {
  if (receipts_.Active())
    ReceiptWritten(receipts_.AppendAbandon(award, abandoned, returned, queued, options_.forwardOrder, clock_.Now()));
}

void DrawController::RecordSupplementReceipt(const std::vector<std::string>& queued) {
  if (receipts_.Active()) ReceiptWritten(receipts_.AppendSupplement(queued, options_.forwardOrder, clock_.Now()));
}

void DrawController::RecordPrizeChangeReceipt(int planIndex, const std::string& lineBefore,
                                              const std::string& lineAfter) {
  if (receipts_.Active()) ReceiptWritten(receipts_.AppendPrizeChange(planIndex, lineBefore, lineAfter, clock_.Now()));
}

}  // namespace kavrel
