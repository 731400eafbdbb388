#pragma once

#include <cstdint>

#include "storage/local_date_time.h"

namespace kavrel {

// Time as the draw sees it: a millisecond tick count for seeding the generator and the local
// date and time for the result log. Tests use a fake to make picks and timestamps reproducible.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t MillisecondsSinceStart() const = 0;
  virtual LocalDateTime Now() const = 0;
};

}  // namespace kavrel
