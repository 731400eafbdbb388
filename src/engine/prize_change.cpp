#include "engine/prize_change.h"

#include "engine/plan.h"
#include "engine/queued_batches.h"
#include "storage/codec.h"

namespace kavrel {

PrizeChangeChoice::PrizeChangeChoice(const std::vector<PlanLine>& plan, std::size_t nextPosition)
    : lines_(plan), nextPosition_(nextPosition) {
  std::size_t position = 0;
  for (const PlanLine& line : lines_)
    items_.push_back({line.award + Gb("第") + line.batchNumber + Gb("批"), ++position});
  initial_ = static_cast<int>(items_.size()) - 1;
  if (nextPosition >= 1 && nextPosition <= items_.size()) initial_ = static_cast<int>(nextPosition) - 1;
}

std::string PrizeChangeQuestion(const PrizeChangeChoice& choice, int index, const std::string& prizeName,
                                const std::string& prizePicture) {
  if (index < 0 || static_cast<std::size_t>(index) >= choice.items_.size()) return {};
  const PrizeChangeChoice::Prize old = choice.PrizeOf(index);
  const bool nameChanges = old.name != prizeName;
  const bool pictureChanges = old.picture != prizePicture;
  if (!nameChanges && !pictureChanges) return {};
  const auto& item = choice.items_[static_cast<std::size_t>(index)];
  std::string text = Gb("将修改【") + item.text + Gb("】");
  if (item.planPosition == choice.nextPosition_) text += Gb("（即将抽取的这一批）");
  text += Gb("：\n");
  if (nameChanges) text += Gb("奖品名称由“") + old.name + Gb("”改为“") + prizeName + Gb("”\n");
  if (pictureChanges) text += prizePicture.empty() ? Gb("去掉奖品图片\n") : Gb("奖品图片改为：") + prizePicture + "\n";
  return text + Gb("只改这一批，奖项设置不变。确定修改吗？");
}

PrizeChangeChoice::Prize PrizeChangeChoice::PrizeOf(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= lines_.size()) return {};
  const PlanLine& line = lines_[static_cast<std::size_t>(index)];
  return {line.prize, line.picture};
}

std::string PrizeChangeChoice::Explanation() {
  return Gb(
      "修改说明：仅对奖池内尚未完成抽奖的奖项有效，仅修改单批奖项("
      "如：未完成抽奖的二等奖有两个批次，需要重复选择两个批次"
      "进行修改)");
}

bool CheckPrizeChange(const PrizeChangeRequest& request, Prompter& prompter) {
  if (request.planPosition == 0) return true;
  return AcceptPrizeName(request.prizeName, prompter) && AcceptPrizePicture(request.prizePicture, prompter);
}

PrizeChangeOutcome ChangePrize(const PrizeChangeRequest& request, DrawState& state) {
  PrizeChangeOutcome outcome;
  if (request.planPosition == 0 || request.planPosition > state.plan.size()) return outcome;
  PlanLine& line = state.plan[request.planPosition - 1];
  outcome.planPosition = request.planPosition;
  outcome.awardName = line.award;
  outcome.batchNumber = line.batchNumber;
  outcome.oldPrizeName = line.prize;
  outcome.oldPrizePicture = line.picture;
  outcome.newPrizeName = request.prizeName;
  outcome.newPrizePicture = request.prizePicture;
  if (outcome.oldPrizeName == outcome.newPrizeName && outcome.oldPrizePicture == outcome.newPrizePicture)
    return outcome;
  line = WithPrize(line, request.prizeName, request.prizePicture);
  outcome.changed = true;
  return outcome;
}

}  // namespace kavrel
