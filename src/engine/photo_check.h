#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavrel {

// Picture mode's start check: when the photo of the pool's first entry is missing (by the list's
// own path rule, PictureFilePath), the message that names the missing photos (the first ten, and
// how many in all) and says the list stays as it is; nullopt when that photo exists. GB18030.
std::optional<std::string> MissingPhotoMessage(const std::vector<std::string>& pool, const std::string& pictureFolder);

}  // namespace kavrel
