#pragma once

namespace kavrel {

// The command-line programs print UTF-8. A Windows console shows what it is given in its own code
// page (936 on a Chinese system), so names came out garbled there; this switches the console to UTF-8
// while the object lives and gives the old page back after, as the console is the shell's that
// started the program. Nothing to do on Linux, whose terminals take UTF-8
// (utf8_console_posix.cpp; windows/utf8_console_windows.cpp there). Output into a file or a pipe is
// the same bytes either way.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  unsigned previousPage_ = 0;
};

}  // namespace kavrel
