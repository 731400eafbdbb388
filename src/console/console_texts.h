#pragma once

// What the operator console shows, computed from the draw state and the result file alone, so that it
// reads the same whichever window is looking and can be checked without one.

#include <QString>
#include <vector>

#include "engine/draw_state.h"
#include "stage/stage_situation.h"
#include "storage/result_store.h"

namespace kavrel {

// One batch still to draw, in the order the draw will take it; while a batch's winners are on screen,
// that batch first.
struct ConsolePlanRow {
  QString award;
  QString batch;  // "第1轮/共2轮"
  QString size;   // "5名"
  QString prize;
  bool current = false;  // the batch whose winners are on screen, else the one the next press rolls

  bool operator==(const ConsolePlanRow&) const = default;
};
std::vector<ConsolePlanRow> ConsolePlanRows(const DrawState& state, bool forwardOrder);

// Where the draw stands, in the operator's words, with what the next press of space really does there:
// what covers the stage (the lock, a result window, a blackout) first, then the draw's phase.
struct ConsoleNextPress {
  QString phase;            // 标签_状态
  QString button;           // 按钮_开始停止
  bool buttonWorks = true;  // false: the button can do nothing now and is disabled
};
ConsoleNextPress ConsoleNextPressText(const DrawState& state, const StageSituation& stage = {});
inline QString ConsolePhaseText(const DrawState& state, const StageSituation& stage = {}) {
  return ConsoleNextPressText(state, stage).phase;
}

// The progress line the stage shows for the current batch ("准备抽取【…" / "已抽取【…"); empty before
// the first batch is known; once everything is drawn, that it is.
QString ConsoleProgressText(const DrawState& state);

// "共 986 人" in the pool.
QString ConsolePoolText(const DrawState& state);

// The winners so far, newest first: "一等奖  0012  选手12  （奖品：手机）". At most `limit` rows.
std::vector<QString> ConsoleWinnerRows(const std::vector<ResultLine>& log, std::size_t limit = 1000);

}  // namespace kavrel
