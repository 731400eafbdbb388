#include "platform/kept_picture.h"

#include "engine/ports/prompter.h"
#include "storage/codec.h"
#include "storage/data_pictures.h"
#include "storage/program_dir.h"

namespace kavrel {

std::optional<std::string> KeepChosenPicture(const ProgramDir& dir, const std::string& gbPicked, Prompter& prompter) {
  const KeptPicture kept = KeepPictureInDataFolder(dir, gbPicked);
  if (kept.ok) return kept.stored;
  prompter.Message(Gb("无法把这张图片复制到数据文件夹的 pictures 文件夹中（请检查图片能否打开、磁盘空间和写入权限），"
                      "图片没有更改：\n") +
                       gbPicked,
                   Gb("错误提示："), Buttons::Ok, Icon::Error);
  return std::nullopt;
}

std::optional<std::string> PickPictureIntoDataFolder(const ProgramDir& dir, Prompter& prompter,
                                                     const std::string& gbTitle, const std::string& gbFilter) {
  const std::optional<std::string> picked = prompter.PickOpenFile(gbTitle, gbFilter);
  if (!picked) return std::nullopt;
  return KeepChosenPicture(dir, *picked, prompter);
}

}  // namespace kavrel
