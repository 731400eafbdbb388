#pragma once

#include "engine/ports/clock.h"

namespace kavrel {

// The real clock: a monotonic millisecond count (wraps like a 32-bit tick count) and the
// local date and time.
class SystemClock : public Clock {
 public:
  std::uint32_t MillisecondsSinceStart() const override;
  LocalDateTime Now() const override;
};

}  // namespace kavrel
