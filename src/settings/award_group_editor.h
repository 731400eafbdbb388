#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/draw_state.h"
#include "engine/ports/prompter.h"

namespace kavrel {

// The award group of the "奖项分组设定" window without widgets: the row range that limits the next
// recorded batch to part of the pool. Texts are GB18030 bytes; rows are 1-based pool positions.
class AwardGroupEditor {
 public:
  struct Group {
    std::string label;  // the combo text of the award it was set for
    int planPosition = 0;
    int start = 0;
    int end = 0;
    std::string ItemText() const;  // label + "：" + start + "-" + end
  };

  // With a group already active, the editor starts with it in the list and the box ticked, so
  // that looking at the window and pressing OK keeps it.
  AwardGroupEditor(const DrawState& state, bool forwardOrder, Prompter& prompter);

  // The stage opens the window only between rolls: a range changed while candidates roll would
  // apply to a batch already being picked. Shows why and returns false while rolling.
  static bool MayOpen(const DrawState& state, Prompter& prompter);

  // One item per plan line: award name + "第" + batch number + "批(" + batch size + "名)";
  // item i is plan position i + 1.
  const std::vector<std::string>& AwardItems() const { return items_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  const std::optional<Group>& CurrentGroup() const { return group_; }

  // The start and end texts to show for combo item index: those of the group when it was set for
  // that item, else empty.
  std::pair<std::string, std::string> RowsFor(int itemIndex) const;

  // "添加" with combo item itemIndex (-1 for none) and the two row texts. The rows must lie in
  // 1 … pool size; a start after the end is swapped. Refusals are told; true when added.
  bool Add(int itemIndex, const std::string& startText, const std::string& endText);
  // "删除" of the listed group (selected false: nothing selected).
  bool Remove(bool selected);

  // "确定": with the box ticked and a group listed, the group's rows are chosen when it can fill
  // the next batch (else the shortage is told and false keeps the window open). With the box
  // unticked or no group listed, no group is chosen (any active one ends) and the box is unticked.
  bool Confirm();
  // The rows chosen by the last Confirm that returned true, for the draw to take (SetAwardGroup).
  const std::optional<std::pair<int, int>>& ChosenRows() const { return chosen_; }

 private:
  void Tell(const std::string& text, const char* utf8Caption = "操作提示：", Icon icon = Icon::Warning);
  int NextBatchSize() const;

  const DrawState& state_;
  bool forwardOrder_;
  Prompter& prompter_;
  std::vector<std::string> items_;
  bool enabled_ = false;
  std::optional<Group> group_;
  std::optional<std::pair<int, int>> chosen_;
};

}  // namespace kavrel
