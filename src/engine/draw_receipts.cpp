#include "engine/draw_receipts.h"

#include <optional>

#include "engine/pool_duplicates.h"
#include "storage/codec.h"
#include "storage/file_step.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/receipt_merkle.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

// What a log tells of the draw it records, read once through.
struct LogScan {
  std::vector<std::string> lines;
  int badLine = 0;  // the first line that is no receipt (0: none)
  std::optional<Receipt> seal;
  int standing = 0;
  std::vector<int> undone;
  bool anyBatch = false;
  std::string audience;
  bool repeat = false;
  bool closed = false;
  std::string keySha256;  // of the key in use: the seal's, or the last reopening line's
};

LogScan ScanLog(const ProgramDir& dir) {
  LogScan scan;
  ReceiptLines log = ReadReceiptLines(dir.Path(ProgramDir::kReceiptsLog));
  scan.lines = std::move(log.lines);
  for (std::size_t i = 0; i < scan.lines.size(); ++i) {
    const auto r = ParseReceipt(scan.lines[i]);
    if (!r || (i == 0) != (r->kind == ReceiptKind::Seal)) {
      scan.badLine = static_cast<int>(i + 1);
      break;
    }
    if (i == 0) {
      scan.seal = r;
      scan.repeat = r->repeatAllowed;
    }
    if (r->kind == ReceiptKind::Seal || r->kind == ReceiptKind::Reopen) scan.keySha256 = r->keySha256;
    scan.closed = r->kind == ReceiptKind::Close;
    switch (r->kind) {
      case ReceiptKind::Batch:
        ++scan.standing;
        scan.anyBatch = true;
        scan.repeat = r->repeatAllowed;
        break;
      case ReceiptKind::Undo:
        if (scan.standing > 0) --scan.standing;
        if (scan.undone.size() <= static_cast<std::size_t>(scan.standing)) scan.undone.resize(scan.standing + 1u);
        ++scan.undone[static_cast<std::size_t>(scan.standing)];
        break;
      case ReceiptKind::Audience:
        scan.audience = r->audienceNumber;
        break;
      case ReceiptKind::Rule:
        scan.repeat = r->repeatAllowed;
        break;
      default:
        break;
    }
  }
  // A last line without its line end is a write cut short: damaged too.
  if (!scan.badLine && log.unterminated) scan.badLine = static_cast<int>(scan.lines.size());
  return scan;
}

// The receipt appended after a log of `lineCount` lines, chained to its last line (`prev`: the seal
// when that is the seal's line, the last line's SHA-256 otherwise).
std::string ChainedLine(std::size_t lineCount, const std::string& prev, Receipt r, const LocalDateTime& when) {
  r.seq = static_cast<int>(lineCount) + 1;
  r.time = TimeText(when);
  r.prev = prev;
  return FormatReceipt(r);
}

std::string ChainedLine(const std::vector<std::string>& lines, const std::string& seal, Receipt r,
                        const LocalDateTime& when) {
  return ChainedLine(lines.size(), lines.size() == 1 ? seal : Sha256Hex(lines.back()), std::move(r), when);
}

}  // namespace

void DrawReceipts::ResetCounters() {
  audience_.clear();
  repeat_ = false;
  anyBatch_ = false;
  standing_ = 0;
  undone_.clear();
  closed_ = false;
  reseal_ = 0;
  previousSeal_.clear();
}

void DrawReceipts::FreshKey() {
  key_ = randomBytes_(kDrawKeyBytes);
}

namespace {

// The list kept beside the log still gives the pool its seal covers (read by the seal's own rules),
// so the draw can be checked from it later.
bool SealedListMatches(const ProgramDir& dir, const Receipt& seal) {
  const auto path = dir.Path(ProgramDir::kSealedList);
  if (!FileExists(path)) return false;
  std::vector<std::string> entries = PoolEntries(DecodeExternalText(ReadTextFile(path)), nullptr, seal.entryRules);
  const DuplicateRule rule = seal.entryRules >= 1 ? DuplicateRule::SameEntryKey : DuplicateRule::SameBytes;
  if (seal.presentOnly && static_cast<long long>(entries.size()) != seal.presentCount) return false;
  if (FindDuplicates(entries, rule).extraCopies != seal.duplicates) return false;
  if (!seal.duplicatesKept) RemoveExtraCopies(entries, rule);
  return static_cast<long long>(entries.size()) == seal.poolSize && ListSha256(entries) == seal.poolSha256;
}

// The seal `old` covers what a seal over `in` would: the same list, pool, plan and rules.
bool SealsTheSame(const Receipt& old, const SealInputs& in) {
  return old.format == 2 && old.poolSize == static_cast<long long>(in.pool.size()) &&
         old.poolSha256 == ListSha256(in.pool) && old.planSha256 == ListSha256(in.plan) &&
         old.duplicates == in.duplicates && old.duplicatesKept == in.duplicatesKept &&
         old.repeatAllowed == in.repeatAllowed && old.presentOnly == in.presentOnly &&
         old.presentCount == (in.presentOnly ? in.presentCount : 0) && old.entryRules == kEntryRules;
}

}  // namespace

bool DrawReceipts::FixSeal(const SealInputs& in, const LocalDateTime& when, bool deliberate) {
  active_ = false;
  end_ = {};
  seal_.clear();
  sealLine_.clear();
  lastHash_.clear();
  ResetCounters();
  FreshKey();
  repeat_ = in.repeatAllowed;
  const auto logPath = dir_.Path(ProgramDir::kReceiptsLog);
  // A log next to results that are still in place belongs to those results.
  if (FileExists(logPath) &&
      (FileExists(dir_.Path(ProgramDir::kResultDat)) || FileExists(dir_.Path(ProgramDir::kResultTxt))))
    return false;
  // A move into history cut short takes its receipts along first. A log that records more than its
  // seal is a draw's evidence even when its results went elsewhere (a move cut short by an older
  // version): it goes into history of its own, never under the new seal. Kept in place, with no
  // receipts for this draw, when it cannot be moved.
  if (!FinishInterruptedMove(dir_)) return false;
  int reseal = 0;
  std::string previous;
  if (FileExists(logPath)) {
    const LogScan old = ScanLog(dir_);
    const bool sealOnly =
        !old.anyBatch && !old.badLine && old.lines.size() <= 2 && !old.closed && old.seal && old.seal->format == 2;
    if (sealOnly) {
      const auto key = ReadDrawKey(dir_.Path(ProgramDir::kReceiptsKey));
      const bool keyKept = key && Sha256Hex(*key) == old.keySha256;
      if (!deliberate && keyKept && SealsTheSame(*old.seal, in) && FileExists(dir_.Path(ProgramDir::kSealedList))) {
        key_ = *key;
        active_ = true;
        seal_ = old.seal->seal;
        sealLine_ = old.lines.front();
        lastHash_ = Sha256Hex(old.lines.back());
        audience_ = old.audience;
        repeat_ = old.repeat;
        reseal_ = old.seal->reseal;
        previousSeal_ = old.seal->previousSeal;
        return true;
      }
      reseal = old.seal->reseal + 1;
      previous = old.seal->seal;
    } else if (!MoveToHistoryFolder(
                   dir_, {logPath, dir_.Path(ProgramDir::kSealedList), dir_.Path(ProgramDir::kReceiptsKey)}, when)) {
      return false;
    }
  }
  Receipt r;
  r.kind = ReceiptKind::Seal;
  r.format = 2;
  r.seq = 1;
  r.time = TimeText(when);
  r.version = ProgramVersion();
  r.nonce = HexOf(randomBytes_(16));
  r.keySha256 = Sha256Hex(key_);
  r.poolSize = static_cast<long long>(in.pool.size());
  r.poolSha256 = ListSha256(in.pool);
  r.merkleRoot = MerkleRoot(in.pool);
  r.planSha256 = ListSha256(in.plan);
  r.plan = in.plan;
  r.duplicates = in.duplicates;
  r.duplicatesKept = in.duplicatesKept;
  r.repeatAllowed = in.repeatAllowed;
  r.presentOnly = in.presentOnly;
  r.presentCount = in.presentOnly ? in.presentCount : 0;
  r.entryRules = kEntryRules;
  r.reseal = reseal;
  r.previousSeal = previous;
  r.seal = SealOf(r);
  const std::string line = FormatReceipt(r);
  // The key first: a seal whose key is lost could never be checked. The list the seal covers goes
  // beside the log, so that the draw can still be checked from history/ after the list was edited.
  // The three files are one step: a crash between them must not leave an old log beside a new key.
  const FileStep step(dir_);
  if (!WriteDrawKey(dir_.Path(ProgramDir::kReceiptsKey), key_)) return false;
  if (!WriteTextFile(dir_.Path(ProgramDir::kSealedList), BuildSetDatText(in.list))) return false;
  if (!WriteTextFile(logPath, ReceiptLogText({line}))) return false;
  active_ = true;
  end_ = {line.size() + 2, 1};
  seal_ = r.seal;
  sealLine_ = line;
  lastHash_ = Sha256Hex(line);
  reseal_ = reseal;
  previousSeal_ = previous;
  return true;
}

ResumeReceipts DrawReceipts::PickUp(int recordedBatches, bool batchTakenBack, const std::string& recordSeal) {
  active_ = false;
  end_ = {};
  seal_.clear();
  sealLine_.clear();
  lastHash_.clear();
  ResetCounters();
  ResumeReceipts found;
  found.batchesRecorded = recordedBatches;
  const auto path = dir_.Path(ProgramDir::kReceiptsLog);
  LogScan scan = ScanLog(dir_);
  // Whatever the log, the batches so far keep their order: the next one is the next index.
  auto goOnWithoutLog = [&](LogAtResume state, int line) {
    FreshKey();
    standing_ = recordedBatches;
    anyBatch_ = recordedBatches > 0;
    found.state = state;
    found.line = line;
    found.batchesInLog = scan.standing;
    return found;
  };
  if (!FileExists(path) || scan.lines.empty()) return goOnWithoutLog(LogAtResume::Missing, 0);
  if (scan.badLine) return goOnWithoutLog(LogAtResume::Damaged, scan.badLine);
  if (scan.seal->format < 2) return goOnWithoutLog(LogAtResume::OlderKind, 0);
  // Another draw's log (and key) put beside these results: appending to it would chain two draws.
  if (!recordSeal.empty() && scan.seal->seal != recordSeal) {
    found.foreignSeal = scan.seal->seal;
    return goOnWithoutLog(LogAtResume::Foreign, 0);
  }
  // A closed log needs no key to go on: a correction after its close reopens it under a fresh one.
  auto key = ReadDrawKey(dir_.Path(ProgramDir::kReceiptsKey));
  if (scan.closed)
    key = std::string();
  else if (!key || Sha256Hex(*key) != scan.keySha256)
    return goOnWithoutLog(LogAtResume::KeyLost, 0);

  // A receipt written for a batch the resume took back goes with it.
  if (batchTakenBack && scan.standing > recordedBatches) {
    bool cut = false;
    while (scan.standing > recordedBatches && scan.lines.size() > 1) {
      const auto last = ParseReceipt(scan.lines.back());
      if (!last || last->kind != ReceiptKind::Batch) break;
      scan.lines.pop_back();
      cut = true;
      --scan.standing;
    }
    if (cut) {
      if (!WriteTextFile(path, ReceiptLogText(scan.lines))) return goOnWithoutLog(LogAtResume::Damaged, 0);
      scan = ScanLog(dir_);
    }
  }
  if (scan.standing < recordedBatches) return goOnWithoutLog(LogAtResume::Cut, static_cast<int>(scan.lines.size()));

  key_ = *key;
  active_ = true;
  seal_ = scan.seal->seal;
  sealLine_ = scan.lines.front();
  reseal_ = scan.seal->reseal;
  previousSeal_ = scan.seal->previousSeal;
  lastHash_ = Sha256Hex(scan.lines.back());
  closed_ = scan.closed;
  audience_ = scan.audience;
  repeat_ = scan.repeat;
  anyBatch_ = scan.anyBatch;
  standing_ = scan.standing;
  undone_ = scan.undone;
  found.state = SealedListMatches(dir_, *scan.seal) ? LogAtResume::Continued : LogAtResume::ListDamaged;
  found.batchesInLog = scan.standing;
  return found;
}

BatchInputs DrawReceipts::NextBatchInputs() const {
  BatchInputs in;
  in.drawKey = key_;
  in.audienceNumber = audience_;
  in.batchIndex = standing_ + 1;
  const auto i = static_cast<std::size_t>(standing_);
  in.attempt = i < undone_.size() ? undone_[i] : 0;
  return in;
}

bool DrawReceipts::Reopen(const LocalDateTime& when) {
  // The key file first, as at the seal: a reopening line whose key is lost could never be checked.
  const std::string revealed = key_;
  FreshKey();
  Receipt r;
  r.kind = ReceiptKind::Reopen;
  r.keySha256 = Sha256Hex(key_);
  closed_ = false;
  if (WriteDrawKey(dir_.Path(ProgramDir::kReceiptsKey), key_) && Append(std::move(r), when)) return true;
  key_ = revealed;
  closed_ = true;
  return false;
}

bool DrawReceipts::LogAsLeft(const std::filesystem::path& path) const {
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) != end_.size || ec) return false;
  // Another draw's log of the same length in its place (a past draw brought back from history) has
  // another seal line.
  return ReadFileStart(path, sealLine_.size() + 2) == sealLine_ + "\r\n";
}

bool DrawReceipts::Append(Receipt receipt, const LocalDateTime& when) {
  if (!active_) return false;
  // The closing line made the key public, so anything after it could be worked out in advance: a
  // correction after the close goes on under a fresh key, sealed before it is used.
  if (closed_ && receipt.kind != ReceiptKind::Close && !Reopen(when)) return false;
  const auto path = dir_.Path(ProgramDir::kReceiptsLog);
  receipt.format = 2;
  // Within a step, a log still as this object left it takes the receipt at its end: read and rewritten
  // whole, a long evening's log would make every stop slower than the one before.
  if (end_.lines > 0 && FileStepUnderWay(dir_) && LogAsLeft(path)) {
    const std::string line = ChainedLine(end_.lines, end_.lines == 1 ? seal_ : lastHash_, std::move(receipt), when);
    if (!files_->AppendReceiptLine(path, line + "\r\n")) return false;
    end_ = {end_.size + line.size() + 2, end_.lines + 1};
    lastHash_ = Sha256Hex(line);
    closed_ = false;
    return true;
  }
  ReceiptLines log = ReadReceiptLines(path);
  if (log.lines.empty()) return false;
  // Another draw's log in its place (a past draw brought back from history): this draw's story
  // cannot be told in it any more. Its seal line is compared as text: a seal's line names the whole
  // plan, and reading it again at every stop would cost more the longer the plan.
  if (log.lines.front() != sealLine_) {
    active_ = false;
    return false;
  }
  const std::string line = ChainedLine(log.lines, seal_, std::move(receipt), when);
  log.lines.push_back(line);
  const std::string text = ReceiptLogText(log.lines);
  if (!files_->WriteReceiptLog(path, text)) return false;
  end_ = {text.size(), log.lines.size()};
  lastHash_ = Sha256Hex(line);
  closed_ = false;
  return true;
}

void DrawReceipts::Close(const char* reason, const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::Close;
  r.reason = reason;
  if (active_) {
    // A draw with nothing drawn has nothing to check: its log is replaced by the next seal.
    if (closed_ || !anyBatch_) return;
    r.drawKey = HexOf(key_);
    if (Append(r, when)) closed_ = true;
    return;
  }
  // A draw of an earlier run (quit, crashed or left unfinished): its key is still beside its log.
  const LogScan scan = ScanLog(dir_);
  if (!scan.anyBatch || scan.badLine || scan.closed || scan.seal->format < 2) return;
  const auto key = ReadDrawKey(dir_.Path(ProgramDir::kReceiptsKey));
  if (!key || Sha256Hex(*key) != scan.keySha256) return;
  r.drawKey = HexOf(*key);
  r.format = 2;
  std::vector<std::string> lines = scan.lines;
  lines.push_back(ChainedLine(lines, scan.seal->seal, r, when));
  WriteTextFile(dir_.Path(ProgramDir::kReceiptsLog), ReceiptLogText(lines));
}

bool DrawReceipts::AudienceNumberOpen() const {
  return active_ && !anyBatch_ && audience_.empty();
}

bool DrawReceipts::SetAudienceNumber(const std::string& digits, const LocalDateTime& when) {
  if (!AudienceNumberOpen() || digits.empty()) return false;
  Receipt r;
  r.kind = ReceiptKind::Audience;
  r.audienceNumber = digits;
  if (!Append(r, when)) return false;
  audience_ = digits;
  return true;
}

bool DrawReceipts::AppendBatch(const BatchDrawn& b, const LocalDateTime& when) {
  const BatchInputs used = NextBatchInputs();
  ++standing_;
  anyBatch_ = true;
  if (!active_) return false;
  // The repeat rule was changed in the settings since the last batch: said before the batch drawn
  // under the new rule, so every batch's rule is one the log announced.
  if (b.repeatAllowed != repeat_) {
    Receipt rule;
    rule.kind = ReceiptKind::Rule;
    rule.repeatAllowed = b.repeatAllowed;
    if (!Append(rule, when)) return false;
    repeat_ = b.repeatAllowed;
  }
  Receipt r;
  r.kind = ReceiptKind::Batch;
  r.batchIndex = used.batchIndex;
  r.attempt = used.attempt;
  r.award = b.award;
  r.prize = b.prize;
  r.batchSize = static_cast<int>(b.positions.size());
  r.poolSize = static_cast<long long>(b.pool.size());
  r.groupFirst = b.range.first;
  r.groupLast = b.range.last;
  r.repeatAllowed = b.repeatAllowed;
  r.planPosition = b.planPosition;
  r.planLine = b.planLine;
  r.startFrom = b.startFrom;
  r.forwardOrder = b.forwardOrder;
  for (int p : b.positions)
    r.winners.push_back({p, p >= 1 && static_cast<std::size_t>(p) <= b.pool.size()
                                ? b.pool[static_cast<std::size_t>(p) - 1]
                                : std::string()});
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendUndo(const std::string& award, const std::vector<std::string>& entries,
                              const std::vector<std::string>& returned, int planPosition, const std::string& planLine,
                              const LocalDateTime& when) {
  if (standing_ > 0) --standing_;
  const auto i = static_cast<std::size_t>(standing_);
  if (undone_.size() <= i) undone_.resize(i + 1);
  ++undone_[i];
  Receipt r;
  r.kind = ReceiptKind::Undo;
  r.award = award;
  r.entries = entries;
  r.returned = returned;
  r.planPosition = planPosition;
  r.planLine = planLine;
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendAbandon(const std::string& award, const std::vector<std::string>& abandoned,
                                 const std::vector<std::string>& returned, const std::vector<std::string>& queued,
                                 bool forwardOrder, const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::Abandon;
  r.award = award;
  r.entries = abandoned;
  r.returned = returned;
  r.queued = queued;
  r.forwardOrder = forwardOrder;
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendSupplement(const std::vector<std::string>& queued, bool forwardOrder,
                                    const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::Supplement;
  r.queued = queued;
  r.forwardOrder = forwardOrder;
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendPrizeChange(int planIndex, const std::string& lineBefore, const std::string& lineAfter,
                                     const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::PrizeChange;
  r.planIndex = planIndex;
  r.lineBefore = lineBefore;
  r.lineAfter = lineAfter;
  return Append(std::move(r), when);
}

}  // namespace kavrel
