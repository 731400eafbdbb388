#include "engine/queued_batches.h"

#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "engine/split_quota.h"
#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

namespace {

void Tell(Prompter& prompter, const char* utf8, const char* captionUtf8, Icon icon) {
  prompter.Message(Gb(utf8), Gb(captionUtf8), Buttons::Ok, icon);
}

bool AcceptText(const std::string& text, const char* labelUtf8, bool dashAllowed, Prompter& prompter) {
  // Neither separator byte occurs inside a GB18030 multi-byte character, so a byte search is exact.
  char bad = 0;
  if (text.find(',') != std::string::npos)
    bad = ',';
  else if (!dashAllowed && text.find('-') != std::string::npos)
    bad = '-';
  if (bad == 0) return true;
  prompter.Message(Gb(labelUtf8) + Gb("不能包含字符“") + std::string(1, bad) + Gb("”，请改用其他字符！"),
                   Gb(texts::kErrorCaption), Buttons::Ok, Icon::Warning);
  return false;
}

}  // namespace

std::optional<std::vector<long long>> CheckQueuedNumbers(const std::string& quotaText, const std::string& batchText,
                                                         Prompter& prompter) {
  if (quotaText.empty() || batchText.empty()) {
    Tell(prompter, "补抽名额或批次不能为空", texts::kInfoCaption, Icon::None);
    return std::nullopt;
  }
  const long long q = LeadingInteger(quotaText);
  const long long b = LeadingInteger(batchText);
  if (q <= 0 || b <= 0) {
    Tell(prompter, "输入的数字不符合要求，需要大于0的整数", texts::kErrorCaption, Icon::Error);
    return std::nullopt;
  }
  if (q < b) {
    Tell(prompter, "批次不能大于中奖名额", texts::kErrorCaption, Icon::Error);
    return std::nullopt;
  }
  return SplitQuota(q, b);
}

std::vector<QueuedBatch> QueueBatches(DrawState& state, bool forwardOrder, std::vector<QueuedBatch> lines) {
  for (const auto& queued : lines) {
    if (forwardOrder)
      state.plan.insert(state.plan.begin(), queued.line);
    else
      state.plan.push_back(queued.line);
  }
  const std::size_t n = lines.size();
  // Lines put in front move the chosen line back by as many places; it is still the one drawn next.
  if (forwardOrder && state.startFromActive) state.startFromIndex += static_cast<int>(n);
  for (std::size_t i = 0; i < n; ++i) lines[i].planPosition = forwardOrder ? n - i : state.plan.size() - n + 1 + i;
  state.planChanged = true;
  return lines;
}

std::string QueuedPlanLine(const std::string& awardName, long long quota, long long batchCount, int batchNumber,
                           long long size, const std::string& prizeName, const std::string& prizePicture) {
  return MakePlanLine(awardName, std::to_string(quota), std::to_string(batchCount), std::to_string(batchNumber),
                      std::to_string(size), prizeName, prizePicture)
      .text;
}

bool CorrectionMayOpen(const DrawState& state, Prompter& prompter, const char* whatUtf8) {
  if (state.phase != DrawPhase::Rolling) return true;
  prompter.Message(Gb("正在抽奖中，请先停止本轮抽奖，再") + Gb(whatUtf8) + Gb("！"), Gb(texts::kOperationCaption),
                   Buttons::Ok, Icon::Information);
  return false;
}

bool AcceptPrizeName(const std::string& prizeName, Prompter& prompter) {
  return AcceptText(prizeName, "奖品名称", false, prompter);
}

bool AcceptPrizePicture(const std::string& path, Prompter& prompter) {
  return AcceptText(path, "奖品图片的路径", true, prompter);
}

}  // namespace kavrel
