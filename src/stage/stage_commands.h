#pragma once

namespace kavrel {

// Everything the operator can ask of the stage, whether through a key, a menu item or a button.
// Keys and menu items map onto these, so one press always runs exactly one command.
enum class StageCommand {
  None,
  // The draw itself.
  Start,
  Stop,
  // A presenter remote's "blank screen": the stage goes black and comes back, the draw untouched.
  BlankScreen,
  // "界面"
  CustomBackground,
  DefaultBackground,
  ToggleLayoutEdit,
  RestoreDefaultPositions,
  FontsAndColours,
  RestoreDefaultLook,
  LockScreen,
  Minimise,
  Quit,
  // "设定"
  EditList,
  AwardSettings,
  AwardGroups,
  SoundSettings,
  ToggleMusic,
  TextMode,
  PictureMode,
  ToggleMenuBar,
  ExtendedDisplay,
  PhoneInteraction,
  // "功能"
  WinnerShow,
  WinnersWall,
  LatestBatch,
  WinnerList,
  NonWinnerList,
  ExportWinners,
  DrawHistory,
  NotaryInfo,
  AudienceNumber,
  Restart,
  StartFrom,
  Abandon,
  Supplement,
  PrizeChange,
  Undo,
  // "帮助"
  HelpTips,
};

// Commands whose windows are built by other parts of the program and are not available yet.
// Their menu items are shown disabled and their keys do nothing, rather than pretending to work.
bool CommandAvailable(StageCommand command);

}  // namespace kavrel
