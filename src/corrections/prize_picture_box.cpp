#include "corrections/prize_picture_box.h"

#include "engine/ports/prompter.h"
#include "storage/codec.h"

namespace kavrel {

std::optional<std::string> PickPrizePicture(Prompter& prompter) {
  return prompter.PickOpenFile(Gb("选择奖品图片"),
                               Gb("图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico)|*.png;*.jpg;*.jpeg;*.bmp;*.ico"));
}

}  // namespace kavrel
