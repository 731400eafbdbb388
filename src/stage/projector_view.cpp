#include "stage/projector_view.h"

#include "storage/codec.h"
#include "storage/settings.h"

namespace kavrel {

int OperatorControls::Slot(StageElement element) {
  switch (element) {
    case StageElement::StartButton:
      return 0;
    case StageElement::StopButton:
      return 1;
    case StageElement::StatusLabel:
      return 2;
    default:
      return -1;
  }
}

bool OperatorControls::Governs(StageElement element) {
  return Slot(element) >= 0;
}

void OperatorControls::Want(StageElement element, bool visible) {
  if (const int slot = Slot(element); slot >= 0) wanted_[static_cast<std::size_t>(slot)] = visible;
}

bool OperatorControls::Wanted(StageElement element) const {
  const int slot = Slot(element);
  return slot < 0 || wanted_[static_cast<std::size_t>(slot)];
}

bool ControlsStayOnStage(const Settings& settings) {
  return settings.ReadBool(Gb("标题设置"), Gb("控制台时舞台显示按钮"), false);
}

}  // namespace kavrel
