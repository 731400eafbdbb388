#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/draw_state.h"
#include "engine/ports/stage_hooks.h"
#include "engine/random_source.h"

namespace kavrel {

// What a tick's pick depends on besides the state.
struct PickRules {
  bool repeatAllowed = false;
  bool textMode = true;
  bool maskOn = false;
  int maskFrom = 4;
  int maskTo = 7;
};

// The entry with bytes maskFrom..maskTo (1-based) replaced by "*"; unchanged when it is shorter
// than maskTo bytes or when the range is not 1 <= from <= to.
std::string MaskText(const std::string& entry, int maskFrom, int maskTo);

// The range of pool positions the next pick draws from: the award group when one is active, else
// the whole pool. Valid only when 1 <= first <= last <= pool size.
struct PickRange {
  int first = 1;
  int last = 0;
  bool Valid(std::size_t poolSize) const {
    return first >= 1 && first <= last && static_cast<std::size_t>(last) <= poolSize;
  }
  int Count() const { return last - first + 1; }
};
PickRange CurrentPickRange(const DrawState& state);

// The batch can be filled: its size is at least 1, the range lies inside the pool and holds at
// least batchSize positions (the same rule with or without repeats).
bool CanFillBatch(const DrawState& state);

// The positions of one pick: batchSize positions of `range`, in pick order, no position twice unless
// repeats are allowed. The range must hold batchSize positions when repeats are forbidden
// (CanFillBatch). The stage's show, a batch's committed pick and the replay of a recorded batch all
// come through here, so a replay from the same generator gives the same winners.
void DrawPositions(RangeRandom& random, const PickRange& range, int batchSize, bool repeatAllowed,
                   std::vector<int>& positions);

// What the room sees of state.batchWinners: the candidates' texts (masked in text mode when masking
// is on), handed to the stage in one piece. Unmasked texts are the pool's own entries; the buffers
// are kept from one tick to the next, so once warm a tick allocates nothing for them.
class CandidateShow {
 public:
  explicit CandidateShow(StageHooks& stage) : stage_(stage) {}
  void Show(const DrawState& state, const PickRules& rules);

 private:
  StageHooks& stage_;
  std::vector<std::string> masked_;  // the masked texts, when masking shows
  std::vector<std::string_view> texts_;
};

// One timer tick of the rolling show: re-seeds, picks a complete fresh batchWinners and shows it.
// The show decides nothing: the stop replaces it with the batch's committed pick. Returns false,
// picking and showing nothing, when the batch cannot be filled any more (the pool or the group
// changed since the roll started); the caller stops the roll. The pool is never copied.
bool PickBatch(DrawState& state, const PickRules& rules, RandomSource& random, CandidateShow& show);

// Removes the batch's winners from the pool (unless repeats are allowed) in one pass, keeping the
// order of the others, and empties batchWinners.
void RemoveWinners(DrawState& state, bool repeatAllowed);

// Appends an entry at the end of the pool (undo, abandon with re-entry).
void ReturnToPool(DrawState& state, const std::string& entry);

}  // namespace kavrel
