#include <sys/resource.h>

#include <algorithm>

#include "platform/descriptor_limit.h"

namespace kavrel {

namespace {

int Clamp(rlim_t value) {
  if (value == RLIM_INFINITY) return 1 << 30;
  return static_cast<int>(std::min<rlim_t>(value, 1 << 30));
}

}  // namespace

int RaiseDescriptorLimit(int wanted) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  const auto target = std::min<rlim_t>(limit.rlim_max, static_cast<rlim_t>(std::max(wanted, 0)));
  if (target > limit.rlim_cur) {
    rlimit raised = limit;
    raised.rlim_cur = target;
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) return Clamp(target);
  }
  return Clamp(limit.rlim_cur);
}

int DescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  return Clamp(limit.rlim_cur);
}

}  // namespace kavrel
