#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kavrel {

enum class ShownNeeds { Window, Focus };

// Runs `act` on the modal window of type T once it is shown (and, with ShownNeeds::Focus, once it is
// the active window and a control inside it holds the focus, so that typed keys have a target). The code under
// test blocks in the window's own event loop, so the window is polled for from a timer rather than
// assumed to be there: on a busy machine showing and activating it can take a while. Gives up
// after a generous limit and closes whatever modal window is open so the test fails instead of hanging.
template <typename T>
void WhenShown(std::function<void(T*)> act, ShownNeeds needs = ShownNeeds::Window) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, act, needs] {
    T* window = qobject_cast<T*>(QApplication::activeModalWidget());
    const bool ready =
        window != nullptr && window->isVisible() &&
        (needs == ShownNeeds::Window || (QApplication::activeWindow() == window && window->focusWidget() != nullptr));
    if (!ready && clock->elapsed() < 30000) return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (ready) {
      act(window);
    } else {
      ADD_FAILURE() << "the window was not shown (or did not take the focus) within 30 s";
      if (QWidget* open = QApplication::activeModalWidget()) open->close();
    }
  });
  timer->start(10);
}

}  // namespace kavrel
