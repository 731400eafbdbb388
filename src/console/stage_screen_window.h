#pragma once

#include <QDialog>
#include <vector>

#include "console/stage_screens.h"

class QListWidget;

namespace kavrel {

// "显示到扩展显示屏(Z)": the screens there are, one line each (name, size, which is primary); the one
// chosen gets the full-screen stage, and the operator console opens on another.
class StageScreenWindow : public QDialog {
  Q_OBJECT

 public:
  StageScreenWindow(const std::vector<ScreenInfo>& screens, int current, QWidget* parent = nullptr);

  // The screen picked when the window was closed with "确定"; -1 otherwise.
  int Chosen() const { return chosen_; }

 private:
  QListWidget* list_ = nullptr;
  int chosen_ = -1;
};

}  // namespace kavrel
