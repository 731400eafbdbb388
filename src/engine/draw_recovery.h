#pragma once

#include <optional>
#include <string>

#include "engine/draw_files.h"
#include "engine/draw_receipts.h"
#include "engine/draw_state.h"
#include "engine/ports/prompter.h"
#include "storage/draw_history.h"
#include "storage/result_store.h"
#include "storage/stage_settings.h"

namespace kavrel {

class Clock;
class ProgramDir;

// What the draw leaves on disk so that neither a crash nor a fresh start loses a winner: the resume
// record (config\exit.ini) kept in step with the state, the previous draw's files put into history
// before a fresh draw records anything, and at start-up the record read back and checked. The
// controller decides when; this class knows the files and the order they must change in.
class DrawRecovery {
 public:
  DrawRecovery(DrawState& state, const DrawOptions& options, const ProgramDir& dir, Prompter& prompter,
               const Clock& clock, DrawReceipts& receipts);

  void UseFiles(DrawFiles& files) { files_ = &files; }

  // Rewrites config\exit.ini (atomically) while a draw is under way and batches remain, else deletes
  // it. A record that cannot be written goes, so that it never resumes into batches recorded since;
  // the operator is told once.
  void SyncExitRecord();

  // Puts the previous draw aside for a fresh one: the resume record goes, the receipts are closed and
  // the results move into history with `reason`. Returns nullptr when done, else why not; the previous
  // draw's files are then all still in place and a draw still under way has its record back.
  const char* PutPreviousDrawAside(HistoryReason reason);
  // Tells the operator why the previous draw stays and what follows from it.
  void TellAsideFailed(const char* why, const char* consequence) const;

  // A fresh draw laid out while the previous one could not be put aside rolls only once it is: each
  // start press tries again (RetryPutAside), saying why when it still cannot.
  void SetFreshDrawBlocked(bool blocked, HistoryReason reason) {
    freshDrawBlocked_ = blocked;
    asideReason_ = reason;
  }
  bool FreshDrawBlocked() const { return freshDrawBlocked_; }
  bool RetryPutAside();

  // The resume record found at start-up, checked against the list and the result files.
  struct Offer {
    bool found = false;
    std::optional<ExitRecord> record;  // set when the record can be trusted
    std::string problem;               // why it cannot (GB18030), empty when it can
    std::string listNote;              // what changed in the list since, for the resume question
    bool unconfirmedBatch = false;     // the result files hold one batch more than the record knows
  };
  Offer ReadExitRecord() const;
  // A batch whose stop reached the result files but not the record is cut from them (both files are
  // copied into history first); false when that fails.
  bool TakeBackUnconfirmedBatch(const ExitRecord& record) const;
  // A record that cannot be trusted: the operator is told `message`, the receipts are closed and the
  // record goes into history with the results, so it can still be looked at.
  void PutDamagedRecordAside(const std::string& message);

 private:
  void Message(const char* utf8Text, const char* utf8Caption, Icon icon) const;

  DrawState& state_;
  const DrawOptions& options_;
  const ProgramDir& dir_;
  Prompter& prompter_;
  const Clock& clock_;
  DrawReceipts& receipts_;
  DrawFiles* files_ = &DrawFiles::Real();
  bool exitRecordWarned_ = false;
  bool freshDrawBlocked_ = false;
  HistoryReason asideReason_ = HistoryReason::NewStart;
};

}  // namespace kavrel
