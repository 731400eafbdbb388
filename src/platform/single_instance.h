#pragma once

#include <QLockFile>
#include <filesystem>
#include <memory>

namespace kavrel {

// One program per data folder: two stages writing one result file would corrupt it. The lock is a
// file in the data folder that holds the owner's process id; a lock left behind by a program that
// died (a crash, a power cut) is taken over, never reported.
class SingleInstance {
 public:
  explicit SingleInstance(const std::filesystem::path& lockFile);

  // True when this program now owns the folder; false while another live program holds it.
  bool Acquire();

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace kavrel
