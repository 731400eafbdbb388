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

int SupplementChoice::IndexOf(const std::string& awardName) const {
  const std::string prefix = Gb("补抽");
  std::string name = awardName;
  while (true) {
    for (std::size_t i = 1; i < items_.size(); ++i)
      if (items_[i] == name) return static_cast<int>(i);
    if (name.rfind(prefix, 0) != 0) return 0;
    name.erase(0, prefix.size());
  }
}

namespace {

bool MadeUpOnTheSpot(const SupplementRequest& request) {
  return request.awardName == Gb("其它奖项");
}

// The award's own name goes into the plan (split at ",") and the result files (split at "-").
bool AcceptCustomName(const SupplementRequest& request, const std::vector<std::string>& table, Prompter& prompter) {
  if (!MadeUpOnTheSpot(request)) return true;
  const std::string& name = request.customName;
  std::string problem;
  if (name.empty())
    problem =
        Gb("请在“奖项名称”中填写这个奖项的名称（例如：董事长特别奖），舞台、中奖名单和导出的表格都显示这个名称。");
  else if (name.find(',') != std::string::npos || name.find('-') != std::string::npos)
    problem = Gb("奖项名称不能包含字符“,”或“-”，请改用其他字符！");
  else
    for (const auto& award : table)
      if (award == name) problem = Gb("奖项表中已有【") + name + Gb("】，请在“补抽奖项”中直接选择它，或另取一个名称。");
  if (problem.empty()) return true;
  prompter.Message(problem, Gb("提示信息："), Buttons::Ok, Icon::Warning);
  return false;
}

}  // namespace

std::string SupplementAwardName(const SupplementRequest& request) {
  if (MadeUpOnTheSpot(request) && !request.customName.empty()) return request.customName;
  return Gb("补抽") + request.awardName;
}

std::string SupplementQuestion(const SupplementRequest& request) {
  const long long quota = LeadingInteger(request.quotaText);
  const long long batches = LeadingInteger(request.batchText);
  return Gb("将补抽【") + SupplementAwardName(request) + Gb("】") + std::to_string(quota) + Gb("名，分") +
         std::to_string(batches) + Gb("批抽取，奖品：") + request.prizeName +
         Gb("。\n补抽的批次排在尚未抽取的批次之前，其他奖项不变。\n确定补抽吗？");
}

bool CheckSupplementRequest(const SupplementRequest& request, Prompter& prompter,
                            const std::vector<std::string>& table) {
  if (request.prizeName.empty()) {
    prompter.Message(Gb("还未选择补抽奖项！"), Gb("提示信息："), Buttons::Ok, Icon::None);
    return false;
  }
  if (!CheckQueuedNumbers(request.quotaText, request.batchText, prompter)) return false;
  return AcceptPrizeName(request.prizeName, prompter) && AcceptPrizePicture(request.prizePicture, prompter) &&
         AcceptCustomName(request, table, prompter);
}

SupplementOutcome Supplement(const SupplementRequest& request, DrawState& state, const DrawOptions& options,
                             Prompter& prompter) {
  SupplementOutcome outcome;
  outcome.awardName = SupplementAwardName(request);
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
