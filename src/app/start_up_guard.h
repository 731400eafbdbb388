#pragma once

#include <functional>

namespace kavrel {

// Runs the program (its start-up and event loop). A file-system error that escapes it, such as a
// program or data folder that cannot even be checked, is shown in a message box that says what went
// wrong and where, and the program ends with status 1 instead of aborting without a word.
int RunShowingFileErrors(const std::function<int()>& run);

}  // namespace kavrel
