#pragma once

#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine/ports/prompter.h"

namespace kavrel {

// What the prize change window "临时修改奖品名称" offers, without widgets: one item per plan line,
// in plan order, award name + "第" + batch number + "批".
class PrizeChangeChoice {
 public:
  struct Item {
    std::string text;
    std::size_t planPosition = 0;  // 1-based
  };
  struct Prize {
    std::string name;
    std::string picture;  // empty when the line has no picture field: nothing is carried over
  };

  // `nextPosition`: the 1-based plan position of the batch the draw is at (NextPlanPosition), which is
  // selected at opening so that a hurried "确定" changes that batch and no other; 0 selects the last line.
  explicit PrizeChangeChoice(const std::vector<PlanLine>& plan, std::size_t nextPosition = 0);

  const std::vector<Item>& Items() const { return items_; }
  int InitialIndex() const { return initial_; }  // -1 when the plan is empty
  Prize PrizeOf(int index) const;
  static std::string Explanation();  // 标签1

 private:
  std::vector<Item> items_;
  std::vector<PlanLine> lines_;
  int initial_ = -1;
  std::size_t nextPosition_ = 0;

  friend std::string PrizeChangeQuestion(const PrizeChangeChoice& choice, int index, const std::string& prizeName,
                                         const std::string& prizePicture);
};

// The question of "确定": which batch gets which prize (and picture) instead of which. Empty when the
// texts change nothing, so there is nothing to ask.
std::string PrizeChangeQuestion(const PrizeChangeChoice& choice, int index, const std::string& prizeName,
                                const std::string& prizePicture);

struct PrizeChangeRequest {
  std::size_t planPosition = 0;  // 1-based; 0 when nothing is selected
  std::string prizeName;
  std::string prizePicture;
};

// The checks of "确定" that keep the window open: no separator of the plan or result files in the
// texts. True when the request can be carried out.
bool CheckPrizeChange(const PrizeChangeRequest& request, Prompter& prompter);

struct PrizeChangeOutcome {
  bool changed = false;          // false: nothing selected, position outside the plan, or nothing differs
  std::size_t planPosition = 0;  // the batch changed
  std::string awardName;
  std::string batchNumber;
  std::string oldPrizeName, newPrizeName;
  std::string oldPrizePicture, newPrizePicture;
};

// Replaces the prize name and picture of one plan line, in memory only (a reset from the files brings
// the planned prize back). The line is rebuilt with every field followed by ","; fields after the
// picture stay. The caller then chooses the current line again and shows its prize.
PrizeChangeOutcome ChangePrize(const PrizeChangeRequest& request, DrawState& state);

}  // namespace kavrel
