#include "engine/draw_recovery.h"

#include <filesystem>
#include <vector>

#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "engine/ports/clock.h"
#include "engine/resume_check.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {

DrawRecovery::DrawRecovery(DrawState& state, const DrawOptions& options, const ProgramDir& dir, Prompter& prompter,
                           const Clock& clock, DrawReceipts& receipts)
    : state_(state), options_(options), dir_(dir), prompter_(prompter), clock_(clock), receipts_(receipts) {}

void DrawRecovery::Message(const char* utf8Text, const char* utf8Caption, Icon icon) const {
  prompter_.Message(Gb(utf8Text), Gb(utf8Caption), Buttons::Ok, icon);
}

const char* DrawRecovery::PutPreviousDrawAside(HistoryReason reason) {
  // A fresh draw starts with empty result files, but the last event's winners are kept, with a note
  // of why they were put aside for the history window. The record goes before the results move: a
  // crash in between must not leave a record whose results are gone, which a later resume would
  // finish without those winners.
  const bool recordRemoved = files_->DeleteExitRecord(dir_);
  if (recordRemoved) {
    // The draw being put aside reveals its key before its receipts leave with it.
    receipts_.Close(reason == HistoryReason::Restart ? "restart" : "put_aside", clock_.Now());
    if (files_->PutResultsAside(dir_, clock_.Now(), reason)) return nullptr;
  }
  // The previous draw's files are all still in place (a move that failed part-way is moved back), and
  // a draw still under way gets its record back. Recording a fresh draw into them would mix two draws.
  SyncExitRecord();
  return recordRemoved ? texts::kHistoryFailed : texts::kExitRecordNotRemoved;
}

void DrawRecovery::TellAsideFailed(const char* why, const char* consequence) const {
  prompter_.Message(Gb(why) + Gb(consequence), Gb(texts::kErrorCaption), Buttons::Ok, Icon::Warning);
}

bool DrawRecovery::RetryPutAside() {
  if (const char* why = PutPreviousDrawAside(asideReason_)) {
    TellAsideFailed(why, texts::kFreshDrawBlocked);
    return false;
  }
  freshDrawBlocked_ = false;
  return true;
}

DrawRecovery::Offer DrawRecovery::ReadExitRecord() const {
  ExitRecordFile file = LoadExitRecord(dir_);
  Offer offer;
  offer.found = file.found;
  if (!file.found) return offer;
  ResumeVerdict verdict;
  verdict.problem = file.problem;
  if (file.record) {
    PoolLoadNotes notes;
    const auto list = LoadPool(dir_, &notes);
    if (!list)
      verdict.problem = Gb("名单文件 config\\set.dat 不存在");
    else
      verdict = CheckResumeRecord(*file.record, *list, ReadTextFile(dir_.Path(ProgramDir::kResultDat)),
                                  ReadTextFile(dir_.Path(ProgramDir::kResultTxt)), options_.repeatAllowed);
  }
  if (!verdict.problem.empty()) {
    offer.problem = verdict.problem;
    return offer;
  }
  offer.record = std::move(file.record);
  offer.listNote = ListChangeNote(verdict);
  offer.unconfirmedBatch = verdict.unconfirmedBatch;
  return offer;
}

bool DrawRecovery::TakeBackUnconfirmedBatch(const ExitRecord& record) const {
  return TrimUnconfirmedResults(dir_, record, clock_.Now());
}

void DrawRecovery::PutDamagedRecordAside(const std::string& message) {
  prompter_.Message(message, Gb(texts::kResumeCaption), Buttons::Ok, Icon::Warning);
  receipts_.Close("put_aside", clock_.Now());
  // The record goes first, and with the results, so the damaged record can still be looked at. When
  // that move fails the fresh start that follows tries again with the results alone, and says so if
  // it fails too.
  const std::vector<std::filesystem::path> files = {
      dir_.Path(ProgramDir::kExitIni),     dir_.Path(ProgramDir::kResultDat),  dir_.Path(ProgramDir::kResultTxt),
      dir_.Path(ProgramDir::kReceiptsLog), dir_.Path(ProgramDir::kSealedList), dir_.Path(ProgramDir::kReceiptsKey)};
  files_->MoveToHistory(dir_, files, clock_.Now());
}

void DrawRecovery::SyncExitRecord() {
  if (!state_.drawStarted || state_.plan.empty()) {
    files_->DeleteExitRecord(dir_);
    return;
  }
  ExitRecord record;
  // The pool is lent to the record for the write and taken back: copying a large pool entry by entry
  // at every stop would cost more than writing it.
  record.pool = std::move(state_.pool);
  record.plan = PlanTexts(state_.plan);
  record.lastAwardName = state_.lastAwardName;
  record.batchNo = state_.batchNo;
  record.drawnInAward = state_.drawnInAward;
  record.presentOnly = state_.presentOnly;
  record.presentCount = state_.presentCount;
  if (receipts_.Active()) record.seal = receipts_.Seal();
  auto sizeOf = [this](std::string_view suffix) -> long long {
    std::error_code ec;
    const auto size = std::filesystem::file_size(dir_.Path(suffix), ec);
    return ec ? 0 : static_cast<long long>(size);
  };
  record.resultDatSize = sizeOf(ProgramDir::kResultDat);
  record.resultTxtSize = sizeOf(ProgramDir::kResultTxt);
  // Outside the result state the counter of a continued award already names the next batch; the
  // record always names the last recorded one.
  if (!state_.WinnersShown() && !state_.lastAwardName.empty()) {
    if (state_.lastAwardName == state_.currentLine.award) {
      record.batchNo = state_.batchNo - 1;
    } else {
      // The counters are already the announced award's; a resume counts that award afresh from the
      // plan. Paired with the last award's name they would claim more of its winners than the
      // results hold, and the next start would refuse the record.
      record.batchNo = 0;
      record.drawnInAward = 0;
    }
  }
  const bool written = files_->WriteExitRecord(dir_, record);
  state_.pool = std::move(record.pool);
  if (written) return;
  // A record left behind at its old state would resume into batches recorded since: it goes.
  // (Something other than a file in its place is no record a start would offer to resume.)
  const bool removed = files_->DeleteExitRecord(dir_) || !FileExists(dir_.Path(ProgramDir::kExitIni));
  // Said once: repeating it after every batch would only get in the operator's way.
  if (!exitRecordWarned_)
    Message(removed ? texts::kExitRecordFailed : texts::kExitRecordStale, texts::kErrorCaption, Icon::Warning);
  exitRecordWarned_ = true;
}

}  // namespace kavrel
