#pragma once

#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine/ports/prompter.h"
#include "engine/queued_batches.h"
#include "storage/award_store.h"
#include "storage/stage_settings.h"

namespace kavrel {

// What the supplementary draw window "补奖设定" offers, without widgets: "其它奖项" (an award made
// up on the spot), then the awards of config\jiangx.dat in file order.
class SupplementChoice {
 public:
  struct Prize {
    std::string name;
    std::string picture;
    bool fromTable = false;  // filled from the table and locked; "其它奖项" is typed
  };

  explicit SupplementChoice(const std::vector<AwardRow>& table);

  const std::vector<std::string>& Items() const { return items_; }          // item 0 is "其它奖项"
  int InitialIndex() const { return static_cast<int>(items_.size()) - 1; }  // the last award of the table
  // The item of `awardName`, the award the draw is at, so that a hurried "确定" adds winners to the award
  // the room is looking at: a queued line "补抽X" points at X. "其它奖项" (0) when no table award matches.
  int IndexOf(const std::string& awardName) const;
  // The prize of item `index`: the first table row of that name; "其它奖项" starts empty.
  Prize PrizeOf(int index) const;

 private:
  std::vector<std::string> items_;
  std::vector<AwardRow> table_;
};

struct SupplementRequest {
  std::string awardName;     // the combo text, without the "补抽" prefix
  std::string prizeName;     // 编辑框_奖品名称
  std::string prizePicture;  // 编辑框_奖品图片
  std::string quotaText;     // 编辑框_补抽名额
  std::string batchText;     // 编辑框_批次
  std::string customName{};  // 编辑框_奖项名称: the name of an award made up on the spot ("其它奖项")
};

// The award name the queued batches are drawn and recorded under: the typed name of an award made up
// on the spot ("董事长特别奖"), otherwise "补抽" + the table award.
std::string SupplementAwardName(const SupplementRequest& request);

// The question of "确定": what will be queued, for which award and prize.
std::string SupplementQuestion(const SupplementRequest& request);

// The checks of "确定" that keep the window open: a prize name, usable numbers, and no separator of
// the plan or result files in the texts; an award made up on the spot needs a name of its own that no
// table award has (`table`: the award names offered). Tells the operator what is wrong.
bool CheckSupplementRequest(const SupplementRequest& request, Prompter& prompter,
                            const std::vector<std::string>& table = {});

struct SupplementOutcome {
  bool done = false;  // false: refused, nothing changed
  std::string awardName;
  std::vector<QueuedBatch> queued;  // in the order they were made
};

// Queues the supplementary batches "补抽" + award as the next batches of the plan, drawn in the
// order 1, 2, … b; the smaller batch of an uneven split is drawn first in forward order and last
// otherwise. Sets planChanged; writes no file. The caller shows the ready state.
SupplementOutcome Supplement(const SupplementRequest& request, DrawState& state, const DrawOptions& options,
                             Prompter& prompter);

}  // namespace kavrel
