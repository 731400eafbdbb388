#pragma once

// What the operator console shows, computed from the draw state and the result file alone, so that it
// reads the same whichever window is looking and can be checked without one.

#include <QString>
#include <vector>

#include "engine/draw_state.h"
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
};
std::vector<ConsolePlanRow> ConsolePlanRows(const DrawState& state, bool forwardOrder);

// Where the draw stands, in the operator's words, with what the next press of space does.
QString ConsolePhaseText(const DrawState& state);

// The progress line the stage shows for the current batch ("准备抽取【…" / "已抽取【…"); empty before
// the first batch is known.
QString ConsoleProgressText(const DrawState& state);

// "共 986 人" in the pool.
QString ConsolePoolText(const DrawState& state);

// The winners so far, newest first: "一等奖  0012  选手12  （奖品：手机）". At most `limit` rows.
std::vector<QString> ConsoleWinnerRows(const std::vector<ResultLine>& log, std::size_t limit = 1000);

}  // namespace kavrel
