#include "engine/supplement.h"

#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

SupplementChoice::SupplementChoice(const std::vector<AwardRow>& table) : table_(table) {
  items_.push_back(Gb("其它奖项"));
  for (const auto& row : table_) items_.push_back(row.name);
}

SupplementChoice::Prize SupplementChoice::PrizeOf(int index) const {
  if (index <= 0 || static_cast<std::size_t>(index) >= items_.size()) return {};
  for (const auto& row : table_)
    if (row.name == items_[static_cast<std::size_t>(index)]) return {row.prizeName, row.prizePicture, true};
  return {};
}

bool CheckSupplementRequest(const SupplementRequest& request, Prompter& prompter) {
  if (request.prizeName.empty()) {
    prompter.Message(Gb("还未选择补抽奖项！"), Gb("提示信息："), Buttons::Ok, Icon::None);
    return false;
  }
  if (!CheckQueuedNumbers(request.quotaText, request.batchText, prompter)) return false;
  return AcceptPrizeName(request.prizeName, prompter) && AcceptPrizePicture(request.prizePicture, prompter);
}

SupplementOutcome Supplement(const SupplementRequest& request, DrawState& state, const DrawOptions& options,
                             Prompter& prompter) {
  SupplementOutcome outcome;
  outcome.awardName = Gb("补抽") + request.awardName;
  if (!CheckSupplementRequest(request, prompter)) return outcome;
  const auto sizes = *CheckQueuedNumbers(request.quotaText, request.batchText, prompter);
  const long long quota = LeadingInteger(request.quotaText);
  const int b = static_cast<int>(sizes.size());
  std::vector<QueuedBatch> lines;
  for (int i = 1; i <= b; ++i) {
    QueuedBatch q;
    q.batchNumber = b - i + 1;
    // Sizes run larger first; in forward order batch 1 (drawn first) takes the smallest.
    q.size = sizes[static_cast<std::size_t>(options.forwardOrder ? b - q.batchNumber : q.batchNumber - 1)];
    q.line =
        QueuedPlanLine(outcome.awardName, quota, b, q.batchNumber, q.size, request.prizeName, request.prizePicture);
    lines.push_back(std::move(q));
  }
  outcome.queued = QueueBatches(state, options.forwardOrder, std::move(lines));
  outcome.done = true;
  return outcome;
}

}  // namespace kavrel
