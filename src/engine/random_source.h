#pragma once

#include <cstdint>

#include "engine/ports/clock.h"

namespace kavrel {

// The random source of the pick and of the list shuffle: a 32-bit linear congruential generator
// (state = state * 214013 + 2531011, value = (state >> 16) & 0x7FFF) re-seeded from the clock.
class RandomSource {
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

  // A value in [min(lo, hi), max(lo, hi)], negative bounds counting as 0, uniform over the whole
  // range: enough 15-bit values are joined to cover it and the biased tail is rejected, so large
  // pools are reachable to their last position and low positions are not favoured. A range of
  // one value consumes nothing.
  std::int64_t RandomInRange(std::int64_t lo, std::int64_t hi);

 private:
  const Clock& clock_;
  std::uint32_t state_ = 0;
  std::uint32_t counter_ = 0;
};

}  // namespace kavrel
