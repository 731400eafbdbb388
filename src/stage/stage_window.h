#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/draw_observer.h"
#include "engine/draw_session.h"
#include "engine/ports/stage_hooks.h"
#include "lists/list_tools.h"
#include "platform/camera.h"
#include "results/export/draw_history_list.h"
#include "results/result_view_mode.h"
#include "stage/audience_notes_panel.h"
#include "stage/grand_reveal.h"
#include "stage/help_tips_window.h"
#include "stage/projector_view.h"
#include "stage/stage_commands.h"
#include "stage/stage_situation.h"
#include "stage/stage_styler.h"
#include "stage/stage_widgets.h"  // first: see there why
#include "storage/settings.h"
#include "storage/stage_settings.h"

class QLabel;
class QMenu;
class QScreen;
class QTimer;

namespace kavrel {

class Clock;
class CommandActions;
class LayoutEditor;
class PhotoCache;
class ProgramDir;
class Prompter;
class SoundPort;
class StageMenuBar;
class StageMenus;
class WinnersWall;

// The full-screen stage: the window the audience sees and the operator drives. It shows the draw the
// program made (one view of it among others) through the stage elements, and turns keys, menu items
// and the start and stop buttons into commands. It is the draw engine's stage: the engine asks it,
// through StageHooks, to change texts, show or hide elements, run the draw timer and paint the candidates.
class StageWindow : public QWidget, public StageHooks, private ModeSwitchHost, private DrawObserver {
  Q_OBJECT

 public:
  // `actions`: the program's command actions, whose menu items and keys the stage takes; without
  // them the stage makes its own.
  StageWindow(DrawSession& session, Prompter& prompter, SoundPort& sound, const Clock& clock, const ProgramDir& dir,
              HelpTipsWindow::OpenDocument openDocument, CommandActions* actions = nullptr, QWidget* parent = nullptr);
  ~StageWindow() override;

  // The start-up sequence, run once the window is on screen: the menu bar and the rolling area are
  // hidden, the title fonts fitted, the draw resumed or reset (asking when an interrupted draw was
  // left), the stage music started, the draw mode checked and the stage laid out.
  void StartUp();

  // Runs one command, as its key, menu item or button does. Commands whose windows do not exist yet
  // do nothing.
  void RunCommand(StageCommand command);
  // The commands' actions: the menus' items, the console's buttons and every key run these.
  CommandActions& Actions() { return *actions_; }

  // The screen the stage covers: the primary screen until MoveToScreen puts it elsewhere.
  QRect ScreenRect() const;
  // Puts the stage on `screen`, full size, and lays it out for that screen's size. Nothing of the draw
  // changes: a roll goes on, the winners on show stay. Null: back to the primary screen.
  void MoveToScreen(QScreen* screen);

  // Where the operator's windows open (settings, editors, message boxes): the operator console when
  // the stage is on a screen of its own, else the stage. The audience's windows (results, the lock)
  // stay on the stage. Null: the stage.
  void SetOperatorWindow(QWidget* window);
  QWidget* OperatorWindow();
  // "显示到扩展显示屏(Z)": what choosing the stage's screen does; without one, the item says that
  // the stage cannot be moved.
  void SetScreenChooser(std::function<void()> chooser) { screenChooser_ = std::move(chooser); }
  // Opens the phone-interaction window; its menu item is disabled while none is set.
  void SetPhoneInteraction(std::function<void()> open);
  // The four popups "界面", "设定", "功能" and "帮助", for the operator console's menu bar.
  std::vector<QMenu*> Menus() const;
  // With an operator console up, the menu bar opens there: `host` shows and hides it, and the stage's
  // own bar stays hidden so the audience never sees it. Empty: the stage's bar again, hidden.
  void SetMenuHost(std::function<void(bool shown)> host);

  // The cameras the picture list editor's camera window uses (none: it finds no camera).
  void UseCameras(CameraFactory cameras) { cameras_ = std::move(cameras); }

  bool menuBarShown() const { return menuBarShown_; }
  bool blanked() const { return Blanked(elements_); }
  // What covers the stage now (the lock, a blackout), for the operator console.
  StageSituation Situation() const { return {locked_, blanked(), shownResults_}; }

  // StageHooks
  void SetText(StageElement element, const std::string& text) override;
  void SetVisible(StageElement element, bool visible) override;
  bool IsVisible(StageElement element) const override;
  void LayoutStage() override;
  void PrepareTextRolling(int batchSize, const std::string& firstEntry) override;
  void PreparePictureRolling(int batchSize) override;
  void ShowCandidates(const std::vector<std::string_view>& candidates) override;
  PictureCheck ShowPrizePicture(const std::string& path) override;
  void ShowWinnerShow() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // DrawObserver: the roll's ticks follow the draw's phase (stage_painting.cpp).
  void DrawChanged(const DrawSession& session, DrawChanges changes) override;
  // The rolling panel's background: the stage behind it, grabbed as the panel shows and dropped
  // (with its copy on disk, config/temp.jpg) as it hides or the stage closes.
  void CaptureSnapshot();
  void DiscardSnapshot();
  // Empties the centre text and restores the snapshot under the candidates to come.
  void BeginTickPaint();
  // ModeSwitchHost
  void OpenListEditor() override { RunCommand(StageCommand::EditList); }
  void SetModeChecks(bool textMode) override;

  static QString NativePath(const std::string& gbPath);
  QWidget* Element(StageElement element) const;
  void FitAndCentre(QLabel* label, bool vertically);
  void RefitRollingPanel();
  // Space, F5 and the clicker: stops a roll, starts (or announces) otherwise.
  void PressStartStop();
  void ToggleMenuBar();
  void ToggleLayoutEdit();
  void ChooseBackground();
  void UseDefaultBackground();
  void ToggleWinnersWall();
  QPixmap ReadBackground(const QString& path) const;
  void StartFrom();
  void OpenAwardGroups();
  void OpenAbandon();
  void OpenSupplement();
  void OpenPrizeChange();
  void OpenAwardSettings();
  void OpenSoundSettings();
  void OpenFontsAndColours();
  void LockScreen();
  void EditList();
  void ShowExtendedDisplayNotice();
  void ShowHelpTips();
  // `past`: a draw from the history window instead of the current one.
  void OpenResults(ResultViewMode mode, const PastDraw* past = nullptr);
  // F6 and its item: before the fresh draw has winners, offers the show of the latest past draw.
  void OfferWinnerShow();
  void ExportWinners(const PastDraw* past = nullptr);
  void OpenDrawHistory();
  void ShowNotaryInfo();
  bool DrawUnderWay() const;
  void StageDestroyedOnce();
  const QString& CachedText(std::string_view gb);
  const QString& CachedPhotoPath(std::string_view entry);
  void RefreshPhotoCache();

  Prompter& prompter_;
  SoundPort& sound_;
  const Clock& clock_;
  const ProgramDir& dir_;
  HelpTipsWindow::OpenDocument openDocument_;
  Settings settings_;
  // Shared with the rolling panel, a child widget that outlives this class's own members.
  std::shared_ptr<PhotoCache> photoCache_;
  QRect screenRect_;  // empty: the primary screen
  QPointer<QWidget> operatorWindow_;
  std::function<void()> screenChooser_;
  std::function<void()> phoneInteraction_;
  std::function<void(bool shown)> menuHost_;

  DrawSession& session_;

  StageElements elements_;
  std::unique_ptr<CommandActions> ownActions_;  // when the program gave none (tests)
  CommandActions* actions_ = nullptr;
  StageMenus* menus_ = nullptr;
  StageMenuBar* menuBar_ = nullptr;
  LayoutEditor* layoutEditor_ = nullptr;
  AudienceNotesPanel* audienceNotes_ = nullptr;
  GrandReveal* reveal_ = nullptr;
  QTimer* drawTimer_ = nullptr;
  bool rollUnderWay_ = false;  // as the draw stood when it last told the stage
  bool menuBarShown_ = false;
  bool destroyed_ = false;
  QPointer<WinnersWall> wall_;         // the winners wall while it is up
  OperatorControls operatorControls_;  // the buttons and status line stay off the projector while a console is up
  bool locked_ = false;                // the screen lock is up
  StageSituation::Results shownResults_ = StageSituation::Results::None;
  CustomRollColour rollColour_;  // from the font and colour window; read when a roll starts
  FindState listFind_;           // the list editor's search lasts for the whole run
  CameraFactory cameras_;

  QPixmap background_;        // the custom background; null for the built-in one
  QPixmap scaledBackground_;  // the background stretched to the window, made once per size
  QPixmap snapshotToSave_;    // the roll's snapshot until its first tick writes it to config/temp.jpg
  // Texts and photo paths of the pool, converted once per roll rather than on every tick.
  // Looked up by the tick's texts as they come (views), without making a string of each.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, QString, TextHash, std::equal_to<>> textCache_;
  std::unordered_map<std::string, QString, TextHash, std::equal_to<>> photoPathCache_;
};

}  // namespace kavrel
