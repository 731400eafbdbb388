#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/descriptor_limit.h"

namespace kavrel {

namespace {

// Enough for a message box's backing store and whatever the display connection asks for meanwhile.
constexpr int kReserve = 16;
std::vector<int> reserve;
int freedScopes = 0;

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

void HoldDescriptorReserve() {
  while (static_cast<int>(reserve.size()) < kReserve) {
    const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    reserve.push_back(fd);
  }
}

DescriptorReserveFreed::DescriptorReserveFreed() {
  if (freedScopes++ > 0) return;
  for (const int fd : reserve) close(fd);
  reserve.clear();
}

DescriptorReserveFreed::~DescriptorReserveFreed() {
  if (--freedScopes == 0) HoldDescriptorReserve();
}

}  // namespace kavrel
