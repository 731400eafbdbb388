// Resource paths of the built-in pictures (drawn by assets/generator, compiled into kavrel_assets) and the
// place of the help manual inside the program folder.
#pragma once

#include <array>

namespace kavrel::assets {

// Stage: the default background, drawn for wide screens (1920 x 1080) and for 4:3 screens (1440 x 1080); show
// the one whose aspect is nearer the screen's, stretched to it. Then the faces of the start and stop buttons (129 x 50;
// the caption is the button's text, so both buttons share the faces; @2x files exist for high-density screens and are
// picked up by Qt automatically).
inline constexpr char kStageBackground[] = ":/pictures/stage_background.jpg";
inline constexpr char kStageBackground4x3[] = ":/pictures/stage_background_4x3.jpg";
inline constexpr char kButtonNormal[] = ":/pictures/button_normal.png";
inline constexpr char kButtonHover[] = ":/pictures/button_hover.png";
inline constexpr char kButtonPressed[] = ":/pictures/button_pressed.png";
inline constexpr char kButtonDisabled[] = ":/pictures/button_disabled.png";

// Help window: the 796 x 520 quick guide.
inline constexpr char kHelpGuide[] = ":/pictures/help_guide.png";

// Result window (1920 x 1080, stretched to the screen): the window's own background behind the winner and
// non-winner lists, the winner show (dark middle for yellow text), the latest award (light middle for blue text).
inline constexpr char kResultBackground[] = ":/pictures/result_background.jpg";
inline constexpr char kWinnerShowBackground[] = ":/pictures/winner_show_background.jpg";
inline constexpr char kLatestAwardBackground[] = ":/pictures/latest_award_background.jpg";

// Lock screen (1920 x 1080, stretched): a pale light-blue winter scene, light behind the red lock message.
inline constexpr char kLockBackground[] = ":/pictures/lock_background.jpg";

// Application icon in every size a desktop asks for; add them all to one QIcon.
inline constexpr std::array<const char*, 7> kAppIcons = {
    ":/pictures/app_icon_16.png",  ":/pictures/app_icon_24.png", ":/pictures/app_icon_32.png",
    ":/pictures/app_icon_48.png",  ":/pictures/app_icon_64.png", ":/pictures/app_icon_128.png",
    ":/pictures/app_icon_256.png",
};

// The camera's shutter: a 0.23 s WAVE (16-bit stereo, 11,025 Hz) made by assets/sounds/shutter.py. The sound
// port plays files, so it is written out to a temporary file before it is played.
inline constexpr char kShutterSound[] = ":/sounds/shutter.wav";

// The manual is copied next to the executable at build time: ProgramDir + "/manual/index.html".
inline constexpr char kManualIndex[] = "manual/index.html";

}  // namespace kavrel::assets
