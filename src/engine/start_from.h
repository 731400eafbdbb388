#pragma once

#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine/ports/prompter.h"

namespace kavrel {

// The logic of StartFromWindow "从指定奖项抽", which lets the operator pick the plan line the next
// batch is drawn from (for one batch). The stage builds the dialog from it:
//
//   StartFromChoice choice(state.plan);
//   // 组合框1 gets choice.Items() (text shown, data kept), item 0 ("请选择", data -1) selected;
//   // the notes read StartFromChoice::Note() and StartFromChoice::Prompt().
//   // 按钮_确定: if (choice.Confirm(comboIndex, prompter, chosen) == Outcome::Close) accept();
//   // 按钮_取消: reject() - nothing changes.
//   // After the window closes, whichever way: session.StartFrom(the line chosen, if any).
class StartFromChoice {
 public:
  struct Item {
    std::string text;  // award name + "第" + batch number + "批" (GB18030)
    int data = -1;     // 1-based plan position, -1 for "请选择"
  };
  enum class Outcome { KeepOpen, Close };

  explicit StartFromChoice(const std::vector<PlanLine>& plan);

  const std::vector<Item>& Items() const { return items_; }
  static std::string Note();    // "此页面设置需要指定开始的奖项与批次(仅对单次修改有效)"
  static std::string Prompt();  // "请选择需要指定开始的奖项："

  // OK with the combo box at `itemIndex`. A real line closes with its plan position in `chosen`;
  // "请选择" (or an index outside the list) asks whether to leave without a choice: Cancel keeps the
  // window open, OK closes with 0 in `chosen` (no line).
  Outcome Confirm(int itemIndex, Prompter& prompter, int& chosen) const;
  // The same, put into the draw state at once.
  Outcome Confirm(int itemIndex, DrawState& state, Prompter& prompter) const;
  // The line at 1-based `planPosition` is drawn next (for one batch); 0: the plan's own order.
  static void Apply(int planPosition, DrawState& state);

 private:
  std::vector<Item> items_;
};

}  // namespace kavrel
