// The stage's own dialog commands for sound, styling and the screen lock.
#include "settings/award_groups_window.h"
#include "settings/sound_settings_window.h"
#include "stage/font_color_window.h"
#include "stage/lock_window.h"
#include "stage/notary_window.h"
#include "stage/stage_window.h"

namespace kavrel {

// The music pauses while the sounds are chosen; afterwards the settings are read again and the stage
// music starts from the beginning of its (possibly new) file when it is switched on.
void StageWindow::OpenSoundSettings() {
  controller_.SuspendStageMusic();
  SoundSettingsWindow window(dir_, settings_, sound_, prompter_, this);
  window.exec();
  controller_.AfterSoundSettings();
}

// Every change reaches the stage as it is made; afterwards the captions are re-fitted to their new
// fonts and placed again. The prize name is fitted afresh too, so a new font is not cut off at its old
// size until the next batch is announced.
void StageWindow::OpenFontsAndColours() {
  StageStyler styler(elements_, rollColour_);
  FontColorWindow window(styler, this);
  window.exec();
  LayoutStage();
  if (!elements_.prizeName->isHidden() && !elements_.prizeName->text().isEmpty()) {
    FitPrizeName(elements_, elements_.prizeName->text(), ScreenRect().width());
    LayoutStage();
  }
}

// The group goes straight into the draw state and needs no reload. While candidates roll the
// window does not open: the batch being picked must keep the range it started with.
void StageWindow::OpenAwardGroups() {
  if (!AwardGroupEditor::MayOpen(state_, prompter_)) return;
  AwardGroupsWindow window(state_, options_.forwardOrder, prompter_, this);
  window.exec();
}

// Locking changes nothing in the draw; the stage takes the keys again once it is unlocked.
void StageWindow::LockScreen() {
  LockWindow window(settings_, prompter_, ScreenRect(), this);
  window.exec();
  activateWindow();
  setFocus();
}

// The seal and the chain's end as they stand now; the window changes nothing.
void StageWindow::ShowNotaryInfo() {
  const DrawReceipts& receipts = controller_.Receipts();
  NotaryWindow window(receipts.Active() ? receipts.Seal() : std::string(), receipts.LastHash(), this);
  window.exec();
}

}  // namespace kavrel
