#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace kavrel {

// Makes `window` the one that has the keyboard, as a click on it would.
inline void ActivateForKeys(QWidget* window) {
  if (QApplication::activeWindow() == window) return;
  window->activateWindow();
  (void)QTest::qWaitForWindowActive(window);
}

// A key pressed as the keyboard presses it: into the window that has the keyboard (made the active
// one first), so that the window's shortcuts see it before its controls do.
inline void PressKey(QWidget* target, int qtKey) {
  ActivateForKeys(target->window());
  QTest::keyClick(target, static_cast<Qt::Key>(qtKey));
}

}  // namespace kavrel
