#include "verify/draw_verifier.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "engine/committed_random.h"
#include "engine/pick.h"
#include "engine/plan.h"
#include "engine/pool_duplicates.h"
#include "engine/random_source.h"
#include "engine/resume_check.h"
#include "storage/number_text.h"
#include "storage/participant_store.h"
#include "storage/receipt_log.h"
#include "storage/receipt_merkle.h"
#include "storage/result_store.h"
#include "storage/text_file.h"
#include "verify/verify_results.h"
#include "verify/verify_text.h"

namespace kavrel {

using verify::Norm;
using verify::Shown;

namespace {

// Two plan lines are the same line when their fields are (a line stored without its last comma is
// the line the plan gives back with it).
bool SameLine(const std::string& a, const std::string& b) {
  return SameFields(Norm(a), Norm(b));
}

// Plan lines a correction queued, as the report names them.
std::string QueuedText(const std::vector<std::string>& lines) {
  std::string text = "queued ";
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? ", " : "") + Shown(lines[i]);
  return lines.empty() ? "queued nothing" : text;
}

class Replay {
 public:
  Replay(const DrawEvidence& evidence, VerifyReport& report) : evidence_(evidence), report_(report) {}

  void Run();

 private:
  bool Fail(int line, std::string problem) {
    report_.outcome = VerifyOutcome::Mismatch;
    report_.line = line;
    report_.problem = std::move(problem);
    return false;
  }
  bool Unusable(std::string problem) {
    report_.outcome = VerifyOutcome::Unusable;
    report_.problem = std::move(problem);
    return false;
  }
  bool CheckSeal(const std::string& line);
  bool CheckList(std::size_t i);
  bool CheckHoldsPresent(const std::string& name, const std::vector<std::string>& entries);
  bool FindKey(int from, int last);
  bool CheckSeen();
  std::string SealedBy() const {
    return reopenedAt_ ? "the reopening line " + std::to_string(reopenedAt_) : std::string("the seal");
  }
  bool CheckOrder(int k, const Receipt& r);
  bool ReplayBatch(int k, const Receipt& r);
  bool CheckRecordedPick(int k, const Receipt& r, const std::string& at, std::vector<int>& positions);
  bool TakePlanLine(int k, const Receipt& r, const std::string& at);
  bool ReplayUndo(int k, const Receipt& r);
  bool ReplayAbandon(int k, const Receipt& r);
  void Queue(const std::vector<std::string>& lines, bool forward);
  bool ReplayPrizeChange(int k, const Receipt& r);
  bool ReplayAudience(int k, const Receipt& r);
  bool ReplayClose(int k, const Receipt& r);
  bool Format2(int k, const Receipt& r);
  void Action(std::string text) { report_.actions.push_back(std::move(text)); }
  std::string AfterBatch() const {
    return standing_.empty() ? "before the first batch: " : "after batch " + std::to_string(standing_.size()) + ": ";
  }
  void CheckResultFiles(int truncatedLine, bool closed);
  bool CutByCrash() const;

  const DrawEvidence& evidence_;
  VerifyReport& report_;
  std::vector<std::string> lines_;
  std::vector<std::optional<Receipt>> parsed_;
  Receipt seal_;
  std::vector<std::string> pool_;
  std::vector<std::string> presentList_;  // a draw among those signed in: the sealed list as stored
  std::vector<std::string> plan_;
  std::vector<VerifiedBatch> standing_;
  std::vector<std::string> standingLines_;  // the plan line each standing batch was drawn from
  std::vector<int> undone_;                 // per 0-based batch index
  std::string key_;
  std::string keySha256_;  // the key of the part being replayed, as the seal or a reopening line fixed it
  int reopenedAt_ = 0;
  bool rule_ = false;
  bool anyBatch_ = false;
  std::string resultText_;  // the result.txt the receipts give so far (normalised)
};

bool Replay::CheckSeal(const std::string& line) {
  const auto seal = ParseReceipt(line);
  if (!seal || seal->kind != ReceiptKind::Seal || seal->seq != 1)
    return Fail(1, "the first line is not the event seal");
  seal_ = *seal;
  report_.seal = seal->seal;
  report_.format = seal->format;
  report_.duplicates = seal->duplicates;
  report_.duplicatesKept = seal->duplicatesKept;
  report_.presentOnly = seal->presentOnly;
  report_.presentCount = seal->presentCount;
  report_.sealTime = seal->time;
  report_.sealVersion = seal->version;
  report_.reseals = seal->reseal;
  report_.previousSeal = seal->previousSeal;
  if (ListSha256(seal->plan) != seal->planSha256 || SealOf(*seal) != seal->seal)
    return Fail(1, "the seal line was edited: its fields no longer give the seal " + ShortSeal(seal->seal));
  if (!seal->prev.empty()) return Fail(1, "the seal line chains to a line before it (prev " + seal->prev + ")");
  plan_ = seal->plan;
  rule_ = seal->repeatAllowed;
  bool anyList = false;
  for (std::size_t i = 0; i < evidence_.lists.size(); ++i) {
    if (!FileExists(evidence_.lists[i])) continue;
    if (!CheckList(i)) return false;
    anyList = true;
  }
  if (!anyList)
    return Unusable(evidence_.listNames.empty()
                        ? "there is no list"
                        : evidence_.listNames.back() + " is missing: there is no list to replay the draw from");
  if (seal_.format >= 2 && MerkleRoot(pool_) != seal_.merkleRoot)
    return Fail(1, "the seal's Merkle root is not the one of the sealed list's entries");
  report_.sealedPool = pool_;
  return true;
}

bool Replay::CheckList(std::size_t i) {
  const std::string& name = evidence_.listNames[i];
  // The list is read by the rules the draw was sealed with: a seal made before they changed says so.
  std::vector<std::string> entries =
      PoolEntries(DecodeExternalText(ReadTextFile(evidence_.lists[i])), nullptr, seal_.entryRules);
  const DuplicateRule sameEntry = seal_.entryRules >= 1 ? DuplicateRule::SameEntryKey : DuplicateRule::SameBytes;
  const std::string changed = name + " has changed since the seal: ";
  // A draw among those signed in sealed a copy of the list's signed-in entries (the first list); the
  // list the program draws from holds them and everyone else.
  if (seal_.presentOnly && i > 0) return CheckHoldsPresent(name, entries);
  if (seal_.presentOnly) {
    if (static_cast<long long>(entries.size()) != seal_.presentCount)
      return Fail(0, changed + "it holds " + std::to_string(entries.size()) + " entries, the seal " +
                         std::to_string(seal_.presentCount) + " signed in");
    presentList_ = entries;
  }
  if (seal_.format >= 2) {
    const long long extra = FindDuplicates(entries, sameEntry).extraCopies;
    if (extra != seal_.duplicates)
      return Fail(0, changed + "it holds " + std::to_string(extra) + " extra copies of repeated entries, the seal " +
                         std::to_string(seal_.duplicates));
    if (!seal_.duplicatesKept) RemoveExtraCopies(entries, sameEntry);
  }
  if (static_cast<long long>(entries.size()) != seal_.poolSize)
    return Fail(0, changed + "it gives a pool of " + std::to_string(entries.size()) + " entries, the seal " +
                       std::to_string(seal_.poolSize));
  if (ListSha256(entries) != seal_.poolSha256) {
    // With a list already found sound, the first difference can be named.
    if (!pool_.empty())
      for (std::size_t j = 0; j < entries.size(); ++j)
        if (entries[j] != pool_[j])
          return Fail(0, changed + "entry " + std::to_string(j + 1) + " is " + Shown(entries[j]) +
                             ", the sealed list has " + Shown(pool_[j]));
    return Fail(0, changed + "it gives " + std::to_string(entries.size()) +
                       " entries as the seal does, but not the same ones in the same order");
  }
  if (pool_.empty()) pool_ = std::move(entries);
  return true;
}

bool Replay::CheckHoldsPresent(const std::string& name, const std::vector<std::string>& entries) {
  if (presentList_.empty() && seal_.presentCount > 0)
    return Unusable(evidence_.listNames.front() + " is missing: " + name +
                    " holds everyone, not only the entries signed in that the draw was sealed with");
  // The signed-in entries are the list's own, in the list's order.
  std::size_t found = 0;
  for (const auto& entry : entries)
    if (found < presentList_.size() && entry == presentList_[found]) ++found;
  if (found == presentList_.size()) return true;
  return Fail(0, name + " has changed since the seal: it does not hold signed-in entry " + std::to_string(found + 1) +
                     " of the sealed list, " + Shown(presentList_[found]) + ", in the list's order");
}

// Each line holds the hash of the one before it, so a line seen during the draw fixes every line up
// to it: finding it in the log proves the log is what was seen, grown only at its end.
bool Replay::CheckSeen() {
  std::vector<std::string> hashes;
  hashes.reserve(lines_.size());
  for (const auto& line : lines_) hashes.push_back(Sha256Hex(line));
  for (std::string seen : evidence_.seen) {
    for (char& c : seen) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (seen.size() < 16 || seen.size() > 64 || seen.find_first_not_of("0123456789abcdef") != std::string::npos)
      return Unusable("--seen " + seen + " is no chain hash (16 to 64 hexadecimal digits)");
    const auto found =
        std::find_if(hashes.begin(), hashes.end(), [&](const std::string& h) { return h.rfind(seen, 0) == 0; });
    if (found == hashes.end())
      return Fail(0, "the record was rewritten: chain hash " + seen +
                         " was seen during the draw, but no line of this log has it");
    ++report_.seenChecked;
  }
  return true;
}

// The key of the part of the log from line `from` on: revealed by its closing line or, while the
// log is open, in the key file; it must be the one sealed by its SHA-256 (`keySha256_`).
bool Replay::FindKey(int from, int last) {
  const std::string sealedBy = SealedBy();
  for (int k = from; k <= last; ++k) {
    const auto& r = parsed_[static_cast<std::size_t>(k) - 1];
    if (!r || r->kind != ReceiptKind::Close) continue;
    key_ = RawOfHex(r->drawKey).value_or(std::string());
    if (Sha256Hex(key_) != keySha256_)
      return Fail(k, "the closing line reveals a key that is not the one " + sealedBy + " was made with");
    report_.keyFrom += (report_.keyFrom.empty() ? "" : ", then ") + ("line " + std::to_string(k));
    return true;
  }
  if (const auto key = ReadDrawKey(evidence_.key)) {
    if (Sha256Hex(*key) != keySha256_)
      return Fail(0, evidence_.keyName + " does not hold the draw key " + sealedBy + " was made with");
    key_ = *key;
    report_.keyFrom += (report_.keyFrom.empty() ? "" : ", then ") + evidence_.keyName;
    return true;
  }
  if (FileExists(evidence_.key))
    return Unusable("the draw key is not revealed: the log has no closing line and " + evidence_.keyName +
                    " is damaged (it holds no draw key of 64 hexadecimal digits), so no batch can be replayed");
  return Unusable("the draw key is not revealed: the log has no closing line and " + evidence_.keyName +
                  " is missing, so no batch can be replayed");
}

bool Replay::CheckOrder(int k, const Receipt& r) {
  if (r.seq == k) {
    const std::string expected = k == 2 ? report_.seal : Sha256Hex(lines_[static_cast<std::size_t>(k) - 2]);
    if (r.prev != expected)
      return Fail(k - 1, "line " + std::to_string(k - 1) +
                             " was edited: its SHA-256 no longer matches the one the next receipt (line " +
                             std::to_string(k) + ") chains to");
    return true;
  }
  // A line out of place: moved when the missing number turns up further on, else removed.
  for (std::size_t j = static_cast<std::size_t>(k); j < parsed_.size(); ++j)
    if (parsed_[j] && parsed_[j]->seq == k)
      return Fail(k, "the lines were reordered: line " + std::to_string(k) + " holds receipt " + std::to_string(r.seq) +
                         ", receipt " + std::to_string(k) + " is on line " + std::to_string(j + 1));
  if (r.seq > k)
    return Fail(k, "a line was removed before line " + std::to_string(k) + ": receipt " + std::to_string(k) +
                       (r.seq - k > 1 ? " to " + std::to_string(r.seq - 1) : std::string()) + " is missing");
  return Fail(k, "the lines were reordered: line " + std::to_string(k) + " holds receipt " + std::to_string(r.seq));
}

bool Replay::Format2(int k, const Receipt& r) {
  // A prize change reads the same in both formats; every other receipt says which it is.
  if (r.format == seal_.format || (r.kind == ReceiptKind::PrizeChange && seal_.format == 2)) return true;
  return Fail(k, "line " + std::to_string(k) + " is a receipt of another format than its seal's (format " +
                     std::to_string(seal_.format) + ")");
}

bool Replay::TakePlanLine(int k, const Receipt& r, const std::string& at) {
  if (plan_.empty())
    return Fail(k, at + "no plan line is left for it: neither the plan nor a recorded correction asks for this batch");
  const int n = static_cast<int>(plan_.size());
  if (r.planPosition < 1 || r.planPosition > n ||
      !SameLine(plan_[static_cast<std::size_t>(r.planPosition) - 1], r.planLine))
    return Fail(k, at + "it names plan line " + Shown(r.planLine) + " at position " + std::to_string(r.planPosition) +
                       ", which the plan does not hold there");
  const int next = r.forwardOrder ? 1 : n;
  if (!r.startFrom && r.planPosition != next)
    return Fail(k, at + "it was drawn out of order: plan position " + std::to_string(r.planPosition) +
                       ", where the next batch is at position " + std::to_string(next));
  const PlanLine line(Norm(r.planLine));
  if (line.award != Norm(r.award) || LeadingInteger(line.batchSize) != r.batchSize || line.prize != Norm(r.prize))
    return Fail(k, at + "its award, batch size or prize is not the one its plan line " + Shown(r.planLine) + " gives");
  standingLines_.push_back(r.planLine);
  plan_.erase(plan_.begin() + (r.planPosition - 1));
  return true;
}

bool Replay::CheckRecordedPick(int k, const Receipt& r, const std::string& at, std::vector<int>& positions) {
  const PickRange range{r.groupFirst, r.groupLast};
  if (r.batchSize < 1 || static_cast<std::size_t>(r.batchSize) != r.winners.size() || !range.Valid(pool_.size()) ||
      (!r.repeatAllowed && r.batchSize > range.Count()))
    return Fail(k, at + "the batch size or the range of positions cannot have been drawn from this pool");
  if (seal_.format >= 2) {
    const BatchInputs in{key_, report_.audienceNumber, static_cast<int>(standing_.size()) + 1, r.attempt};
    CommittedRandom random(in);
    DrawPositions(random, range, r.batchSize, r.repeatAllowed, positions);
  } else {
    RandomSource random(r.generatorState);
    DrawPositions(random, range, r.batchSize, r.repeatAllowed, positions);
  }
  std::sort(positions.begin(), positions.end(), std::greater<int>());
  const char* source = seal_.format >= 2 ? "the committed draw key picks" : "the recorded generator state picks";
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const ReceiptWinner& w = r.winners[i];
    if (w.position != positions[i])
      return Fail(k, at + "winner " + std::to_string(i + 1) + " is recorded at pool position " +
                         std::to_string(w.position) + " but " + source + " position " + std::to_string(positions[i]));
    const std::string& entry = pool_[static_cast<std::size_t>(positions[i]) - 1];
    if (Norm(entry) != w.entry)
      return Fail(k, at + "winner " + std::to_string(i + 1) + " was edited: the receipt says " + Shown(w.entry) +
                         ", pool position " + std::to_string(positions[i]) + " holds " + Shown(entry));
  }
  return true;
}

bool Replay::ReplayBatch(int k, const Receipt& r) {
  const std::string at = "batch " + std::to_string(r.batchIndex) + " (" + Shown(r.award) + "): ";
  if (seal_.format >= 2) {
    const int index = static_cast<int>(standing_.size()) + 1;
    const auto i = standing_.size();
    const int attempt = i < undone_.size() ? undone_[i] : 0;
    if (r.batchIndex != index || r.attempt != attempt)
      return Fail(k, at + "it is recorded as batch " + std::to_string(r.batchIndex) + ", attempt " +
                         std::to_string(r.attempt) + "; the receipts before it make it batch " + std::to_string(index) +
                         ", attempt " + std::to_string(attempt));
    if (r.repeatAllowed != rule_)
      return Fail(k, at + std::string("it is recorded with repeated wins ") +
                         (r.repeatAllowed ? "allowed" : "forbidden") + ", but the rule the receipts announce " +
                         (rule_ ? "allows" : "forbids") + " them");
    if (r.poolSize != static_cast<long long>(pool_.size()))
      return Fail(k, at + "the pool at the start of the roll does not match the replay (" + std::to_string(r.poolSize) +
                         " entries recorded, " + std::to_string(pool_.size()) + " replayed)");
    if (!TakePlanLine(k, r, at)) return false;
  } else if (r.poolSize != static_cast<long long>(pool_.size()) || r.poolSha256 != ListSha256(pool_)) {
    return Fail(k, at + "the pool at the start of the roll does not match the replay (" + std::to_string(r.poolSize) +
                       " entries recorded, " + std::to_string(pool_.size()) + " replayed)");
  }
  std::vector<int> positions;
  if (!CheckRecordedPick(k, r, at, positions)) return false;
  const std::string named = "batch " + std::to_string(standing_.size() + 1) + " (" + Shown(r.award) + "): ";
  if (r.attempt > 0)
    Action(named + "drawn at attempt " + std::to_string(r.attempt + 1) + ", after " + std::to_string(r.attempt) +
           (r.attempt == 1 ? " undo" : " undos") + " of this batch");
  if (r.groupFirst != 1 || r.groupLast != static_cast<int>(pool_.size())) {
    ++report_.groups;
    Action(named + "drawn from pool rows " + std::to_string(r.groupFirst) + "-" + std::to_string(r.groupLast) +
           " only (" + std::to_string(r.groupLast - r.groupFirst + 1) + " of " + std::to_string(pool_.size()) +
           ", an award group)");
  }
  if (r.startFrom) {
    ++report_.startFroms;
    Action(named + "the operator chose to start from plan line " + std::to_string(r.planPosition) + " " +
           Shown(r.planLine));
  }
  VerifiedBatch batch;
  batch.index = static_cast<int>(standing_.size()) + 1;
  batch.award = Norm(r.award);
  batch.prize = Norm(r.prize);
  batch.time = r.time;
  for (int p : positions) batch.entries.push_back(Norm(pool_[static_cast<std::size_t>(p) - 1]));
  batch.abandoned.assign(batch.entries.size(), false);
  if (seal_.format >= 2)
    if (const auto time = ReceiptTime(r.time)) resultText_ += ResultTextBlock(batch.award, batch.entries, *time);
  standing_.push_back(std::move(batch));
  if (seal_.format < 2) standingLines_.emplace_back();
  anyBatch_ = true;
  if (!r.repeatAllowed) {
    DrawState probe;
    probe.pool = std::move(pool_);
    probe.batchWinners = positions;
    RemoveWinners(probe, false);
    pool_ = std::move(probe.pool);
  }
  return true;
}

bool Replay::ReplayUndo(int k, const Receipt& r) {
  std::vector<std::string> entries;
  for (const auto& e : r.entries) entries.push_back(Norm(e));
  if (standing_.empty() || standing_.back().entries != entries || standing_.back().award != Norm(r.award))
    return Fail(k, "the undo takes back winners that are not those of the last standing batch");
  if (seal_.format >= 2) {
    const int n = static_cast<int>(plan_.size());
    if (!SameLine(r.planLine, standingLines_.back()) || (r.planPosition != 1 && r.planPosition != n + 1))
      return Fail(k, "the undo puts plan line " + Shown(r.planLine) + " back at position " +
                         std::to_string(r.planPosition) +
                         ", not the line of the batch it takes back at an end of the plan");
    plan_.insert(plan_.begin() + (r.planPosition - 1), r.planLine);
  }
  std::vector<std::string> left = standing_.back().entries;
  for (const auto& e : r.returned) {
    const auto it = std::find(left.begin(), left.end(), Norm(e));
    if (it == left.end()) return Fail(k, "the undo returns " + Shown(e) + " to the pool, who was not taken back");
    left.erase(it);
    pool_.push_back(e);
  }
  ++report_.undos;
  Action("batch " + std::to_string(standing_.size()) + " (" + Shown(r.award) + "): undone, its " +
         std::to_string(entries.size()) + " winners taken back");
  standing_.pop_back();
  standingLines_.pop_back();
  RemoveLastResultBlock(resultText_);
  const auto i = standing_.size();
  if (undone_.size() <= i) undone_.resize(i + 1);
  ++undone_[i];
  return true;
}

bool Replay::ReplayAbandon(int k, const Receipt& r) {
  const std::string award = Norm(r.award);
  std::vector<std::string> marked;
  for (const auto& e : r.entries) {
    const std::string entry = Norm(e);
    bool found = false;
    for (auto b = standing_.rbegin(); b != standing_.rend() && !found; ++b) {
      if (b->award != award) continue;
      for (std::size_t i = 0; i < b->entries.size() && !found; ++i)
        if (b->entries[i] == entry && !b->abandoned[i]) found = b->abandoned[i] = true;
    }
    if (!found) return Fail(k, Shown(e) + " is abandoned but is no standing winner of " + Shown(r.award));
    MarkAbandonedInResultText(resultText_, award, entry);
    marked.push_back(entry);
  }
  ++report_.abandons;
  std::string gaveUp;
  for (const auto& e : r.entries) gaveUp += (gaveUp.empty() ? "" : ", ") + Shown(e);
  Action(AfterBatch() + "gave up " + Shown(r.award) + ": " + gaveUp +
         (r.queued.empty() ? std::string(", no redraw") : ", redraw " + QueuedText(r.queued)));
  for (const auto& e : r.returned) {
    const auto it = std::find(marked.begin(), marked.end(), Norm(e));
    if (it == marked.end()) return Fail(k, "the abandon returns " + Shown(e) + " to the pool, who was not abandoned");
    marked.erase(it);
    pool_.push_back(e);
  }
  Queue(r.queued, r.forwardOrder);
  return true;
}

void Replay::Queue(const std::vector<std::string>& lines, bool forward) {
  if (seal_.format < 2) return;
  for (const auto& line : lines) {
    if (forward)
      plan_.insert(plan_.begin(), line);
    else
      plan_.push_back(line);
  }
}

bool Replay::ReplayPrizeChange(int k, const Receipt& r) {
  if (seal_.format < 2) return true;
  const int n = static_cast<int>(plan_.size());
  if (r.planIndex < 1 || r.planIndex > n || !SameLine(plan_[static_cast<std::size_t>(r.planIndex) - 1], r.lineBefore))
    return Fail(k, "the prize change names plan line " + Shown(r.lineBefore) + " at position " +
                       std::to_string(r.planIndex) + ", which the plan does not hold there");
  const PlanLine before(Norm(r.lineBefore));
  const PlanLine after(Norm(r.lineAfter));
  auto batchFields = [](const PlanLine& l) {
    return std::tie(l.award, l.quota, l.batchCount, l.batchNumber, l.batchSize);
  };
  if (batchFields(before) != batchFields(after))
    return Fail(
        k, "the prize change changes more than the prize: " + Shown(r.lineBefore) + " became " + Shown(r.lineAfter));
  plan_[static_cast<std::size_t>(r.planIndex) - 1] = r.lineAfter;
  ++report_.prizeChanges;
  Action(AfterBatch() + "prize of plan line " + std::to_string(r.planIndex) + " changed from " + Shown(before.prize) +
         " to " + Shown(after.prize));
  return true;
}

bool Replay::ReplayAudience(int k, const Receipt& r) {
  if (anyBatch_ || !report_.audienceNumber.empty())
    return Fail(k,
                "an audience number recorded after the first batch or a second time: it can only be taken once, "
                "before the first press");
  report_.audienceNumber = r.audienceNumber;
  return true;
}

bool Replay::ReplayClose(int k, const Receipt& r) {
  const auto key = RawOfHex(r.drawKey);
  if (!key || Sha256Hex(*key) != keySha256_)
    return Fail(k, "the closing line reveals a key that is not the one " + SealedBy() + " was made with");
  if (r.reason != "finished" && r.reason != "restart" && r.reason != "put_aside")
    return Fail(k, "the closing line gives an unknown reason " + Shown(r.reason));
  if (r.reason == "finished" && !plan_.empty())
    return Fail(k, "the closing line says the draw finished, but " + std::to_string(plan_.size()) +
                       " plan lines are left, the next " + Shown(plan_.front()));
  report_.closeReason = r.reason;
  return true;
}

void Replay::Run() {
  const ReceiptLines log = EvidenceReceipts(evidence_);
  if (!log.found || log.lines.empty())
    return void(Unusable("no receipts: " + evidence_.receipts.string() + " is missing or empty"));
  lines_ = log.lines;
  for (const auto& line : lines_) parsed_.push_back(ParseReceipt(line));
  // A last line that never got its line end and does not parse is a write cut short.
  int truncatedLine = 0;
  if (log.unterminated && !parsed_.back()) truncatedLine = static_cast<int>(lines_.size());
  if (truncatedLine == 1) return void(Unusable("the seal line is incomplete (cut short); nothing can be verified"));
  if (!CheckSeen()) return;
  if (!CheckSeal(lines_.front())) return;
  const int last = truncatedLine ? truncatedLine - 1 : static_cast<int>(lines_.size());
  keySha256_ = seal_.keySha256;
  if (seal_.format >= 2 && !FindKey(2, last)) return;
  int closedAt = 0;
  for (int k = 2; k <= last; ++k) {
    const auto& r = parsed_[static_cast<std::size_t>(k) - 1];
    if (!r) return void(Fail(k, "line " + std::to_string(k) + " is not a receipt (damaged or edited)"));
    if (!CheckOrder(k, *r) || !Format2(k, *r)) return;
    // The closing line reveals the key: from then on anyone can compute what a batch would pick, so
    // nothing recorded after it can be trusted.
    // Unless a correction after a finished draw opened it again, under a fresh key sealed right there.
    if (closedAt && r->kind == ReceiptKind::Reopen) {
      if (report_.closeReason != "finished")
        return void(Fail(k, "line " + std::to_string(k) + " opens the draw again after it was closed for a " +
                                Shown(report_.closeReason) +
                                ": only a finished draw can be corrected after its close"));
      closedAt = 0;
      report_.closeReason.clear();
      ++report_.reopens;
      Action(AfterBatch() + "corrected after the draw had finished: opened again on line " + std::to_string(k) +
             " under a fresh draw key");
      keySha256_ = r->keySha256;
      reopenedAt_ = k;
      if (!FindKey(k + 1, last)) return;
      continue;
    }
    if (closedAt)
      return void(Fail(k, "line " + std::to_string(k) + " comes after the closing line (line " +
                              std::to_string(closedAt) +
                              "), which revealed the draw key: anything recorded after it could have been chosen"));
    if (r->kind == ReceiptKind::Close) closedAt = k;
    bool ok = true;
    switch (r->kind) {
      case ReceiptKind::Seal:
        ok = Fail(k, "a second seal in the middle of the log");
        break;
      case ReceiptKind::Batch:
        ok = ReplayBatch(k, *r);
        break;
      case ReceiptKind::Undo:
        ok = ReplayUndo(k, *r);
        break;
      case ReceiptKind::Abandon:
        ok = ReplayAbandon(k, *r);
        break;
      case ReceiptKind::Supplement:
        ++report_.supplements;
        Action(AfterBatch() + "supplementary draw " + QueuedText(r->queued));
        Queue(r->queued, r->forwardOrder);
        break;
      case ReceiptKind::PrizeChange:
        ok = ReplayPrizeChange(k, *r);
        break;
      case ReceiptKind::Audience:
        ok = ReplayAudience(k, *r);
        break;
      case ReceiptKind::Rule:
        ++report_.ruleChanges;
        Action(AfterBatch() +
               (r->repeatAllowed ? "repeated wins allowed from here on" : "repeated wins forbidden from here on"));
        rule_ = r->repeatAllowed;
        break;
      case ReceiptKind::Close:
        ok = ReplayClose(k, *r);
        break;
      case ReceiptKind::Reopen:
        ok = Fail(k, "line " + std::to_string(k) + " opens the draw again, but the draw was not closed");
        break;
    }
    if (!ok) return;
  }
  report_.lines = last;
  report_.standing = standing_;
  report_.batches = static_cast<int>(standing_.size());
  for (const auto& b : standing_)
    for (bool gaveUp : b.abandoned) ++(gaveUp ? report_.gaveUp : report_.winners);
  CheckResultFiles(truncatedLine, closedAt != 0);
}

bool Replay::CutByCrash() const {
  // Only a program folder has a resume record; it must be sound, describe the draw as the receipts
  // leave it (the same pool) and know the result files without exactly that one batch.
  if (evidence_.exitRecord.empty() || !FileExists(evidence_.exitRecord)) return false;
  const ExitRecordFile file = ParseExitRecord(ReadTextFile(evidence_.exitRecord));
  if (!file.record || file.record->pool.size() != pool_.size()) return false;
  for (std::size_t i = 0; i < pool_.size(); ++i)
    if (Norm(file.record->pool[i]) != Norm(pool_[i])) return false;
  const auto list = PoolEntries(DecodeExternalText(ReadTextFile(evidence_.lists.back())));
  const ResumeVerdict verdict = CheckResumeRecord(*file.record, list, EvidenceText(evidence_, evidence_.resultDat),
                                                  EvidenceText(evidence_, evidence_.resultTxt), rule_);
  return verdict.problem.empty() && verdict.unconfirmedBatch;
}

void Replay::CheckResultFiles(int truncatedLine, bool closed) {
  const ResultFilesCheck files =
      CompareResultFiles(evidence_, standing_, seal_.format >= 2 ? &resultText_ : nullptr, seal_.format >= 2);
  if (files.problem) return void(Fail(0, *files.problem));
  for (const auto& w : files.beyond) report_.unchecked.push_back(Shown(w));
  if (!files.beyond.empty()) {
    const std::string count = std::to_string(files.beyond.size()) + (files.beyond.size() == 1 ? " winner" : " winners");
    if (files.oneMore && !closed && CutByCrash()) {
      report_.outcome = VerifyOutcome::Interrupted;
      report_.line = truncatedLine;
      report_.problem = "batch " + std::to_string(standing_.size() + 1) + " (" + Shown(files.beyondAward) + ", " +
                        count +
                        ") is in the result files but has no receipt: the program stopped while recording "
                        "it, as the resume record shows; the next start takes it back";
      return;
    }
    return void(Fail(0, "the result files hold " + count + " no receipt accounts for"));
  }
  if (truncatedLine) {
    report_.outcome = VerifyOutcome::Truncated;
    report_.line = truncatedLine;
    report_.problem = "line " + std::to_string(truncatedLine) + " of the receipts is incomplete (a write cut short)";
    return;
  }
  const int last = report_.lines;
  if (seal_.format < 2) {
    report_.outcome = VerifyOutcome::Uncommitted;
    return;
  }
  if (!closed) {
    report_.outcome = VerifyOutcome::NotClosed;
    report_.line = last;
    return;
  }
  report_.closingHash = Sha256Hex(lines_[static_cast<std::size_t>(last) - 1]);
  report_.outcome = VerifyOutcome::Ok;
}

}  // namespace

VerifyReport VerifyDraw(const DrawEvidence& evidence) {
  VerifyReport report;
  Replay(evidence, report).Run();
  return report;
}

}  // namespace kavrel
