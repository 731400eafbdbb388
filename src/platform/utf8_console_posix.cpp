#include "platform/utf8_console.h"

namespace kavrel {

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

}  // namespace kavrel
