#include "corrections/prize_picture_box.h"

#include "platform/kept_picture.h"
#include "storage/codec.h"
#include "storage/data_pictures.h"

namespace kavrel {

std::optional<std::string> PickPrizePicture(const ProgramDir& dir, Prompter& prompter) {
  return PickPictureIntoDataFolder(dir, prompter, Gb("选择奖品图片"),
                                   Gb("图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico)|*.png;*.jpg;*.jpeg;*.bmp;*.ico"));
}

std::string PrizePictureFile(const ProgramDir& dir, const std::string& gbStored) {
  return ResolveStoredPicture(dir, gbStored);
}

}  // namespace kavrel
