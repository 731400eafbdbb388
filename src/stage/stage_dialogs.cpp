// The stage's own dialog commands: start-from, the award and list editors, sound, styling, the screen
// lock and the corrections made during an event.
#include "corrections/abandon_window.h"
#include "corrections/prize_change_window.h"
#include "corrections/supplement_window.h"
#include "engine/plan.h"
#include "lists/list_editor_window.h"
#include "lists/photo_list_window.h"
#include "settings/award_groups_window.h"
#include "settings/award_settings_window.h"
#include "settings/sound_settings_window.h"
#include "stage/font_color_window.h"
#include "stage/lock_window.h"
#include "stage/notary_window.h"
#include "stage/stage_window.h"
#include "stage/start_from_window.h"

namespace kavrel {

void StageWindow::StartFrom() {
  StartFromWindow window(session_.State(), prompter_, OperatorWindow());
  window.exec();
  session_.AfterStartFrom();
}

// The music pauses while the awards are edited; afterwards the draw is rebuilt from the files
// unless a draw is still under way, and the stage takes up the new titles when confirmed.
// A roll under way ends first, with nothing recorded: the window may change the draw order or
// the plan, and a roll left going would be recorded against whatever line comes next.
void StageWindow::OpenAwardSettings() {
  if (session_.State().Rolling()) session_.Controller().AbortRoll();
  session_.Controller().SuspendStageMusic();
  AwardSettingsWindow window({dir_, settings_, prompter_, session_.State().drawStarted, session_.Options()},
                             OperatorWindow());
  window.exec();
  session_.Controller().AfterAwardSettings(window.Confirmed(), window.Model().RestartRequested());
}

// The list is edited with the music paused; a completed save (or no draw under way) starts the draw
// afresh from the new files. A roll under way ends first with nothing recorded: the list it draws
// from may be about to change.
void StageWindow::EditList() {
  if (session_.State().Rolling()) session_.Controller().AbortRoll();
  session_.Controller().SuspendStageMusic();
  if (session_.Mode().textMode) {
    ListEditorWindow window({dir_, prompter_, clock_, session_.State().drawStarted, listFind_}, OperatorWindow());
    window.exec();
    session_.Controller().AfterListEditor(window.Editor().RestartRequested());
    return;
  }
  // Picture mode: the window only reports whether the draw must start again; the mode check then
  // reads the folder it saved (and may open the editor once more when the list is still empty).
  const int run = ++listEditorRuns_;
  bool restart = false;
  {
    PhotoListWindow window({dir_, settings_, prompter_, clock_, session_.State().drawStarted,
                            session_.Mode().pictureFolder, session_.Mode().pictureRatio43},
                           sound_, cameras_, OperatorWindow());
    window.exec();
    restart = window.DrawRestartWanted();
  }
  if (restart) session_.Controller().ListReplaced();
  session_.Modes().CheckDrawMode();
  if (run != listEditorRuns_) return;  // the editor opened again from the check has reloaded the draw
  session_.Controller().AfterListEditor();
  RefreshPhotoCache();
}

// The music pauses while the sounds are chosen; afterwards the settings are read again and the stage
// music starts from the beginning of its (possibly new) file when it is switched on.
void StageWindow::OpenSoundSettings() {
  session_.Controller().SuspendStageMusic();
  SoundSettingsWindow window(dir_, settings_, sound_, prompter_, OperatorWindow());
  window.exec();
  session_.Controller().AfterSoundSettings();
}

// Every change reaches the stage as it is made; afterwards the captions are re-fitted to their new
// fonts and placed again. The prize name is fitted afresh too, so a new font is not cut off at its old
// size until the next batch is announced.
void StageWindow::OpenFontsAndColours() {
  StageStyler styler(elements_, rollColour_);
  FontColorWindow window(styler, OperatorWindow());
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
  if (!AwardGroupEditor::MayOpen(session_.State(), prompter_)) return;
  AwardGroupsWindow window(session_.State(), session_.Options().forwardOrder, prompter_, OperatorWindow());
  window.exec();
}

// The corrections change the plan or the pool, so none opens while candidates roll; the session runs
// the change with its receipt and the ready state or resume record that follow it.
void StageWindow::OpenAbandon() {
  if (!session_.CorrectionMayOpen("弃奖")) return;
  AbandonWindow window(dir_, prompter_, OperatorWindow());
  if (window.exec() == QDialog::Accepted) session_.Abandon(window.Request());
}

void StageWindow::OpenSupplement() {
  if (!session_.CorrectionMayOpen("补奖")) return;
  // The award on screen (winners shown) or announced is the one extra winners are most likely for.
  const DrawState& state = session_.State();
  const std::string& atAward = Field(state.WinnersShown() ? state.recordedLine : state.currentLine, kAwardName);
  SupplementWindow window(dir_, atAward, prompter_, OperatorWindow());
  if (window.exec() == QDialog::Accepted) session_.Supplement(window.Request());
}

void StageWindow::OpenPrizeChange() {
  if (!session_.CorrectionMayOpen("修改奖品")) return;
  PrizeChangeWindow window(dir_, session_.State().plan,
                           NextPlanPosition(session_.State(), session_.Options().forwardOrder), prompter_,
                           OperatorWindow());
  if (window.exec() == QDialog::Accepted) session_.ChangePrize(window.Request());
}

// Locking changes nothing in the draw; the stage takes the keys again once it is unlocked.
void StageWindow::LockScreen() {
  // With the console up the password is typed there; the projector shows the lock picture alone.
  QWidget* const operatorWindow = OperatorWindow() != this ? OperatorWindow() : nullptr;
  LockWindow window(settings_, prompter_, ScreenRect(), operatorWindow, this);
  locked_ = true;
  window.exec();
  locked_ = false;
  activateWindow();
  setFocus();
}

// The seal and the chain's end as they stand now; the window changes nothing.
void StageWindow::ShowNotaryInfo() {
  const DrawReceipts& receipts = session_.Controller().Receipts();
  NotaryWindow window({.seal = receipts.Active() ? receipts.Seal() : std::string(),
                       .lastHash = receipts.LastHash(),
                       .closed = receipts.Closed(),
                       .audienceNumber = receipts.AudienceNumber()},
                      this);
  window.exec();
}

}  // namespace kavrel
