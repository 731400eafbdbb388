#pragma once

#include <string>

namespace kavrel {

// Opens a document (the help manual) with the desktop's default program.
// path is GB18030 bytes; false when the file is missing or no program would open it.
bool OpenWithShell(const std::string& path);

}  // namespace kavrel
