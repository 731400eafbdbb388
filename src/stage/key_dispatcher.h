#pragma once

#include "stage/stage_commands.h"

namespace kavrel {

// Virtual-key codes of the keys the stage reacts to. The stage speaks in these codes so that the
// mapping below is the same whichever toolkit delivers the key.
namespace vk {
inline constexpr int kSpace = 32;
inline constexpr int kEscape = 27;
inline constexpr int kF1 = 112;
inline constexpr int kF2 = 113;
inline constexpr int kF3 = 114;
inline constexpr int kF4 = 115;
inline constexpr int kF5 = 116;
inline constexpr int kF6 = 117;
inline constexpr int kF7 = 118;
inline constexpr int kF8 = 119;
inline constexpr int kF9 = 120;
inline constexpr int kF10 = 121;
inline constexpr int kF11 = 122;
inline constexpr int kF12 = 123;
// What presenter remotes send for their "next", "back" and "blank screen" buttons.
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kB = 66;
inline constexpr int kPeriod = 190;
}  // namespace vk

// The key dispatcher: which command a key press on the stage runs. Space stops a rolling draw and
// starts (or announces) otherwise; the function keys are the hotkeys of their menu items. A presenter
// remote's "next" and "back" (PageDown, PageUp and F5) act as space, so the operator can run the draw
// from a clicker away from the laptop; its "blank screen" (B or ".") blacks the stage out and back.
// Keys without a command give StageCommand::None.
StageCommand DispatchKey(int virtualKey, bool rolling);

// Translates a Qt key code (Qt::Key) into the virtual-key code above; 0 for keys the stage ignores.
int VirtualKeyFromQtKey(int qtKey);

}  // namespace kavrel
