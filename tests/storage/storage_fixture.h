#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "storage/codec.h"
#include "storage/gb18030.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"

namespace kavrel::test {

// A stored path as this system writes it: the separators after the folder are the native ones (a
// backslash on Windows).
inline std::string Native(std::string path) {
  for (char& c : path)
    if (c == '/') c = static_cast<char>(std::filesystem::path::preferred_separator);
  return path;
}

// For tests whose texts hold characters beyond GBK: a system without the GB18030 code page (wine)
// cannot keep them, which is no fault of the program.
#define SKIP_WITHOUT_FULL_GB18030()              \
  if (!::kavrel::detail::Gb18030CoversUnicode()) \
  GTEST_SKIP() << "this system converts GB18030 only as far as GBK (no code page 54936)"

// A fresh program folder with config/ for every test.
class StorageTest : public ::testing::Test {
 protected:
  StorageTest() : dir_(std::filesystem::path(temp_.path().toStdString())) { dir_.EnsureConfigDir(); }

  const ProgramDir& Dir() const { return dir_; }
  std::string Read(std::string_view suffix) const { return ReadTextFile(dir_.Path(suffix)); }
  void Put(std::string_view suffix, const std::string& bytes) const {
    ASSERT_TRUE(WriteTextFile(dir_.Path(suffix), bytes));
  }

  static std::string Golden(const std::string& name) {
    return ReadTextFile(std::filesystem::path(KAVREL_TEST_DATA_DIR) / "storage" / name);
  }

 private:
  QTemporaryDir temp_;
  ProgramDir dir_;
};

}  // namespace kavrel::test
