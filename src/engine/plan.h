#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/draw_state.h"
#include "storage/award_store.h"
#include "storage/plan_line.h"

namespace kavrel {

// The plan position the next batch is taken from: the start-from choice when one is active and
// still inside the plan, else the first line (forward order) or the last. 0 when the plan is empty.
std::size_t NextPlanPosition(const DrawState& state, bool forwardOrder);

// currentLine = the line at NextPlanPosition; unchanged when the plan is empty.
void SelectCurrentLine(DrawState& state, bool forwardOrder);

// Removes that line from the plan, then ends any start-from choice and award group, so each
// applies to exactly one batch.
void ConsumeCurrentLine(DrawState& state, bool forwardOrder);

// The award group of the next recorded batch: rows `first` to `second` of the pool (1-based); nullopt
// ends any group.
void SetAwardGroup(DrawState& state, std::optional<std::pair<int, int>> rows);

// Where the award of currentLine stands before its batch is drawn, read from the plan alone: its
// batches still in the plan (this one included) against its batch count and quota. A batch queued by a
// correction, an undo or a resume in between then changes nothing of what the next batch of the award
// announces. Lines edited out of step (more batches or winners left than the award has) give the
// counters of an award's first batch.
struct AwardProgress {
  int batchNo = 1;
  int drawnInAward = 0;
};
AwardProgress AwardProgressFromPlan(const DrawState& state);

// "准备抽取【…】，本轮抽5名（第1轮/总2轮，已抽0名/共10名)" or, when done, "已抽取【…".
std::string StatusText(const DrawState& state, bool done);

// The drawer caption of currentLine: the caption of the first entry whose key is award name -
// batch count - batch number; empty when none matches (an award edited since keeps no caption).
std::string DrawerCaptionFor(const PlanLine& currentLine, const std::vector<DrawerCaption>& captions);

}  // namespace kavrel
