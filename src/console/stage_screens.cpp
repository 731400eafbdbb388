#include "console/stage_screens.h"

namespace kavrel {

QString ScreenKey(const std::vector<ScreenInfo>& screens, int index) {
  if (index < 0 || index >= static_cast<int>(screens.size())) return {};
  const QString& name = screens[static_cast<std::size_t>(index)].name;
  int same = 0;
  int ordinal = 0;
  for (int i = 0; i < static_cast<int>(screens.size()); ++i) {
    if (screens[static_cast<std::size_t>(i)].name != name) continue;
    ++same;
    if (i == index) ordinal = same;
  }
  if (same == 1 && !name.isEmpty()) return name;
  return name + QLatin1Char('#') + QString::number(ordinal);
}

QString ScreenLabel(const ScreenInfo& screen) {
  QString label = (screen.name.isEmpty() ? QStringLiteral("显示屏") : screen.name) +
                  QStringLiteral("  %1×%2").arg(screen.geometry.width()).arg(screen.geometry.height());
  if (screen.primary) label += QStringLiteral("  主屏幕");
  return label;
}

namespace {

int PrimaryIndex(const std::vector<ScreenInfo>& screens) {
  for (int i = 0; i < static_cast<int>(screens.size()); ++i)
    if (screens[static_cast<std::size_t>(i)].primary) return i;
  return screens.empty() ? -1 : 0;
}

}  // namespace

ScreenPlacement StageScreenPlan::Place(const std::vector<ScreenInfo>& screens) const {
  ScreenPlacement placement;
  if (screens.empty()) return placement;
  const int primary = PrimaryIndex(screens);
  const int count = static_cast<int>(screens.size());

  if (!chosenKey_.isEmpty()) {
    for (int i = 0; i < count && placement.stage < 0; ++i)
      if (ScreenKey(screens, i) == chosenKey_) placement.stage = i;
    // The chosen screen is gone: a projector that remains is where the audience looks.
    for (int i = 0; i < count && placement.stage < 0; ++i)
      if (i != primary) placement.stage = i;
  }
  if (placement.stage < 0) placement.stage = primary;

  // Without a choice the stage stays where it always was and the other screens are left alone: the
  // second one may well be the projector, and the audience must never see the console.
  if (count > 1 && !chosenKey_.isEmpty()) {
    placement.console = placement.stage != primary ? primary : -1;
    for (int i = 0; i < count && placement.console < 0; ++i)
      if (i != placement.stage) placement.console = i;
  }
  return placement;
}

}  // namespace kavrel
