#pragma once

#include <cstdint>

#include "engine/ports/clock.h"

namespace kavrel {

// The range rule every position of the pick goes through: a value in [min(lo, hi), max(lo, hi)],
// negative bounds counting as 0, uniform over the whole range. Enough 15-bit values (0..32767, from
// `next15`) are joined to cover the range and the biased tail is rejected, so large pools are
// reachable to their last position and low positions are not favoured. A range of one value
// consumes nothing.
template <class Next15>
std::int64_t UniformInRange(Next15&& next15, std::int64_t lo, std::int64_t hi) {
  lo = lo < 0 ? 0 : lo;
  hi = hi < 0 ? 0 : hi;
  const std::int64_t a = lo < hi ? lo : hi;
  const std::int64_t b = lo < hi ? hi : lo;
  if (a == b) return a;
  const std::uint64_t n = static_cast<std::uint64_t>(b - a) + 1;
  // Join k 15-bit values into a number below 2^(15k) >= n; 4 values (60 bits) cover any int64 range
  // that matters here (bounds are pool positions).
  int k = 1;
  std::uint64_t span = 1u << 15;
  while (span < n && k < 4) {
    span <<= 15;
    ++k;
  }
  const std::uint64_t limit = span - span % n;  // largest multiple of n not above span
  for (;;) {
    std::uint64_t r = 0;
    for (int i = 0; i < k; ++i) r = (r << 15) | static_cast<std::uint64_t>(next15());
    if (r < limit) return a + static_cast<std::int64_t>(r % n);
  }
}

// Where the pick takes its positions from: the stage's fast generator for the rolling show, or a
// batch's committed generator for the winners (engine/committed_random.h).
class RangeRandom {
 public:
  virtual ~RangeRandom() = default;
  virtual std::int64_t RandomInRange(std::int64_t lo, std::int64_t hi) = 0;
};

// The random source of the rolling show and of the list shuffle: a 32-bit linear congruential
// generator (state = state * 214013 + 2531011, value = (state >> 16) & 0x7FFF) re-seeded from the
// clock. It is predictable and never decides a winner of a new draw; older receipts recorded its
// state, and their replay runs it again.
class RandomSource final : public RangeRandom {
 public:
  explicit RandomSource(const Clock& clock) : clock_(clock) {}
  // A generator that is only ever seeded by hand (a replay of a recorded pick); SeedFromClock then
  // takes 0 as the time.
  explicit RandomSource(std::uint32_t seed);

  void Seed(std::uint32_t seed) { state_ = seed; }
  // The state now; read right after SeedFromClock it is all a replay needs to repeat the tick's pick.
  std::uint32_t State() const { return state_; }

  // seed = ms since system start + counter; the counter then grows by ((ms + counter) & 0xFF) + 100,
  // so two seeds taken within the same millisecond still differ.
  void SeedFromClock();

  // The next 15-bit value, 0..32767.
  int Next15() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

  std::int64_t RandomInRange(std::int64_t lo, std::int64_t hi) override {
    return UniformInRange([this] { return Next15(); }, lo, hi);
  }

 private:
  const Clock& clock_;
  std::uint32_t state_ = 0;
  std::uint32_t counter_ = 0;
};

}  // namespace kavrel
