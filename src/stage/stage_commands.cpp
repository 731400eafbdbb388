#include "stage/stage_commands.h"

namespace kavrel {

bool CommandAvailable(StageCommand command) {
  switch (command) {
    // The windows of these commands are not part of the program yet.
    case StageCommand::Abandon:
    case StageCommand::Supplement:
    case StageCommand::PrizeChange:
      return false;
    default:
      return command != StageCommand::None;
  }
}

}  // namespace kavrel
