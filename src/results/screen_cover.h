#pragma once

#include <QRect>

class QScreen;
class QWidget;

namespace kavrel {

// The audience's windows (the winner show, the lock) go where the stage is, not where the program or
// the operator happens to be. With two X screens both screens start at 0,0, so a rectangle alone does
// not say which screen it is on: the screen of `owner` (the stage) is asked first.
QScreen* ScreenForArea(const QRect& area, const QWidget* owner);

// Puts `window`, a top-level window not shown yet, on `screen` (none: wherever the system puts it)
// and over `area`. The caller then makes it full screen when `area` is the whole screen.
void PlaceOnScreen(QWidget& window, QScreen* screen, const QRect& area);

}  // namespace kavrel
