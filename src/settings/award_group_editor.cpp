#include "settings/award_group_editor.h"

#include <utility>

#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

std::string AwardGroupEditor::Group::ItemText() const {
  return label + Gb("：") + std::to_string(start) + "-" + std::to_string(end);
}

AwardGroupEditor::AwardGroupEditor(const DrawState& state, bool forwardOrder, Prompter& prompter)
    : state_(state), forwardOrder_(forwardOrder), prompter_(prompter) {
  items_.reserve(state_.plan.size());
  for (const PlanLine& line : state_.plan) {
    items_.push_back(line.award + Gb("第") + line.batchNumber + Gb("批(") + line.batchSize + Gb("名)"));
  }
  // The active group applies to the next recorded batch, so it is shown against that line.
  const std::size_t next = NextPlanPosition(state_, forwardOrder_);
  if (state_.groupActive && next > 0) {
    enabled_ = true;
    group_ = Group{items_[next - 1], static_cast<int>(next), state_.groupStart, state_.groupEnd};
  }
}

bool AwardGroupEditor::MayOpen(const DrawState& state, Prompter& prompter) {
  if (state.phase != DrawPhase::Rolling) return true;
  prompter.Message(Gb("正在抽奖中，请先停止本轮抽奖，再设定奖项分组！"), Gb(texts::kOperationCaption), Buttons::Ok,
                   Icon::Information);
  return false;
}

std::pair<std::string, std::string> AwardGroupEditor::RowsFor(int itemIndex) const {
  if (!group_ || group_->planPosition != itemIndex + 1) return {};
  return {std::to_string(group_->start), std::to_string(group_->end)};
}

bool AwardGroupEditor::Add(int itemIndex, const std::string& startText, const std::string& endText) {
  if (itemIndex < 0 || static_cast<std::size_t>(itemIndex) >= items_.size()) {
    Tell(Gb("请选择要设定分组的奖项！"));
    return false;
  }
  if (startText.empty()) {
    Tell(Gb("请选择要设定分组的起始行！"));
    return false;
  }
  if (endText.empty()) {
    Tell(Gb("请选择要设定分组的结束行！"));
    return false;
  }
  if (group_) {
    Tell(Gb("已经设定奖项分组，请先完成抽奖后再进行设定奖项分组，以避免中奖名单重复！"));
    return false;
  }
  int start = LeadingInt(startText);
  int end = LeadingInt(endText);
  const std::size_t rows = state_.pool.size();
  if (rows == 0) {
    Tell(Gb("待抽奖名单为空，无法设定奖项分组！"));
    return false;
  }
  auto inside = [rows](int row) { return row >= 1 && static_cast<std::size_t>(row) <= rows; };
  if (!inside(start) || !inside(end)) {
    Tell(Gb("分组的起始行和结束行必须在第1行至第") + std::to_string(rows) + Gb("行之间，请重新输入！"));
    return false;
  }
  // The range is the same either way round; the list shows it in order.
  if (start > end) std::swap(start, end);
  group_ = Group{items_[static_cast<std::size_t>(itemIndex)], itemIndex + 1, start, end};
  return true;
}

bool AwardGroupEditor::Remove(bool selected) {
  if (!selected || !group_) {
    Tell(Gb("请选择要删除的已设定分组奖项！"));
    return false;
  }
  group_.reset();
  return true;
}

int AwardGroupEditor::NextBatchSize() const {
  const std::size_t next = NextPlanPosition(state_, forwardOrder_);
  if (next == 0) return 0;
  return state_.plan[next - 1].BatchSize();
}

bool AwardGroupEditor::Confirm() {
  if (!enabled_ || !group_) {
    enabled_ = false;
    chosen_.reset();
    return true;
  }
  // Refused here rather than at the next start, where a group that is too small would block
  // every start until the draw is reset.
  if (group_->end - group_->start + 1 < NextBatchSize()) {
    Tell(Gb(texts::kShortPool), texts::kShortPoolCaption);
    return false;
  }
  // A group decides who can win: the operator is told that the room will see it before it is taken.
  const auto rows = static_cast<long long>(state_.pool.size());
  if (group_->start > 1 || group_->end < rows) {
    const std::string question =
        Gb("本批只从待抽名单的第") + std::to_string(group_->start) + Gb("–") + std::to_string(group_->end) +
        Gb("行（共") + std::to_string(group_->end - group_->start + 1) + Gb("人）中抽取，而不是全部") +
        std::to_string(rows) + Gb("人。\n抽取时舞台上会一直显示这一范围，公证记录和核验报告也会列出它。\n确定吗？");
    if (prompter_.Message(question, Gb("操作提示："), Buttons::OkCancel, Icon::Question) != Answer::Ok) return false;
  }
  chosen_ = std::make_pair(group_->start, group_->end);
  return true;
}

void AwardGroupEditor::Tell(const std::string& text, const char* utf8Caption, Icon icon) {
  prompter_.Message(text, Gb(utf8Caption), Buttons::Ok, icon);
}

}  // namespace kavrel
