#include "engine/pick.h"

#include <algorithm>
#include <vector>

namespace kavrel {

namespace {
void MaskInPlace(std::string& text, int maskFrom, int maskTo) {
  if (maskFrom < 1 || maskFrom > maskTo || text.size() < static_cast<std::size_t>(maskTo)) return;
  std::fill(text.begin() + (maskFrom - 1), text.begin() + maskTo, '*');
}
}  // namespace

std::string MaskText(const std::string& entry, int maskFrom, int maskTo) {
  std::string out = entry;
  MaskInPlace(out, maskFrom, maskTo);
  return out;
}

PickRange CurrentPickRange(const DrawState& state) {
  if (state.groupActive) return {state.groupStart, state.groupEnd};
  return {1, static_cast<int>(std::min<std::size_t>(state.pool.size(), 0x7FFFFFFF))};
}

bool CanFillBatch(const DrawState& state) {
  if (state.batchSize < 1) return false;
  const PickRange range = CurrentPickRange(state);
  return range.Valid(state.pool.size()) && state.batchSize <= range.Count();
}

void DrawPositions(RangeRandom& random, const PickRange& range, int batchSize, bool repeatAllowed,
                   std::vector<int>& positions) {
  positions.clear();
  positions.reserve(static_cast<std::size_t>(std::max(batchSize, 0)));
  while (static_cast<int>(positions.size()) < batchSize) {
    const int p = static_cast<int>(random.RandomInRange(range.first, range.last));
    if (!repeatAllowed && std::find(positions.begin(), positions.end(), p) != positions.end()) continue;
    positions.push_back(p);
  }
}

void CandidateShow::Show(const DrawState& state, const PickRules& rules) {
  const auto& winners = state.batchWinners;
#if defined(__GNUC__)
  // The entries of a large pool are scattered in memory: touching them only after all positions are
  // known lets their cache misses overlap.
  for (int p : winners) __builtin_prefetch(&state.pool[static_cast<std::size_t>(p) - 1]);
#endif
  const bool maskText = rules.textMode && rules.maskOn;
  texts_.clear();
  if (maskText) masked_.resize(winners.size());
  for (int p : winners) {
    const std::string& entry = state.pool[static_cast<std::size_t>(p) - 1];
    if (!maskText) {
      texts_.push_back(entry);
      continue;
    }
    std::string& text = masked_[texts_.size()];
    text.assign(entry);  // reuses the text's buffer
    MaskInPlace(text, rules.maskFrom, rules.maskTo);
    texts_.push_back(text);
  }
  stage_.ShowCandidates(texts_);
}

bool PickBatch(DrawState& state, const PickRules& rules, RandomSource& random, CandidateShow& show) {
  // Checked on every tick, not only at start: a mode switch or a group set while rolling must not
  // make the loop below run forever or read outside the pool.
  if (!CanFillBatch(state)) return false;
  random.SeedFromClock();
  DrawPositions(random, CurrentPickRange(state), state.batchSize, rules.repeatAllowed, state.batchWinners);
  show.Show(state, rules);
  return true;
}

void RemoveWinners(DrawState& state, bool repeatAllowed) {
  if (!repeatAllowed && !state.batchWinners.empty()) {
    std::vector<char> gone(state.pool.size(), 0);
    for (int p : state.batchWinners)
      if (p >= 1 && static_cast<std::size_t>(p) <= state.pool.size()) gone[static_cast<std::size_t>(p) - 1] = 1;
    std::size_t out = 0;
    for (std::size_t i = 0; i < state.pool.size(); ++i)
      if (!gone[i]) {
        if (out != i) state.pool[out] = std::move(state.pool[i]);
        ++out;
      }
    state.pool.resize(out);
  }
  state.batchWinners.clear();
}

void ReturnToPool(DrawState& state, const std::string& entry) {
  state.pool.push_back(entry);
}

}  // namespace kavrel
