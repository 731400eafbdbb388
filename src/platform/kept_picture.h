#pragma once

#include <optional>
#include <string>

namespace kavrel {

class ProgramDir;
class Prompter;

// A picture the operator chose (a prize picture, the stage background) kept in the data folder, so
// that it travels with the folder (see storage/data_pictures.h). Returns the path to store; nullopt
// after telling the operator when the picture could not be copied in (nothing is stored then).
std::optional<std::string> KeepChosenPicture(const ProgramDir& dir, const std::string& gbPicked, Prompter& prompter);

// The open-file dialog for a picture, then KeepChosenPicture. nullopt when cancelled or not kept.
std::optional<std::string> PickPictureIntoDataFolder(const ProgramDir& dir, Prompter& prompter,
                                                     const std::string& gbTitle, const std::string& gbFilter);

}  // namespace kavrel
