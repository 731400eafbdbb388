#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine/ports/prompter.h"

namespace kavrel {

// What the corrections made during an event (abandon with redraw, supplementary draw) have in
// common: extra batches queued as the next batches of the plan, from a quota and a batch count the
// operator typed. Texts are GB18030 bytes.

// One plan line a correction queued.
struct QueuedBatch {
  int batchNumber = 0;           // field 4 of the line
  long long size = 0;            // field 5
  std::size_t planPosition = 0;  // 1-based position in the plan once all lines were queued
  std::string line;              // the line as it stands in the plan
};

// The quota and batch count typed for queued batches. Empty boxes are refused with
// "补抽名额或批次不能为空"; a quota or count below 1, or more batches than winners, with the number
// check messages of the award edit dialog. Returns the batch sizes (each at least 1, together the
// quota, larger ones first), or nullopt after the operator was told why.
std::optional<std::vector<long long>> CheckQueuedNumbers(const std::string& quotaText, const std::string& batchText,
                                                         Prompter& prompter);

// Puts `lines` (in the order they were made) into the plan as the next batches: with forwardOrder
// each one goes to the front, so the last made stands first; otherwise each is appended, and the
// plan, consumed from its end, draws the last made first. A pending start-from choice keeps pointing
// at the line it was made for. Sets planChanged. Returns the lines with their final positions.
std::vector<QueuedBatch> QueueBatches(DrawState& state, bool forwardOrder, std::vector<QueuedBatch> lines);

// A plan line of a queued batch: every field followed by ",", as the plan file has them, so a line
// with no prize picture still has its seven fields and a resume record holding it is sound.
std::string QueuedPlanLine(const std::string& awardName, long long quota, long long batchCount, int batchNumber,
                           long long size, const std::string& prizeName, const std::string& prizePicture);

// The corrections change the plan or the pool: while candidates roll they would change the batch
// being picked. Says so and returns false while rolling; `what` names the command ("弃奖", UTF-8).
bool CorrectionMayOpen(const DrawState& state, Prompter& prompter, const char* whatUtf8);

// A prize name goes into the plan (split at ",") and the result files (split at "-"); a picture
// path into the plan only. Refuses the text with a message naming the character; true when it is fine.
bool AcceptPrizeName(const std::string& prizeName, Prompter& prompter);
bool AcceptPrizePicture(const std::string& path, Prompter& prompter);

}  // namespace kavrel
