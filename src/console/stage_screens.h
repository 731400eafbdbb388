#pragma once

// Which screen the stage covers and which one the operator's console uses, decided from a plain list
// of screens so that the rules can be checked without the monitors they are about.

#include <QRect>
#include <QString>
#include <vector>

namespace kavrel {

struct ScreenInfo {
  QString name;  // what the system calls the output ("HDMI-1"); not unique everywhere
  QRect geometry;
  bool primary = false;
};

// The name a screen is remembered by: its own name, or, when several screens share it (two X screens
// are both called "screen"), the name and its place among them ("screen#2").
QString ScreenKey(const std::vector<ScreenInfo>& screens, int index);

// "HDMI-1  1920×1080  主屏幕": a line of the screen list the operator chooses from.
QString ScreenLabel(const ScreenInfo& screen);

// Where the windows go: indices into the screen list; console is -1 when the stage has no screen
// to share with (one screen: the stage is everything, as without a console).
struct ScreenPlacement {
  int stage = -1;
  int console = -1;
  bool operator==(const ScreenPlacement&) const = default;
};

// Keeps the stage on the screen the operator chose while that screen exists. A screen that goes away
// (cable pulled, projector off) sends the stage to the best remaining one at once; when the chosen
// screen comes back, the stage returns to it. The choice itself is only changed by Choose().
class StageScreenPlan {
 public:
  // `chosenKey`: the remembered ScreenKey; empty for the primary screen.
  explicit StageScreenPlan(QString chosenKey = {}) : chosenKey_(std::move(chosenKey)) {}

  const QString& chosenKey() const { return chosenKey_; }
  void Choose(const QString& key) { chosenKey_ = key; }

  // The placement for the screens there are now. The stage goes to the chosen screen; without it, to
  // a screen other than the primary when there is one (the projector is more likely still up than the
  // laptop's own panel is the audience's), else the primary. Once a screen was chosen, the console
  // takes the primary screen, or the first one the stage leaves free; it has none before.
  ScreenPlacement Place(const std::vector<ScreenInfo>& screens) const;

 private:
  QString chosenKey_;
};

}  // namespace kavrel
