#include "engine/plan.h"

#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/split_text.h"

namespace kavrel {

const std::string& Field(const std::vector<std::string>& line, int n) {
  static const std::string kEmpty;
  if (n < 1 || static_cast<std::size_t>(n) > line.size()) return kEmpty;
  return line[static_cast<std::size_t>(n) - 1];
}

std::vector<std::string> SplitPlanLine(const std::string& line) {
  return SplitText(line, ",");
}

std::string JoinPlanLine(const std::vector<std::string>& fields) {
  std::string out;
  for (const auto& f : fields) out += f + ",";
  return out;
}

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
  state.currentLine = SplitPlanLine(state.plan[pos - 1]);
}

void ConsumeCurrentLine(DrawState& state, bool forwardOrder) {
  const std::size_t pos = NextPlanPosition(state, forwardOrder);
  if (pos != 0) state.plan.erase(state.plan.begin() + static_cast<std::ptrdiff_t>(pos - 1));
  state.startFromActive = false;
  state.groupActive = false;
}

AwardProgress AwardProgressFromPlan(const DrawState& state) {
  const auto& line = state.currentLine;
  const long long batches = LeadingInteger(Field(line, kBatchCount));
  const long long quota = LeadingInteger(Field(line, kAwardQuota));
  long long left = 0;
  long long winnersLeft = 0;
  for (const std::string& planLine : state.plan) {
    const std::vector<std::string> other = SplitPlanLine(planLine);
    if (Field(other, kAwardName) != Field(line, kAwardName) || Field(other, kAwardQuota) != Field(line, kAwardQuota) ||
        Field(other, kBatchCount) != Field(line, kBatchCount))
      continue;
    ++left;
    winnersLeft += LeadingInteger(Field(other, kBatchSize));
  }
  if (left < 1 || left > batches || winnersLeft > quota) return {};
  return {static_cast<int>(batches - left + 1), static_cast<int>(quota - winnersLeft)};
}

std::string StatusText(const DrawState& state, bool done) {
  const auto& line = state.currentLine;
  std::string s = Gb(done ? "已抽取【" : "准备抽取【");
  s += Field(line, kAwardName);
  s += Gb("】，本轮抽") + Field(line, kBatchSize);
  s += Gb("名（第") + std::to_string(state.batchNo);
  s += Gb("轮/总") + Field(line, kBatchCount);
  s += Gb("轮，已抽") + std::to_string(state.drawnInAward);
  s += Gb("名/共") + Field(line, kAwardQuota);
  s += Gb("名)");
  return s;
}

std::string DrawerCaptionFor(const std::vector<std::string>& currentLine, const std::vector<DrawerCaption>& captions) {
  if (currentLine.empty()) return {};
  const std::string key = DrawerCaptionKey(Field(currentLine, kAwardName), Field(currentLine, kBatchCount),
                                           Field(currentLine, kBatchNumber));
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
