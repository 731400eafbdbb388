#include "stage/key_dispatcher.h"

#include <Qt>

namespace kavrel {

StageCommand DispatchKey(int virtualKey, bool rolling) {
  switch (virtualKey) {
    case vk::kSpace:
    case vk::kF5:
    case vk::kPageDown:
    case vk::kPageUp:
      return rolling ? StageCommand::Stop : StageCommand::Start;
    case vk::kB:
    case vk::kPeriod:
      return StageCommand::BlankScreen;
    case vk::kEscape:
      return StageCommand::ToggleMenuBar;
    case vk::kF1:
      return StageCommand::Restart;
    case vk::kF2:
      return StageCommand::Undo;
    case vk::kF3:
      return StageCommand::Abandon;
    case vk::kF4:
      return StageCommand::Supplement;
    case vk::kF6:
      return StageCommand::WinnerShow;
    case vk::kF7:
      return StageCommand::LatestBatch;
    case vk::kF8:
      return StageCommand::PrizeChange;
    case vk::kF9:
      return StageCommand::ToggleMusic;
    case vk::kF10:
      return StageCommand::WinnersWall;
    case vk::kF11:
      return StageCommand::Minimise;
    case vk::kF12:
      return StageCommand::Quit;
    default:
      return StageCommand::None;  // every other key has no command
  }
}

int VirtualKeyFromQtKey(int qtKey) {
  if (qtKey == Qt::Key_Space) return vk::kSpace;
  if (qtKey == Qt::Key_Escape) return vk::kEscape;
  if (qtKey == Qt::Key_PageUp) return vk::kPageUp;
  if (qtKey == Qt::Key_PageDown) return vk::kPageDown;
  if (qtKey == Qt::Key_B) return vk::kB;
  if (qtKey == Qt::Key_Period) return vk::kPeriod;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return vk::kF1 + (qtKey - Qt::Key_F1);
  return 0;
}

}  // namespace kavrel
