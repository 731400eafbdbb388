#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/committed_random.h"
#include "engine/draw_files.h"
#include "engine/pick.h"
#include "storage/local_date_time.h"
#include "storage/receipt_log.h"

namespace kavrel {

class ProgramDir;

// What a fresh draw's seal covers besides its time, nonce and key: the list as loaded (kept beside
// the log as config\receipts-list.dat), the pool drawn from (the list, or the list without the extra
// copies of repeated entries), the plan, how many extra copies the list held and whether they were
// kept as extra tickets, and the repeat rule the draw starts with. A draw among those signed in seals
// as its list the list's signed-in entries, `presentCount` of them.
struct SealInputs {
  const std::vector<std::string>& list;
  const std::vector<std::string>& pool;
  const std::vector<std::string>& plan;
  long long duplicates = 0;
  bool duplicatesKept = false;
  bool repeatAllowed = false;
  bool presentOnly = false;
  long long presentCount = 0;
};

// What a resume found in the log it is to continue.
enum class LogAtResume {
  Continued,  // sound: the draw's receipts go on
  Missing,    // no log at all
  Damaged,    // a line that is no receipt (line `line`)
  Cut,        // the log holds fewer batches than the result files (it was cut after line `line`)
  KeyLost,    // the draw key beside it is missing or is not the sealed one
  OlderKind,  // a log of the first receipts' kind, which a new stop cannot continue
  Foreign,    // the log is another draw's: its seal is not the one the resume record names
  // The receipts go on, but the list kept beside them (receipts-list.dat) no longer gives the pool the
  // seal covers: the draw can be checked only with the list as it was sealed.
  ListDamaged,
};
struct ResumeReceipts {
  LogAtResume state = LogAtResume::Missing;
  int line = 0;             // see LogAtResume
  int batchesInLog = 0;     // standing batches the log accounts for
  int batchesRecorded = 0;  // batches in the result files
  std::string foreignSeal;  // Foreign: the seal of the log found
};

// Keeps config\receipts.log, the draw's tamper-evident record, and the committed randomness its
// batches are drawn with. A fresh draw makes a 256-bit draw key from the operating system's entropy
// and fixes the event seal (line 1) over the list, the plan, a fresh nonce and time and the key's
// SHA-256; the key itself waits in config\receipts-key.dat (a resume needs it) until the draw ends,
// when a closing line reveals it. Every recorded stop, undo and correction appends one receipt
// chained to the line before it. The log is rewritten whole and atomically at each append. A
// finished draw closes at its last batch; a correction after that (a winner gives up, a batch taken
// back, a supplementary draw) opens the log again under a fresh key, sealed on a reopening line.
//
// Each batch's winners follow from the key, the audience number, the batch's index and the attempt
// (NextBatchInputs), so the operator cannot time a stop to choose them; the counters run whether or
// not a log is kept. Only a draw whose log this object started or picked up gets receipts: appending
// to another draw's log would chain two draws together and neither would verify.
class DrawReceipts {
 public:
  explicit DrawReceipts(const ProgramDir& dir) : dir_(dir) {}

  // Where draw keys and nonces come from: the operating system's entropy unless a test gives a
  // reproducible source.
  using RandomBytes = std::function<std::string(std::size_t)>;
  void UseRandomBytes(RandomBytes source) { randomBytes_ = std::move(source); }
  // Where a receipt is appended (the stop's journal seam); the real file unless a test says otherwise.
  void UseFiles(DrawFiles& files) { files_ = &files; }

  // A fresh draw: a new key, and a new log holding only the seal. Any log still in place beside results
  // belongs to a draw whose results could not be put aside; it is kept, and this draw goes without
  // receipts (false). A log that records a batch without its results beside it goes into history first.
  //
  // A seal with nothing drawn under it yet is never dropped unseen: a start over the same list and
  // plan (after a crash, a quit or F12 before the first stop) goes on under it, with its key and its
  // audience number, so a restart cannot try keys until one suits. Otherwise (the list or plan
  // changed, or `deliberate`: the operator's F1) the new seal counts the seals before it and names
  // the last one, and the stage shows both.
  bool FixSeal(const SealInputs& inputs, const LocalDateTime& when, bool deliberate = false);
  // A resumed draw continues the log in place. `recordedBatches` is the batch count of the result
  // files; with `batchTakenBack` (the resume took back a batch the record never confirmed) a receipt
  // written for that batch is dropped with it. Without a sound log (or its key) the draw goes on with
  // a fresh key and no receipts; what was found is returned so the operator can be told.
  // `recordSeal`: the seal the resume record names ("" when it names none).
  ResumeReceipts PickUp(int recordedBatches, bool batchTakenBack, const std::string& recordSeal);
  // No receipts from here on (the draw was put aside without a fresh start).
  void Drop() { active_ = false; }

  // The draw ends (finished, restarted, put aside): appends the closing line revealing the key, to
  // this draw's log or, when this object has none active, to a log left by an earlier run whose key
  // is still beside it. Nothing when the log is closed already. `reason`: "finished", "restart",
  // "put_aside".
  void Close(const char* reason, const LocalDateTime& when);

  // The number called out by the audience (ASCII digits), recorded before the first batch and mixed
  // into every batch from then on. False when it can no longer be taken (see AudienceNumberOpen) or the
  // receipt could not be written.
  bool SetAudienceNumber(const std::string& digits, const LocalDateTime& when);
  // The log is active, no batch was recorded yet and no number was taken.
  bool AudienceNumberOpen() const;
  const std::string& AudienceNumber() const { return audience_; }

  // The committed inputs of the next batch.
  BatchInputs NextBatchInputs() const;

  bool Active() const { return active_; }
  // The seal of the draw under way ("" when none), and the SHA-256 of the log's last line (the closing
  // hash once Closed()).
  const std::string& Seal() const { return seal_; }
  // The seal's line as the log holds it (what a membership proof is checked against); "" when none.
  const std::string& SealLine() const { return sealLine_; }
  const std::string& LastHash() const { return lastHash_; }
  // Seals of this event before the one under way that had nothing drawn under them, and the last one.
  int Reseals() const { return reseal_; }
  const std::string& PreviousSeal() const { return previousSeal_; }
  // A batch was recorded under this seal.
  bool AnyBatch() const { return anyBatch_; }
  bool Closed() const { return closed_; }
  // What the result windows print of this draw's log (nothing when it keeps none).
  ReceiptSummary Summary() const {
    return active_ ? ReceiptSummary{seal_, lastHash_, closed_, audience_} : ReceiptSummary{};
  }

  // The stop: `pool` as it was while the batch rolled, the range and repeat rule of the pick, the
  // winners' positions as recorded, and the plan line drawn (its 1-based position at the stop, whether
  // a start-from choice picked it, the plan's direction). Counts the batch whether or not a log is kept.
  struct BatchDrawn {
    const std::string& award;
    const std::string& prize;
    const std::vector<std::string>& pool;
    PickRange range;
    bool repeatAllowed = false;
    const std::vector<int>& positions;
    int planPosition = 0;
    const std::string& planLine;
    bool startFrom = false;
    bool forwardOrder = true;
  };
  bool AppendBatch(const BatchDrawn& batch, const LocalDateTime& when);
  // Undo: the entries taken back (as recorded), those returned to the end of the pool in order, and
  // where the batch's plan line went back. Counts the undo whether or not a log is kept.
  bool AppendUndo(const std::string& award, const std::vector<std::string>& entries,
                  const std::vector<std::string>& returned, int planPosition, const std::string& planLine,
                  const LocalDateTime& when);
  // Abandon: the entries marked abandoned in `award`'s results, those returned to the end of the
  // pool in order, and the redraw lines queued (empty without a redraw) in the plan's direction.
  bool AppendAbandon(const std::string& award, const std::vector<std::string>& abandoned,
                     const std::vector<std::string>& returned, const std::vector<std::string>& queued,
                     bool forwardOrder, const LocalDateTime& when);
  // Supplementary draw: the plan lines queued.
  bool AppendSupplement(const std::vector<std::string>& queued, bool forwardOrder, const LocalDateTime& when);
  // Temporary prize change of the plan line at 1-based `planIndex`.
  bool AppendPrizeChange(int planIndex, const std::string& lineBefore, const std::string& lineAfter,
                         const LocalDateTime& when);

 private:
  bool Append(Receipt receipt, const LocalDateTime& when);
  // The log is the size this object left it at and still begins with this draw's seal.
  bool LogAsLeft(const std::filesystem::path& path) const;
  bool Reopen(const LocalDateTime& when);
  void ResetCounters();
  void FreshKey();

  const ProgramDir& dir_;
  DrawFiles* files_ = &DrawFiles::Real();
  RandomBytes randomBytes_ = SystemRandomBytes;
  bool active_ = false;
  bool closed_ = false;
  std::string seal_;
  std::string sealLine_;
  std::string lastHash_;
  // The log as this object last wrote it (size in bytes, lines; no lines: not known), so that a
  // receipt can be appended without reading the log again.
  struct LogEnd {
    std::uintmax_t size = 0;
    std::size_t lines = 0;
  };
  LogEnd end_;
  int reseal_ = 0;
  std::string previousSeal_;
  std::string key_;  // raw bytes
  std::string audience_;
  bool repeat_ = false;      // the repeat rule the log last recorded
  bool anyBatch_ = false;    // a batch was recorded in this draw (the audience number is closed)
  int standing_ = 0;         // batches standing (recorded, not undone)
  std::vector<int> undone_;  // per 0-based batch index: how often a batch of that index was undone
};

}  // namespace kavrel
