#include "engine/photo_check.h"

#include "engine/draw_texts.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/text_file.h"

namespace kavrel {

std::optional<std::string> MissingPhotoMessage(const std::vector<std::string>& pool, const std::string& pictureFolder) {
  auto present = [&](const std::string& entry) { return FileExists(PictureFilePath(pictureFolder, entry)); };
  if (pool.empty() || present(pool.front())) return std::nullopt;
  // One missing photo must not cost the whole list: name what is missing and keep the list as it is.
  constexpr int kNamed = 10;
  std::string names;
  int missing = 0;
  for (const std::string& entry : pool) {
    if (present(entry)) continue;
    if (++missing <= kNamed) names += (names.empty() ? "" : Gb("、")) + entry + ".jpg";
  }
  std::string text = Gb(texts::kNoPicture) + Gb("\n\n照片文件夹中缺少：") + names;
  if (missing > kNamed) text += Gb("等 ") + std::to_string(missing) + Gb(" 张照片");
  text += Gb("\n\n抽奖名单保持不变，补齐照片后再按开始。");
  return text;
}

}  // namespace kavrel
