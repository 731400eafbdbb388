#include "verify/draw_verifier.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "engine/pick.h"
#include "engine/random_source.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/receipt_log.h"
#include "storage/result_blocks.h"
#include "storage/result_store.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

// A data text as the log holds it: the receipts keep texts as Unicode, so both sides go through
// the same conversion before they are compared.
std::string Norm(const std::string& gb) {
  return FromQt(ToQt(gb));
}

std::string Shown(const std::string& gb) {
  const QByteArray utf8 = ToQt(gb).toUtf8();
  return "\"" + std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())) + "\"";
}

struct StandingBatch {
  std::string award;
  std::vector<std::string> entries;  // normalised, as recorded
  std::vector<bool> abandoned;
};

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
  bool CheckSeal(const std::string& line);
  bool CheckOrder(int k, const Receipt& r);
  bool ReplayBatch(int k, const Receipt& r);
  bool ReplayUndo(int k, const Receipt& r);
  bool ReplayAbandon(int k, const Receipt& r);
  bool CompareResults(bool allowOneMore);

  const DrawEvidence& evidence_;
  VerifyReport& report_;
  std::vector<std::string> lines_;
  std::vector<std::optional<Receipt>> parsed_;
  std::vector<std::string> pool_;
  std::vector<StandingBatch> standing_;
};

bool Replay::CheckSeal(const std::string& line) {
  const auto seal = ParseReceipt(line);
  if (!seal || seal->kind != ReceiptKind::Seal || seal->seq != 1)
    return Fail(1, "the first line is not the event seal");
  report_.seal = seal->seal;
  if (ListSha256(seal->plan) != seal->planSha256 || EventSeal(seal->poolSha256, seal->planSha256) != seal->seal)
    return Fail(1, "the seal line was edited: its plan or hashes no longer give the seal " + ShortSeal(seal->seal));
  if (!FileExists(evidence_.list)) {
    report_.outcome = VerifyOutcome::Unusable;
    report_.problem = evidence_.listName + " is missing: there is no list to replay the draw from";
    return false;
  }
  pool_ = PoolEntries(DecodeExternalText(ReadTextFile(evidence_.list)));
  if (static_cast<long long>(pool_.size()) != seal->poolSize || ListSha256(pool_) != seal->poolSha256)
    return Fail(0, evidence_.listName + " has changed since the seal: its " + std::to_string(pool_.size()) +
                       " entries do not give the sealed pool of " + std::to_string(seal->poolSize) + " entries");
  return true;
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

bool Replay::ReplayBatch(int k, const Receipt& r) {
  const std::string at = "batch " + std::to_string(r.batchIndex) + " (" + Shown(r.award) + "): ";
  if (r.poolSize != static_cast<long long>(pool_.size()) || r.poolSha256 != ListSha256(pool_))
    return Fail(k, at + "the pool at the start of the roll does not match the replay (" + std::to_string(r.poolSize) +
                       " entries recorded, " + std::to_string(pool_.size()) + " replayed)");
  const PickRange range{r.groupFirst, r.groupLast};
  DrawState probe;
  if (r.batchSize < 1 || static_cast<std::size_t>(r.batchSize) != r.winners.size() || !range.Valid(pool_.size()) ||
      (!r.repeatAllowed && r.batchSize > range.Count()))
    return Fail(k, at + "the batch size or the range of positions cannot have been drawn from this pool");
  RandomSource random(r.generatorState);
  std::vector<int> positions;
  DrawPositions(random, range, r.batchSize, r.repeatAllowed, positions);
  std::sort(positions.begin(), positions.end(), std::greater<int>());
  StandingBatch batch;
  batch.award = Norm(r.award);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const ReceiptWinner& w = r.winners[i];
    if (w.position != positions[i])
      return Fail(k, at + "winner " + std::to_string(i + 1) + " is recorded at pool position " +
                         std::to_string(w.position) + " but the recorded generator state picks position " +
                         std::to_string(positions[i]));
    const std::string& entry = pool_[static_cast<std::size_t>(positions[i]) - 1];
    if (Norm(entry) != w.entry)
      return Fail(k, at + "winner " + std::to_string(i + 1) + " was edited: the receipt says " + Shown(w.entry) +
                         ", pool position " + std::to_string(positions[i]) + " holds " + Shown(entry));
    batch.entries.push_back(Norm(entry));
  }
  batch.abandoned.assign(batch.entries.size(), false);
  standing_.push_back(std::move(batch));
  if (!r.repeatAllowed) {
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
  std::vector<std::string> left = standing_.back().entries;
  for (const auto& e : r.returned) {
    const auto it = std::find(left.begin(), left.end(), Norm(e));
    if (it == left.end()) return Fail(k, "the undo returns " + Shown(e) + " to the pool, who was not taken back");
    left.erase(it);
    pool_.push_back(e);
  }
  standing_.pop_back();
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
    marked.push_back(entry);
  }
  for (const auto& e : r.returned) {
    const auto it = std::find(marked.begin(), marked.end(), Norm(e));
    if (it == marked.end()) return Fail(k, "the abandon returns " + Shown(e) + " to the pool, who was not abandoned");
    marked.erase(it);
    pool_.push_back(e);
  }
  return true;
}

bool Replay::CompareResults(bool allowOneMore) {
  const std::string mark = AbandonedMark();
  auto shownEntry = [&](const StandingBatch& b, std::size_t i) { return b.entries[i] + (b.abandoned[i] ? mark : ""); };

  const std::string datText = ReadTextFile(evidence_.resultDat);
  std::vector<std::pair<std::string, std::string>> recorded;
  for (const auto& line : ParseResultLog(datText))
    for (const auto& w : line.winners) recorded.emplace_back(Norm(line.awardName), Norm(w));
  std::vector<std::pair<std::string, std::string>> replayed;
  for (const auto& b : standing_)
    for (std::size_t i = 0; i < b.entries.size(); ++i) replayed.emplace_back(b.award, shownEntry(b, i));
  const std::size_t common = std::min(recorded.size(), replayed.size());
  for (std::size_t i = 0; i < common; ++i)
    if (recorded[i] != replayed[i])
      return Fail(0, evidence_.resultDatName + ": winner " + std::to_string(i + 1) + " is " +
                         Shown(recorded[i].second) + " of " + Shown(recorded[i].first) + ", the replay gives " +
                         Shown(replayed[i].second) + " of " + Shown(replayed[i].first));
  const bool datExtra = recorded.size() > replayed.size();
  if (recorded.size() < replayed.size())
    return Fail(0, evidence_.resultDatName + " lacks winners the replay gives: " + std::to_string(replayed.size()) +
                       " replayed, " + std::to_string(recorded.size()) + " recorded");

  const auto blocks = ParseResultBlocks(ReadTextFile(evidence_.resultTxt));
  for (std::size_t i = 0; i < std::min(blocks.size(), standing_.size()); ++i) {
    const auto& b = standing_[i];
    std::vector<std::string> expected;
    for (std::size_t j = 0; j < b.entries.size(); ++j) expected.push_back(shownEntry(b, j));
    std::vector<std::string> got;
    for (const auto& w : blocks[i].winners) got.push_back(Norm(w));
    if (Norm(blocks[i].awardName) != b.award || got != expected)
      return Fail(0, evidence_.resultTxtName + ": batch " + std::to_string(i + 1) + " differs from the replay (award " +
                         Shown(blocks[i].awardName) + ", " + std::to_string(got.size()) + " winners; replay " +
                         Shown(b.award) + ", " + std::to_string(expected.size()) + " winners)");
  }
  if (blocks.size() < standing_.size())
    return Fail(0, evidence_.resultTxtName + " lacks batches the replay gives: " + std::to_string(standing_.size()) +
                       " replayed, " + std::to_string(blocks.size()) + " recorded");
  const bool txtExtra = blocks.size() > standing_.size();
  // With the last receipt cut short, the result files may hold the one batch it was written for.
  if ((txtExtra || datExtra) && !(allowOneMore && blocks.size() <= standing_.size() + 1))
    return Fail(0, "the result files hold winners no receipt accounts for (" + std::to_string(blocks.size()) +
                       " batches recorded, " + std::to_string(standing_.size()) + " replayed)");
  return true;
}

void Replay::Run() {
  const ReceiptLines log = ReadReceiptLines(evidence_.receipts);
  if (!log.found || log.lines.empty()) {
    report_.outcome = VerifyOutcome::Unusable;
    report_.problem = "no receipts: " + evidence_.receipts.string() + " is missing or empty";
    return;
  }
  lines_ = log.lines;
  for (const auto& line : lines_) parsed_.push_back(ParseReceipt(line));
  // A last line that never got its line end and does not parse is a write cut short.
  int truncatedLine = 0;
  if (log.unterminated && !parsed_.back()) truncatedLine = static_cast<int>(lines_.size());
  if (truncatedLine == 1) {
    report_.outcome = VerifyOutcome::Unusable;
    report_.problem = "the seal line is incomplete (cut short); nothing can be verified";
    return;
  }
  if (!CheckSeal(lines_.front())) return;
  const int last = truncatedLine ? truncatedLine - 1 : static_cast<int>(lines_.size());
  for (int k = 2; k <= last; ++k) {
    const auto& r = parsed_[static_cast<std::size_t>(k) - 1];
    if (!r) return void(Fail(k, "line " + std::to_string(k) + " is not a receipt (damaged or edited)"));
    if (!CheckOrder(k, *r)) return;
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
      case ReceiptKind::PrizeChange:
        break;  // they change the plan only; the batches they queue replay as batches
    }
    if (!ok) return;
  }
  if (!CompareResults(truncatedLine != 0)) return;
  report_.batches = static_cast<int>(standing_.size());
  for (const auto& b : standing_) report_.winners += static_cast<int>(b.entries.size());
  if (truncatedLine) {
    report_.outcome = VerifyOutcome::Truncated;
    report_.line = truncatedLine;
    report_.problem = "line " + std::to_string(truncatedLine) + " of the receipts is incomplete (a write cut short)";
    return;
  }
  report_.outcome = VerifyOutcome::Ok;
}

}  // namespace

DrawEvidence EvidenceIn(const std::filesystem::path& folder) {
  DrawEvidence e;
  if (std::filesystem::exists(folder / "config" / "receipts.log") ||
      std::filesystem::exists(folder / "config" / "set.dat")) {
    e.receipts = folder / "config" / "receipts.log";
    e.list = folder / "config" / "set.dat";
    e.resultDat = folder / "config" / "result.dat";
    e.resultTxt = folder / "result.txt";
    e.listName = "config\\set.dat";
    e.resultDatName = "config\\result.dat";
  } else {
    e.receipts = folder / "receipts.log";
    e.list = folder / "receipts-list.dat";
    e.resultDat = folder / "result.dat";
    e.resultTxt = folder / "result.txt";
    e.listName = "receipts-list.dat";
    e.resultDatName = "result.dat";
  }
  e.resultTxtName = "result.txt";
  return e;
}

VerifyReport VerifyDraw(const DrawEvidence& evidence) {
  VerifyReport report;
  Replay(evidence, report).Run();
  return report;
}

std::string ReportLine(const VerifyReport& r) {
  const std::string counts =
      std::to_string(r.batches) + " batches, " + std::to_string(r.winners) + " winners, seal " + ShortSeal(r.seal);
  switch (r.outcome) {
    case VerifyOutcome::Ok:
      return "OK: " + counts;
    case VerifyOutcome::Truncated:
      return "TRUNCATED: " + r.problem + "; the receipts before it verify: " + counts;
    case VerifyOutcome::Mismatch:
      return "MISMATCH" + (r.line > 0 ? " at receipts.log line " + std::to_string(r.line) : std::string()) + ": " +
             r.problem;
    case VerifyOutcome::Unusable:
      break;
  }
  return "CANNOT VERIFY: " + r.problem;
}

int ExitStatus(const VerifyReport& r) {
  switch (r.outcome) {
    case VerifyOutcome::Ok:
      return 0;
    case VerifyOutcome::Mismatch:
      return 1;
    case VerifyOutcome::Truncated:
      return 2;
    case VerifyOutcome::Unusable:
      break;
  }
  return 3;
}

}  // namespace kavrel
