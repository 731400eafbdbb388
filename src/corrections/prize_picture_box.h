#pragma once

#include <optional>
#include <string>

namespace kavrel {

class Prompter;

// The open-file dialog of the prize picture buttons (图形按钮1), with the picture filter they all
// share. nullopt when the operator cancels.
std::optional<std::string> PickPrizePicture(Prompter& prompter);

}  // namespace kavrel
