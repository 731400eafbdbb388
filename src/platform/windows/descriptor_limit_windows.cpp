#include "platform/descriptor_limit.h"

namespace kavrel {

// Sockets on Windows are kernel handles without a per-process cap like POSIX's descriptor limit;
// the C runtime's own file table is not what the server or the draw use.
int RaiseDescriptorLimit(int) {
  return 0;
}

int DescriptorLimit() {
  return 0;
}

// Nothing to hold back where there is no such limit.
void HoldDescriptorReserve() {}
DescriptorReserveFreed::DescriptorReserveFreed() = default;
DescriptorReserveFreed::~DescriptorReserveFreed() = default;

}  // namespace kavrel
