#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/pick.h"
#include "storage/local_date_time.h"
#include "storage/receipt_log.h"

namespace kavrel {

class ProgramDir;

// Keeps config\receipts.log, the draw's tamper-evident record. A fresh draw fixes the event seal
// (line 1) over the pool and the plan it starts with; every recorded stop, undo and correction then
// appends one receipt chained to the line before it. The log is rewritten whole and atomically at
// each append, like every other data file.
//
// Only a draw whose log this object started or picked up (a resume) gets receipts: appending to a
// log of another draw would chain two draws together and neither would verify.
class DrawReceipts {
 public:
  explicit DrawReceipts(const ProgramDir& dir) : dir_(dir) {}

  // A fresh draw: starts a new log holding only the seal. Any log still in place belongs to a draw
  // whose results could not be put aside; it is kept, and this draw goes without receipts (false).
  bool FixSeal(const std::vector<std::string>& pool, const std::vector<std::string>& plan, const LocalDateTime& when);
  // A resumed draw continues the log in place; without a sound seal line it gets no receipts.
  void PickUp();
  // A resume that took back the batch being recorded when power was lost: drops trailing batch
  // receipts until the log holds no more batches than the result files (`recordedBatches`).
  void MatchRecordedBatches(int recordedBatches);
  // No receipts from here on (the draw was put aside without a fresh start).
  void Drop() { active_ = false; }

  bool Active() const { return active_; }
  // The seal of the draw under way ("" when none), and the SHA-256 of the log's last line.
  const std::string& Seal() const { return seal_; }
  const std::string& LastHash() const { return lastHash_; }

  // The stop: `pool` as it was while the batch rolled, the range and repeat rule of the pick, the
  // generator's state when the final tick began picking, and the winners' positions as recorded.
  bool AppendBatch(const std::string& award, const std::string& prize, const std::vector<std::string>& pool,
                   const PickRange& range, bool repeatAllowed, std::uint32_t generatorState,
                   const std::vector<int>& positions, const LocalDateTime& when);
  // Undo: the entries taken back (as recorded) and those returned to the end of the pool, in order.
  bool AppendUndo(const std::string& award, const std::vector<std::string>& entries,
                  const std::vector<std::string>& returned, const LocalDateTime& when);
  // Abandon: the entries marked abandoned in `award`'s results, those returned to the end of the
  // pool in order, and the redraw lines queued (empty without a redraw).
  bool AppendAbandon(const std::string& award, const std::vector<std::string>& abandoned,
                     const std::vector<std::string>& returned, const std::vector<std::string>& queued,
                     const LocalDateTime& when);
  // Supplementary draw: the plan lines queued.
  bool AppendSupplement(const std::vector<std::string>& queued, const LocalDateTime& when);
  // Temporary prize change of the plan line at 1-based `planIndex`.
  bool AppendPrizeChange(int planIndex, const std::string& lineBefore, const std::string& lineAfter,
                         const LocalDateTime& when);

 private:
  bool Append(Receipt receipt, const LocalDateTime& when);

  const ProgramDir& dir_;
  bool active_ = false;
  std::string seal_;
  std::string lastHash_;
};

}  // namespace kavrel
