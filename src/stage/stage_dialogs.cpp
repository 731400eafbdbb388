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
  StartFromWindow window(session_.Draw(), prompter_, OperatorWindow());
  window.exec();
  session_.StartFrom(window.Chosen());
}

// The music pauses while the awards are edited; afterwards the draw is rebuilt from the files
// unless a draw is still under way, and the stage takes up the new titles when confirmed.
void StageWindow::OpenAwardSettings() {
  session_.EditAwards([this](DrawOptions& options, bool drawStarted) {
    AwardSettingsWindow window({dir_, settings_, prompter_, drawStarted, options}, OperatorWindow());
    window.exec();
    return DrawSession::Edited{window.Confirmed(), window.Model().RestartRequested()};
  });
}

// The list is edited with the music paused; a completed save (or no draw under way) starts the draw
// afresh from the new files.
void StageWindow::EditList() {
  if (session_.Mode().textMode) {
    session_.EditList([this](bool drawStarted) {
      ListEditorWindow window({dir_, prompter_, clock_, drawStarted, listFind_}, OperatorWindow());
      window.exec();
      return DrawSession::Edited{true, window.Editor().RestartRequested()};
    });
    return;
  }
  const bool rebuilt = session_.EditPictureList([this](bool drawStarted) {
    PhotoListWindow window({dir_, settings_, prompter_, clock_, drawStarted, session_.Mode().pictureFolder,
                            session_.Mode().pictureRatio43},
                           sound_, cameras_, OperatorWindow());
    window.exec();
    return DrawSession::Edited{true, window.DrawRestartWanted()};
  });
  if (rebuilt) RefreshPhotoCache();
}

// The music pauses while the sounds are chosen; afterwards the settings are read again and the stage
// music starts from the beginning of its (possibly new) file when it is switched on.
void StageWindow::OpenSoundSettings() {
  session_.EditSounds([this] {
    SoundSettingsWindow window(dir_, settings_, sound_, prompter_, OperatorWindow());
    window.exec();
  });
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

// The group goes straight into the draw and needs no reload. While candidates roll the window does
// not open: the batch being picked must keep the range it started with.
void StageWindow::OpenAwardGroups() {
  if (!AwardGroupEditor::MayOpen(session_.Draw(), prompter_)) return;
  AwardGroupsWindow window(session_.Draw(), session_.Rules().forwardOrder, prompter_, OperatorWindow());
  if (window.exec() == QDialog::Accepted) session_.SetAwardGroup(window.Editor().ChosenRows());
}

// The corrections change the plan or the pool, so none opens while candidates roll; the session runs
// the change with its receipt and the ready state or resume record that follow it.
void StageWindow::OpenAbandon() {
  if (!session_.CorrectionMayOpen("弃奖")) return;
  AbandonWindow window(session_.Winners(), prompter_, OperatorWindow());
  if (window.exec() == QDialog::Accepted) session_.Abandon(window.Request());
}

void StageWindow::OpenSupplement() {
  if (!session_.CorrectionMayOpen("补奖")) return;
  // The award on screen (winners shown) or announced is the one extra winners are most likely for.
  const DrawState& state = session_.Draw();
  const std::string& atAward = (state.WinnersShown() ? state.recordedLine : state.currentLine).award;
  SupplementWindow window(dir_, atAward, prompter_, OperatorWindow());
  if (window.exec() == QDialog::Accepted) session_.Supplement(window.Request());
}

void StageWindow::OpenPrizeChange() {
  if (!session_.CorrectionMayOpen("修改奖品")) return;
  PrizeChangeWindow window(dir_, session_.Draw().plan, NextPlanPosition(session_.Draw(), session_.Rules().forwardOrder),
                           prompter_, OperatorWindow());
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
  const DrawReceipts& receipts = session_.Receipts();
  NotaryWindow window({.seal = receipts.Active() ? receipts.Seal() : std::string(),
                       .lastHash = receipts.LastHash(),
                       .closed = receipts.Closed(),
                       .audienceNumber = receipts.AudienceNumber(),
                       .duplicates = session_.SealedDuplicatesNote()},
                      this);
  window.exec();
}

}  // namespace kavrel
