#include "platform/system_clock.h"

#include <QDateTime>
#include <chrono>

namespace kavrel {

std::uint32_t SystemClock::MillisecondsSinceStart() const {
  // steady_clock counts from an unspecified start (boot time on Linux); only differences and
  // the low bits matter to the random seed, so truncation to 32 bits is intended.
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

LocalDateTime SystemClock::Now() const {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return LocalDateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

}  // namespace kavrel
