#pragma once

#include <string>

namespace kavrel {

class Settings;

// The title and option controls of the award settings window, as stored in section "标题设置".
// Texts are GB18030 bytes; the three number boxes keep their text as typed, since the parts of
// the program that read them interpret it.
struct TitleOptions {
  std::string mainTitle;
  bool mainTitleCentred = true;
  std::string subTitle;
  bool subTitleCentred = true;
  std::string marqueeText;
  int drawOrderIndex = 0;  // 0 = from the first award down, 1 = from the last award up
  bool noRepeat = true;
  bool presentOnly = false;
  std::string tickInterval;
  bool maskOn = false;
  std::string maskFrom;
  std::string maskTo;
  bool hideMainTitle = false;
  bool hideSubTitle = false;
  bool hideAwardName = false;
  bool hidePrizeName = false;
  bool hidePrizePicture = false;
  bool hideDrawer = false;
  bool hideStatus = false;
  bool hideMarquee = false;
  bool hideStartButton = false;
  bool hideStopButton = false;

  bool operator==(const TitleOptions&) const = default;
};

// The section's name and the draw-order key, which the window also writes on its own.
std::string TitleSection();
std::string DrawOrderKey();

TitleOptions LoadTitleOptions(const Settings& settings);

// Writes every key of the window (all but "中奖名额"); false when any write failed.
bool SaveTitleOptions(Settings& settings, const TitleOptions& options);

}  // namespace kavrel
