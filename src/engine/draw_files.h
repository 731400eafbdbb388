#pragma once

#include <filesystem>
#include <vector>

#include "storage/result_store.h"

namespace kavrel {

class ProgramDir;

// The file steps whose order decides whether a crash or a failing disk can lose winners: the
// resume record and the move of the results into history. They go through this one seam so that
// a test can make any of them fail, or stop there as a crash would.
class DrawFiles {
 public:
  virtual ~DrawFiles() = default;
  virtual bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record);
  virtual bool DeleteExitRecord(const ProgramDir& dir);
  virtual bool MoveToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files,
                             const LocalDateTime& when);

  // The files as they are on disk.
  static DrawFiles& Real();
};

}  // namespace kavrel
