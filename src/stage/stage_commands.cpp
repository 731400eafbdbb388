#include "stage/stage_commands.h"

namespace kavrel {

bool CommandAvailable(StageCommand command) {
  return command != StageCommand::None;
}

}  // namespace kavrel
