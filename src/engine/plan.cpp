#include "engine/plan.h"

#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

std::size_t NextPlanPosition(const DrawState& state, bool forwardOrder) {
  if (state.plan.empty()) return 0;
  if (state.startFromActive && state.startFromIndex >= 1 &&
      static_cast<std::size_t>(state.startFromIndex) <= state.plan.size())
    return static_cast<std::size_t>(state.startFromIndex);
  return forwardOrder ? 1 : state.plan.size();
}

void SelectCurrentLine(DrawState& state, bool forwardOrder) {
  const std::size_t pos = NextPlanPosition(state, forwardOrder);
  if (pos == 0) return;
  state.currentLine = state.plan[pos - 1];
}

void ConsumeCurrentLine(DrawState& state, bool forwardOrder) {
  const std::size_t pos = NextPlanPosition(state, forwardOrder);
  if (pos != 0) state.plan.erase(state.plan.begin() + static_cast<std::ptrdiff_t>(pos - 1));
  state.startFromActive = false;
  state.groupActive = false;
}

AwardProgress AwardProgressFromPlan(const DrawState& state) {
  const auto& line = state.currentLine;
  const long long batches = LeadingInteger(line.batchCount);
  const long long quota = LeadingInteger(line.quota);
  long long left = 0;
  long long winnersLeft = 0;
  for (const PlanLine& other : state.plan) {
    if (other.award != line.award || other.quota != line.quota || other.batchCount != line.batchCount) continue;
    ++left;
    winnersLeft += LeadingInteger(other.batchSize);
  }
  if (left < 1 || left > batches || winnersLeft > quota) return {};
  return {static_cast<int>(batches - left + 1), static_cast<int>(quota - winnersLeft)};
}

std::string StatusText(const DrawState& state, bool done) {
  const auto& line = state.currentLine;
  std::string s = Gb(done ? "已抽取【" : "准备抽取【");
  s += line.award;
  s += Gb("】，本轮抽") + line.batchSize;
  s += Gb("名（第") + std::to_string(state.batchNo);
  s += Gb("轮/总") + line.batchCount;
  s += Gb("轮，已抽") + std::to_string(state.drawnInAward);
  s += Gb("名/共") + line.quota;
  s += Gb("名)");
  return s;
}

std::string DrawerCaptionFor(const PlanLine& currentLine, const std::vector<DrawerCaption>& captions) {
  if (currentLine.empty()) return {};
  const std::string key = DrawerCaptionKey(currentLine.award, currentLine.batchCount, currentLine.batchNumber);
  for (const auto& c : captions)
    if (c.key == key) return c.caption;
  return {};
}

void SetAwardGroup(DrawState& state, std::optional<std::pair<int, int>> rows) {
  state.groupActive = rows.has_value();
  if (!rows) return;
  state.groupStart = rows->first;
  state.groupEnd = rows->second;
}

}  // namespace kavrel
