// The festive palette shared by every built-in picture, so the stage, the buttons, the help picture and the
// result screens look like one family.
#pragma once

#include <QColor>

namespace gen {

// Deep festive red rising to warm gold.
inline const QColor kRedDeep{0x8E, 0x0A, 0x16};
inline const QColor kRed{0xC8, 0x10, 0x2E};
inline const QColor kRedDark{0x5A, 0x05, 0x0E};
inline const QColor kRedNight{0x3A, 0x02, 0x08};
inline const QColor kGold{0xF2, 0xB6, 0x32};
inline const QColor kGoldLight{0xFF, 0xE0, 0x8A};
inline const QColor kGoldPale{0xFF, 0xF3, 0xC4};
inline const QColor kGoldDeep{0xC8, 0x86, 0x1A};
inline const QColor kCream{0xFF, 0xF8, 0xE6};

// Text colours used on the pictures themselves.
inline const QColor kTitleYellow{0xFF, 0xE6, 0x4D};
inline const QColor kInk{0x4A, 0x12, 0x10};

}  // namespace gen
