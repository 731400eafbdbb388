#include "engine/draw_receipts.h"

#include <optional>

#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel {

bool DrawReceipts::FixSeal(const std::vector<std::string>& pool, const std::vector<std::string>& plan,
                           const LocalDateTime& when) {
  active_ = false;
  seal_.clear();
  lastHash_.clear();
  const auto logPath = dir_.Path(ProgramDir::kReceiptsLog);
  // A log next to results that are still in place belongs to those results.
  if (FileExists(logPath) &&
      (FileExists(dir_.Path(ProgramDir::kResultDat)) || FileExists(dir_.Path(ProgramDir::kResultTxt))))
    return false;
  Receipt r;
  r.kind = ReceiptKind::Seal;
  r.seq = 1;
  r.time = TimeText(when);
  r.poolSize = static_cast<long long>(pool.size());
  r.poolSha256 = ListSha256(pool);
  r.planSha256 = ListSha256(plan);
  r.plan = plan;
  r.seal = EventSeal(r.poolSha256, r.planSha256);
  const std::string line = FormatReceipt(r);
  // The list the seal covers goes beside the log, so that the draw can still be checked from
  // history/ after the list has been edited.
  if (!WriteTextFile(dir_.Path(ProgramDir::kSealedList), BuildSetDatText(pool))) return false;
  if (!WriteTextFile(logPath, ReceiptLogText({line}))) return false;
  active_ = true;
  seal_ = r.seal;
  lastHash_ = Sha256Hex(line);
  return true;
}

void DrawReceipts::PickUp() {
  active_ = false;
  seal_.clear();
  lastHash_.clear();
  const ReceiptLines log = ReadReceiptLines(dir_.Path(ProgramDir::kReceiptsLog));
  if (log.lines.empty() || log.unterminated) return;
  const auto first = ParseReceipt(log.lines.front());
  if (!first || first->kind != ReceiptKind::Seal) return;
  active_ = true;
  seal_ = first->seal;
  lastHash_ = Sha256Hex(log.lines.back());
}

void DrawReceipts::MatchRecordedBatches(int recordedBatches) {
  const auto path = dir_.Path(ProgramDir::kReceiptsLog);
  ReceiptLines log = ReadReceiptLines(path);
  int standing = 0;
  std::vector<std::optional<Receipt>> parsed;
  for (const auto& line : log.lines) {
    parsed.push_back(ParseReceipt(line));
    if (!parsed.back()) continue;
    if (parsed.back()->kind == ReceiptKind::Batch) ++standing;
    if (parsed.back()->kind == ReceiptKind::Undo) --standing;
  }
  bool cut = false;
  while (standing > recordedBatches && log.lines.size() > 1 && parsed.back() &&
         parsed.back()->kind == ReceiptKind::Batch) {
    log.lines.pop_back();
    parsed.pop_back();
    --standing;
    cut = true;
  }
  if (!cut) return;
  if (WriteTextFile(path, ReceiptLogText(log.lines)))
    lastHash_ = Sha256Hex(log.lines.back());
  else
    active_ = false;
}

bool DrawReceipts::Append(Receipt receipt, const LocalDateTime& when) {
  if (!active_) return false;
  const auto path = dir_.Path(ProgramDir::kReceiptsLog);
  ReceiptLines log = ReadReceiptLines(path);
  if (log.lines.empty()) return false;
  // Another draw's log in its place (a past draw brought back from history): this draw's story
  // cannot be told in it any more.
  const auto first = ParseReceipt(log.lines.front());
  if (!first || first->kind != ReceiptKind::Seal || first->seal != seal_) {
    active_ = false;
    return false;
  }
  // A line cut short by a write that never finished is kept as it is: the chain runs on from the
  // last complete line, and the check reports the cut line for what it is.
  int batches = 0;
  for (const auto& line : log.lines)
    if (line.find("\"kind\":\"batch\"") != std::string::npos) ++batches;
  receipt.seq = static_cast<int>(log.lines.size()) + 1;
  receipt.time = TimeText(when);
  receipt.prev = log.lines.size() == 1 ? seal_ : Sha256Hex(log.lines.back());
  if (receipt.kind == ReceiptKind::Batch) receipt.batchIndex = batches + 1;
  const std::string line = FormatReceipt(receipt);
  log.lines.push_back(line);
  if (!WriteTextFile(path, ReceiptLogText(log.lines))) return false;
  lastHash_ = Sha256Hex(line);
  return true;
}

bool DrawReceipts::AppendBatch(const std::string& award, const std::string& prize, const std::vector<std::string>& pool,
                               const PickRange& range, bool repeatAllowed, std::uint32_t generatorState,
                               const std::vector<int>& positions, const LocalDateTime& when) {
  if (!active_) return false;
  Receipt r;
  r.kind = ReceiptKind::Batch;
  r.award = award;
  r.prize = prize;
  r.batchSize = static_cast<int>(positions.size());
  r.poolSize = static_cast<long long>(pool.size());
  r.poolSha256 = ListSha256(pool);
  r.groupFirst = range.first;
  r.groupLast = range.last;
  r.repeatAllowed = repeatAllowed;
  r.generatorState = generatorState;
  for (int p : positions)
    r.winners.push_back({p, p >= 1 && static_cast<std::size_t>(p) <= pool.size() ? pool[static_cast<std::size_t>(p) - 1]
                                                                                 : std::string()});
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendUndo(const std::string& award, const std::vector<std::string>& entries,
                              const std::vector<std::string>& returned, const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::Undo;
  r.award = award;
  r.entries = entries;
  r.returned = returned;
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendAbandon(const std::string& award, const std::vector<std::string>& abandoned,
                                 const std::vector<std::string>& returned, const std::vector<std::string>& queued,
                                 const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::Abandon;
  r.award = award;
  r.entries = abandoned;
  r.returned = returned;
  r.queued = queued;
  return Append(std::move(r), when);
}

bool DrawReceipts::AppendSupplement(const std::vector<std::string>& queued, const LocalDateTime& when) {
  Receipt r;
  r.kind = ReceiptKind::Supplement;
  r.queued = queued;
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
