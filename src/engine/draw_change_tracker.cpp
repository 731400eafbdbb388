#include "engine/draw_change_tracker.h"

#include <algorithm>

#include "engine/draw_session.h"

namespace kavrel {

namespace {

// Sets `seen` to `now` and says whether it differed.
template <typename T>
bool Moved(T& seen, const T& now) {
  if (seen == now) return false;
  seen = now;
  return true;
}

// The same for the plan, kept as its lines' texts (assigned in place: no allocation for a line as long).
bool MovedPlan(std::vector<std::string>& seen, const std::vector<PlanLine>& now) {
  if (seen.size() == now.size() && std::equal(seen.begin(), seen.end(), now.begin(),
                                              [](const std::string& a, const PlanLine& b) { return a == b.text; }))
    return false;
  seen.resize(now.size());
  for (std::size_t i = 0; i < now.size(); ++i) seen[i] = now[i].text;
  return true;
}

}  // namespace

DrawChanges DrawChangeTracker::Compare(const DrawSession& session) {
  const DrawState& s = session.Draw();
  DrawChanges changes;
  auto mark = [&changes](bool moved, DrawChange part) {
    if (moved) changes |= part;
  };
  mark(Moved(phase_, s.phase), DrawChange::Phase);
  mark(Moved(winners_, session.WinnersRevision()), DrawChange::Winners);
  bool plan = MovedPlan(plan_, s.plan);
  plan |= Moved(currentLine_, s.currentLine.text);
  plan |= Moved(recordedLine_, s.recordedLine.text);
  plan |= Moved(startFrom_, s.startFromActive) | Moved(startFromIndex_, s.startFromIndex);
  plan |= Moved(group_, s.groupActive) | Moved(groupStart_, s.groupStart) | Moved(groupEnd_, s.groupEnd);
  mark(plan, DrawChange::Plan);
  bool progress = Moved(pool_, s.pool.size());
  progress |= Moved(batchNo_, s.batchNo) | Moved(drawnInAward_, s.drawnInAward);
  progress |= Moved(drawStarted_, s.drawStarted) | Moved(undo_, s.undoAvailable);
  mark(progress, DrawChange::Progress);
  bool texts = false;
  for (std::size_t i = 0; i < texts_.size(); ++i) texts |= Moved(texts_[i], session.Text(static_cast<StageElement>(i)));
  mark(texts, DrawChange::Texts);
  const DrawReceipts& receipts = session.Receipts();
  bool record = Moved(receiptsActive_, receipts.Active()) | Moved(receiptsClosed_, receipts.Closed());
  record |= Moved(receiptsHash_, receipts.LastHash());
  mark(record, DrawChange::Receipts);
  mark(Moved(options_, session.Rules()) | Moved(mode_, session.Mode()), DrawChange::Rules);
  mark(Moved(revealing_, session.Revealing()), DrawChange::Revealing);
  if (first_) {
    first_ = false;
    return DrawChange::Phase | DrawChange::Winners | DrawChange::Plan | DrawChange::Progress | DrawChange::Texts |
           DrawChange::Receipts | DrawChange::Rules | DrawChange::Revealing;
  }
  return changes;
}

}  // namespace kavrel
