#pragma once

#include <string>

namespace kavrel {

// Text mode or picture mode, owned by the stage (its mode menu items and mode check keep it).
struct DrawMode {
  bool textMode = true;
  std::string pictureFolder;  // GB18030 full path without trailing backslash ("图片前缀")
  bool pictureRatio43 = true;

  bool operator==(const DrawMode&) const = default;
};

}  // namespace kavrel
