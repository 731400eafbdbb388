#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "storage/program_dir.h"

namespace kavrel::testing {

// A fresh program folder with config/, optionally holding one of the golden result files.
class ResultFolder {
 public:
  ResultFolder() : dir_(std::filesystem::path(tmp_.path().toStdString())) {
    std::filesystem::create_directories(dir_.Path(ProgramDir::kConfigDir));
  }

  const ProgramDir& dir() const { return dir_; }

  void UseGolden(const std::string& name) const {
    std::filesystem::copy_file(std::filesystem::path(KAVREL_TEST_DATA_DIR) / "results" / name,
                               dir_.Path(ProgramDir::kResultDat), std::filesystem::copy_options::overwrite_existing);
  }

  void WriteResult(const std::string& bytes) const {
    std::ofstream(dir_.Path(ProgramDir::kResultDat), std::ios::binary) << bytes;
  }

 private:
  QTemporaryDir tmp_;
  ProgramDir dir_;
};

}  // namespace kavrel::testing
