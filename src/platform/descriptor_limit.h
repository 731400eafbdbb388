#pragma once

namespace kavrel {

// How many files and connections this process may hold open at once. A desktop session often
// starts programs with a soft limit of 1,024, far below what the system allows, and a hall full of
// phones would take every one of them: the display connection, a sound or a result file could then
// not be opened. Raised once at start, as far as the system lets an unprivileged process (never past
// `wanted`); the phones' server sizes its connection cap from what is in force.

// Raises the soft limit towards the hard one; returns the limit in force afterwards, 0 where the
// system has no such per-process limit worth counting (Windows).
int RaiseDescriptorLimit(int wanted = 65536);
// The limit in force now (0: none that matters).
int DescriptorLimit();

// A few descriptors held back for the display. When every other one is taken (a write just failed
// for want of one), a window shown then could not get the shared memory it is painted through: the
// error box would stay blank and take no key. Showing a message frees the reserve for as long as the
// box is up (a DescriptorReserveFreed in scope) and takes it back afterwards, as far as it can.
void HoldDescriptorReserve();
class DescriptorReserveFreed {
 public:
  DescriptorReserveFreed();
  ~DescriptorReserveFreed();
  DescriptorReserveFreed(const DescriptorReserveFreed&) = delete;
  DescriptorReserveFreed& operator=(const DescriptorReserveFreed&) = delete;
};

}  // namespace kavrel
