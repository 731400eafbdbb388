#pragma once

#include "engine/ports/clock.h"

namespace kavrel {

// Test double of Clock: time stands still until a test moves it.
class FakeClock : public Clock {
 public:
  std::uint32_t ms = 1000;
  LocalDateTime now{2026, 12, 9, 20, 0, 0};

  std::uint32_t MillisecondsSinceStart() const override { return ms; }
  LocalDateTime Now() const override { return now; }
};

}  // namespace kavrel
