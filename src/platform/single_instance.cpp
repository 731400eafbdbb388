#include "platform/single_instance.h"

#include "storage/codec.h"
#include "storage/program_dir.h"

namespace kavrel {

SingleInstance::SingleInstance(const std::filesystem::path& lockFile)
    : lock_(std::make_unique<QLockFile>(ToQt(GbPath(lockFile)))) {
  // Only a dead owner makes a lock stale: an event runs for hours, so age says nothing.
  lock_->setStaleLockTime(0);
}

bool SingleInstance::Acquire() {
  return lock_->tryLock(0);
}

}  // namespace kavrel
