#pragma once

namespace kavrel {

// A local date and time as the result files and history folders write it. It lives with the files
// that carry it; the clock port hands it out.
struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

}  // namespace kavrel
