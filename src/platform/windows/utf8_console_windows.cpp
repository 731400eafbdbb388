#include <windows.h>

#include "platform/utf8_console.h"

namespace kavrel {

Utf8Console::Utf8Console() : previousPage_(GetConsoleOutputCP()) {
  // Without a console (output redirected by a program with none) there is no page to change.
  if (previousPage_ != 0 && previousPage_ != CP_UTF8) SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
  if (previousPage_ != 0 && previousPage_ != CP_UTF8) SetConsoleOutputCP(previousPage_);
}

}  // namespace kavrel
