#include "engine/random_source.h"

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

}  // namespace kavrel
