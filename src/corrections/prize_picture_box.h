#pragma once

#include <optional>
#include <string>

namespace kavrel {

class ProgramDir;
class Prompter;

// The open-file dialog of the prize picture buttons (图形按钮1), with the picture filter they all
// share. The picture is kept in the data folder; returns the path to store, nullopt when the
// operator cancels or the picture could not be kept (told).
std::optional<std::string> PickPrizePicture(const ProgramDir& dir, Prompter& prompter);

// The full path of a stored prize picture, for a preview (a path relative to the data folder, or a
// full path stored before pictures were kept in the folder).
std::string PrizePictureFile(const ProgramDir& dir, const std::string& gbStored);

}  // namespace kavrel
