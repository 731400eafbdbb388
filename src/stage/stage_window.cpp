#include "stage/stage_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "assets.h"
#include "engine/ports/prompter.h"
#include "engine/ports/sound_port.h"
#include "platform/photo_cache.h"
#include "platform/picture_reader.h"
#include "results/result_window.h"
#include "stage/command_actions.h"
#include "stage/custom_background.h"
#include "stage/results_panel.h"
#include "stage/roll_layout.h"
#include "stage/stage_menus.h"
#include "stage/winners_wall.h"
#include "storage/codec.h"
#include "storage/data_pictures.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/text_file.h"

namespace kavrel {

StageWindow::StageWindow(DrawSession& session, Prompter& prompter, SoundPort& sound, const Clock& clock,
                         const ProgramDir& dir, HelpTipsWindow::OpenDocument openDocument, CommandActions* actions,
                         QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      prompter_(prompter),
      sound_(sound),
      clock_(clock),
      dir_(dir),
      openDocument_(std::move(openDocument)),
      settings_(dir.Path(ProgramDir::kConfigIni)),
      photoCache_(std::make_shared<PhotoCache>(dir.Path(PhotoCache::kFolder))),
      session_(session) {
  setObjectName(QStringLiteral("StageWindow"));
  setWindowTitle(QStringLiteral("kavrel抽奖"));
  setFocusPolicy(Qt::StrongFocus);
  setGeometry(ScreenRect());

  elements_ = CreateStageElements(this);
  elements_.window = this;
  elements_.rolling->UsePhotoCache(photoCache_);
  if (!actions) ownActions_ = std::make_unique<CommandActions>();
  actions_ = actions ? actions : ownActions_.get();
  menus_ = new StageMenus(*actions_, this);
  menus_->action(StageCommand::PhoneInteraction)->setEnabled(false);  // until the phone side is attached
  menuBar_ = new StageMenuBar(menus_, this);
  menuBar_->hide();
  elements_.menuBar = menuBar_;
  layoutEditor_ = new LayoutEditor(elements_, this);
  audienceNotes_ = new AudienceNotesPanel(session_, this);
  reveal_ = new GrandReveal(
      session_, settings_, [this](const std::string& stored) { return NativePath(ResolveStoredPicture(dir_, stored)); },
      this);

  connect(actions_, &CommandActions::commandTriggered, this, &StageWindow::RunCommand);
  connect(actions_, &CommandActions::startStopPressed, this, &StageWindow::PressStartStop);
  // The clicker turns the wall's pages while it is up, and Escape closes it.
  connect(actions_, &CommandActions::pagePressed, this, [this](bool forward) {
    if (wall_ && wall_->isVisible()) return void(wall_->HandleKey(forward ? Qt::Key_PageDown : Qt::Key_PageUp));
    PressStartStop();
  });
  connect(actions_, &CommandActions::escapePressed, this, [this] {
    if (wall_ && wall_->isVisible()) return void(wall_->HandleKey(Qt::Key_Escape));
    RunCommand(StageCommand::ToggleMenuBar);
  });
  actions_->TakeKeys(this);
  connect(elements_.startButton, &QAbstractButton::clicked, this, [this] { RunCommand(StageCommand::Start); });
  connect(elements_.stopButton, &QAbstractButton::clicked, this, [this] { RunCommand(StageCommand::Stop); });

  drawTimer_ = new QTimer(this);
  drawTimer_->setObjectName(QStringLiteral("时钟_抽奖"));
  drawTimer_->setTimerType(Qt::PreciseTimer);
  connect(drawTimer_, &QTimer::timeout, this, [this] { session_.Tick(); });

  // The background chosen at an earlier start.
  if (const QString kept = KeptBackground(dir_, settings_); !kept.isEmpty()) {
    background_ = ReadBackground(kept);
    menus_->SetDefaultBackground(background_.isNull());
  }

  LayoutStage();  // the first pass, so the stage never shows its elements piled up in a corner
  session_.AttachStage(*this, *this);
  session_.AddObserver(*this);
}

StageWindow::~StageWindow() {
  StageDestroyedOnce();
  session_.RemoveObserver(*this);
  session_.DetachStage();
}

QRect StageWindow::ScreenRect() const {
  if (!screenRect_.isEmpty()) return screenRect_;
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

void StageWindow::MoveToScreen(QScreen* screen) {
  const bool shown = isVisible();
  // A screen of another X display (a second X screen without Xinerama) needs the window itself moved
  // over, which makes a new native window; hidden around the move, the widget maps that window again
  // when shown. Within one desktop the geometry alone would do, and setting the screen changes nothing more.
  if (screen && screen != this->screen()) {
    if (shown) hide();
    setScreen(screen);
  }
  screenRect_ = screen ? screen->geometry() : QRect();
  LayoutStage();
  RefitRollingPanel();
  if (shown && !isMinimized()) {
    show();
    raise();
  }
  update();
}

// The rolling area has a new size: a roll under way gets a grid for it (the next tick fills it), and
// the stage behind the area is captured again, or the old, smaller picture would leave a black band.
// Winners on show keep their places: laying them out again would clear them.
void StageWindow::RefitRollingPanel() {
  if (elements_.rolling->isHidden()) return;
  if (session_.Draw().RollUnderWay()) {
    if (!session_.Mode().textMode)
      PreparePictureRolling(session_.Draw().batchSize);
    else if (!session_.Draw().pool.empty())
      PrepareTextRolling(session_.Draw().batchSize, session_.Draw().pool.front());
  }
  elements_.rolling->hide();
  const QPixmap snapshot =
      elements_.rolling->geometry().isEmpty() ? QPixmap() : GrabStage(elements_, elements_.rolling->geometry());
  elements_.rolling->SetSnapshot(snapshot);
  elements_.rolling->show();
  elements_.rolling->raise();
  if (Blanked(elements_)) elements_.blank->raise();
}

void StageWindow::SetOperatorWindow(QWidget* window) {
  // The keys work in the operator's window as on the stage.
  if (operatorWindow_ && operatorWindow_ != this) actions_->DropKeys(operatorWindow_);
  if (window && window != this) actions_->TakeKeys(window);
  operatorWindow_ = window;
  const bool wasOff = operatorControls_.OffStage();
  operatorControls_.SetConsoleUp(window && window != this, ControlsStayOnStage(settings_));
  if (operatorControls_.OffStage() == wasOff) return;
  for (StageElement e : {StageElement::StartButton, StageElement::StopButton, StageElement::StatusLabel})
    Element(e)->setVisible(operatorControls_.Shown(e));
  // The room the controls leave goes to the names.
  LayoutStage();
  RefitRollingPanel();
  update();
}

QWidget* StageWindow::OperatorWindow() {
  return operatorWindow_ ? operatorWindow_.data() : this;
}

std::vector<QMenu*> StageWindow::Menus() const {
  std::vector<QMenu*> menus;
  for (int i = 0; i < StageMenus::kPopupCount; ++i) menus.push_back(menus_->menu(static_cast<StageMenus::Popup>(i)));
  return menus;
}

void StageWindow::SetMenuHost(std::function<void(bool shown)> host) {
  menuHost_ = std::move(host);
  // Whichever bar takes over starts hidden: a bar left open on the console must not appear on the
  // projector when the console goes, nor the stage's on the console when it comes.
  SetVisible(StageElement::MenuBar, false);
}

void StageWindow::StartUp() {
  SetVisible(StageElement::MenuBar, false);
  SetVisible(StageElement::RollingPanel, false);
  // On the built-in picture the main title stays between the lanterns.
  FitTitleFonts(elements_,
                background_.isNull() ? TitleRoomOnDefaultBackground(ScreenRect().size()) + 50 : ScreenRect().width());
  // The resume question may come next: let the stage behind it already stand in its places.
  LayoutStage();
  session_.StartUp();
  LayoutStage();
  RefreshPhotoCache();
  activateWindow();
  setFocus();
}

// The photos the next rolls will show get their thumbnails in the background: at start-up, and after
// anything that may have changed the list or its photos (the list editor, a mode switch).
void StageWindow::RefreshPhotoCache() {
  if (session_.Mode().textMode) {
    photoCache_->Refresh({}, {});
    return;
  }
  // The paths are made on the cache's thread, by the rule the roll uses, so they are the same strings.
  photoCache_->Refresh(
      [folder = session_.Mode().pictureFolder, entries = session_.Draw().pool] {
        QStringList paths;
        paths.reserve(static_cast<qsizetype>(entries.size()));
        for (const std::string& entry : entries) paths << detail::ToQPath(PictureFilePath(folder, entry));
        return paths;
      },
      LargestPhotoCell(session_.Mode().pictureRatio43));
}

void StageWindow::PressStartStop() {
  RunCommand(session_.Draw().Rolling() ? StageCommand::Stop : StageCommand::Start);
}

void StageWindow::RunCommand(StageCommand command) {
  if (!CommandAvailable(command)) return;
  // While the stage is black, a press that would start or stop brings it back instead: nothing is
  // drawn or announced that the audience cannot see.
  if (Blanked(elements_) && (command == StageCommand::Start || command == StageCommand::Stop)) {
    SetBlanked(elements_, false);
    return;
  }
  // A press during a grand prize's reveal skips to its end; the next one announces the next batch.
  // Any other command ends the reveal first, so nothing opens over it.
  if (reveal_->Running()) {
    reveal_->Finish();
    if (command == StageCommand::Start || command == StageCommand::Stop) return;
  }
  // The wall covers the stage: a start or stop press brings the stage back instead of drawing unseen.
  if (wall_ && (command == StageCommand::Start || command == StageCommand::Stop)) {
    wall_->close();
    return;
  }
  switch (command) {
    case StageCommand::BlankScreen:
      SetBlanked(elements_, !Blanked(elements_));
      break;
    case StageCommand::Start:
      session_.Start();
      break;
    case StageCommand::Stop:
      session_.Stop();
      break;
    case StageCommand::CustomBackground:
      ChooseBackground();
      break;
    case StageCommand::DefaultBackground:
      UseDefaultBackground();
      break;
    case StageCommand::ToggleLayoutEdit:
      ToggleLayoutEdit();
      break;
    case StageCommand::RestoreDefaultPositions:
      LayoutStage();
      break;
    case StageCommand::RestoreDefaultLook:
      RestoreDefaultLook(elements_, ScreenRect());
      rollColour_.on = false;
      break;
    case StageCommand::FontsAndColours:
      OpenFontsAndColours();
      break;
    case StageCommand::LockScreen:
      LockScreen();
      break;
    case StageCommand::SoundSettings:
      OpenSoundSettings();
      break;
    case StageCommand::Minimise:
      showMinimized();
      break;
    case StageCommand::Quit:
      if (session_.Quit()) close();
      break;
    case StageCommand::ToggleMusic:
      session_.ToggleMusic();
      break;
    case StageCommand::TextMode:
      session_.SwitchToText();
      RefreshPhotoCache();
      break;
    case StageCommand::PictureMode:
      session_.SwitchToPicture();
      RefreshPhotoCache();
      break;
    case StageCommand::ToggleMenuBar:
      ToggleMenuBar();
      break;
    case StageCommand::ExtendedDisplay:
      ShowExtendedDisplayNotice();
      break;
    case StageCommand::PhoneInteraction:
      if (phoneInteraction_) phoneInteraction_();
      break;
    case StageCommand::Restart:
      session_.Restart();
      break;
    case StageCommand::StartFrom:
      StartFrom();
      break;
    case StageCommand::AwardGroups:
      OpenAwardGroups();
      break;
    case StageCommand::Abandon:
      OpenAbandon();
      break;
    case StageCommand::Supplement:
      OpenSupplement();
      break;
    case StageCommand::PrizeChange:
      OpenPrizeChange();
      break;
    case StageCommand::Undo:
      session_.Undo();
      break;
    case StageCommand::AwardSettings:
      OpenAwardSettings();
      break;
    case StageCommand::EditList:
      EditList();
      break;
    case StageCommand::HelpTips:
      ShowHelpTips();
      break;
    case StageCommand::WinnerShow:
      OfferWinnerShow();
      break;
    case StageCommand::WinnersWall:
      ToggleWinnersWall();
      break;
    case StageCommand::LatestBatch:
      OpenResults(ResultViewMode::LatestAward);
      break;
    case StageCommand::WinnerList:
      OpenResults(ResultViewMode::WinnerList);
      break;
    case StageCommand::NonWinnerList:
      OpenResults(ResultViewMode::NonWinnerList);
      break;
    case StageCommand::ExportWinners:
      ExportWinners();
      break;
    case StageCommand::DrawHistory:
      OpenDrawHistory();
      break;
    case StageCommand::NotaryInfo:
      ShowNotaryInfo();
      break;
    case StageCommand::AudienceNumber:
      session_.AudienceNumber();
      break;
    default:
      break;
  }
}

void StageWindow::ToggleMenuBar() {
  SetVisible(StageElement::MenuBar, !menuBarShown_);
}

void StageWindow::ToggleLayoutEdit() {
  const bool on = !layoutEditor_->Active();
  menus_->SetLayoutEditMode(on);
  layoutEditor_->SetActive(on);
  if (on)
    prompter_.Message(Gb("直接单击左键拖动要移动的内容，完成后再次点击'更改界面位置'退出"), Gb("操作提示："),
                      Buttons::Ok, Icon::None);
}

// Decoded at the size that covers the screen: a photo from a phone would otherwise be held at full size.
QPixmap StageWindow::ReadBackground(const QString& path) const {
  return QPixmap::fromImage(ReadPictureScaled(path, ScreenRect().size(), Qt::KeepAspectRatioByExpanding));
}

void StageWindow::ChooseBackground() {
  const std::optional<std::string> file = ChooseCustomBackground(prompter_, session_.Music());
  if (!file) return;
  const QPixmap picture = ReadBackground(NativePath(*file));
  if (picture.isNull()) {
    prompter_.Message(Gb("无法读取这个图片文件，背景图片没有更改。"), Gb("错误提示："), Buttons::Ok, Icon::Error);
    return;
  }
  // Kept for the next start; shown now even when it cannot be kept, and the operator is told.
  const QString problem = KeepCustomBackground(dir_, settings_, NativePath(*file));
  if (!problem.isEmpty())
    prompter_.Message(FromQt(QStringLiteral("背景图片已更换，但下次启动时不会保留：") + problem), Gb("错误提示："),
                      Buttons::Ok, Icon::Warning);
  background_ = picture;
  scaledBackground_ = QPixmap();
  menus_->SetDefaultBackground(false);
  elements_.rolling->hide();
  elements_.prizePicture->hide();
  elements_.centre->show();
  update();
}

void StageWindow::UseDefaultBackground() {
  if (!ForgetCustomBackground(dir_, settings_))
    prompter_.Message(Gb("无法保存设置文件config.ini，下次启动时仍会显示自定义背景。"), Gb("错误提示："), Buttons::Ok,
                      Icon::Warning);
  background_ = QPixmap();
  scaledBackground_ = QPixmap();
  menus_->SetDefaultBackground(true);
  update();
}

void StageWindow::ToggleWinnersWall() {
  if (wall_) {
    wall_->close();
    return;
  }
  if (scaledBackground_.size() != size()) update();
  const QPixmap background = background_.isNull() ? DefaultStageBackground(size()) : FillScreen(background_, size());
  wall_ = new WinnersWall(WallGroupsOf(session_.Winners()), background, this);
  wall_->setAttribute(Qt::WA_DeleteOnClose);
  wall_->setGeometry(rect());
  wall_->show();
  wall_->raise();
  if (Blanked(elements_)) elements_.blank->raise();
}

void StageWindow::SetPhoneInteraction(std::function<void()> open) {
  phoneInteraction_ = std::move(open);
  if (QAction* item = menus_->action(StageCommand::PhoneInteraction)) item->setEnabled(phoneInteraction_ != nullptr);
}

void StageWindow::ShowExtendedDisplayNotice() {
  if (screenChooser_) return screenChooser_();
  prompter_.Message(Gb("此功能为存在多个屏幕输出时直接显示到扩展屏幕而电脑主屏不显示，此功能暂未开放，"
                       "目前可以实现电脑主屏与扩展屏同时显示，如需要此项功能请与开发人员联系，"
                       "可在使用说明书的“联系我们”一页找到联系方式，谢谢！"),
                    Gb("提示信息："), Buttons::Ok, Icon::None);
}

void StageWindow::ShowHelpTips() {
  QPixmap guide(QString::fromLatin1(assets::kHelpGuide));
  HelpTipsWindow window(guide, dir_, openDocument_, OperatorWindow());
  window.exec();
}

void StageWindow::SetModeChecks(bool textMode) {
  menus_->SetTextMode(textMode);
}

void StageWindow::OpenResults(ResultViewMode mode, const PastDraw* past) {
  StageTitles titles{FromQt(elements_.mainTitle->text()), FromQt(elements_.subtitle->text())};
  if (past && !past->record.current) {
    // A past draw is shown under the titles of its own event, when they were kept.
    const HistoryNote note = ReadHistoryNote(past->record);
    if (!note.mainTitle.empty() || !note.subTitle.empty()) titles = {note.mainTitle, note.subTitle};
  }
  const CurrentResults current{session_.Winners(), session_.Draw().pool, session_.Receipts().Summary()};
  ResultWindow window(mode, sound_, clock_, session_.Sounds(), titles, current, this, ScreenRect(),
                      past ? &past->record : nullptr);
  window.AddExportButton([this, past] { ExportWinners(past); });
  using Results = StageSituation::Results;
  shownResults_ = mode == ResultViewMode::WinnerShow    ? Results::WinnerShow
                  : mode == ResultViewMode::LatestAward ? Results::LatestBatch
                                                        : Results::List;
  // The projector's window is out of the operator's reach: the console gets a way to close it.
  if (OperatorWindow() != this && shownResults_ != Results::List)
    AddResultsClosePanel(window, *OperatorWindow(),
                         shownResults_ == Results::WinnerShow ? QStringLiteral("全部中奖人员名单（F6）")
                                                              : QStringLiteral("本批中奖人员（F7）"));
  window.exec();
  shownResults_ = Results::None;
  // Closing the window silences everything.
  session_.AfterSilencingWindow();
}

// ---- Window ----

void StageWindow::paintEvent(QPaintEvent*) {
  if (scaledBackground_.size() != size()) {
    // Filling the whole window without distortion: a wide picture on a 4:3 projector loses its sides.
    scaledBackground_ = background_.isNull() ? DefaultStageBackground(size()) : FillScreen(background_, size());
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, scaledBackground_);
}

void StageWindow::StageDestroyedOnce() {
  if (destroyed_) return;
  destroyed_ = true;
  session_.StageClosing(menus_->TextModeChecked());
  DiscardSnapshot();
}

void StageWindow::closeEvent(QCloseEvent* event) {
  StageDestroyedOnce();
  event->accept();
}

}  // namespace kavrel
