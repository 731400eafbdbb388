#include "engine/random_source.h"

#include <algorithm>

namespace kavrel {

namespace {
class NoClock : public Clock {
 public:
  std::uint32_t MillisecondsSinceStart() const override { return 0; }
  LocalDateTime Now() const override { return {}; }
};
const NoClock kNoClock;
}  // namespace

RandomSource::RandomSource(std::uint32_t seed) : clock_(kNoClock), state_(seed) {}

void RandomSource::SeedFromClock() {
  const std::uint32_t ms = clock_.MillisecondsSinceStart();
  const std::uint32_t before = counter_;
  state_ = ms + before;
  counter_ = before + ((ms + before) & 0xFFu) + 100u;
}

std::int64_t RandomSource::RandomInRange(std::int64_t lo, std::int64_t hi) {
  lo = std::max<std::int64_t>(lo, 0);
  hi = std::max<std::int64_t>(hi, 0);
  const std::int64_t a = std::min(lo, hi);
  const std::int64_t b = std::max(lo, hi);
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
    for (int i = 0; i < k; ++i) r = (r << 15) | static_cast<std::uint64_t>(Next15());
    if (r < limit) return a + static_cast<std::int64_t>(r % n);
  }
}

}  // namespace kavrel
