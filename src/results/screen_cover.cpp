#include "results/screen_cover.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kavrel {

QScreen* ScreenForArea(const QRect& area, const QWidget* owner) {
  if (owner) {
    QScreen* own = owner->window()->screen();
    if (own && own->geometry() == area) return own;
  }
  return QGuiApplication::screenAt(area.center());
}

void PlaceOnScreen(QWidget& window, QScreen* screen, const QRect& area) {
  // Set before the native window exists, it is made on that screen; a full-screen state set later
  // then fills this screen. Set even when screen() already names it: for a dialog not yet made that
  // is only its parent's screen, and the native window would still be made on the primary one.
  if (screen) window.setScreen(screen);
  window.setGeometry(area);
}

}  // namespace kavrel
