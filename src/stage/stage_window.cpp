#include "stage/stage_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "assets.h"
#include "engine/ports/prompter.h"
#include "engine/ports/sound_port.h"
#include "lists/list_editor_window.h"
#include "lists/photo_list_window.h"
#include "platform/photo_cache.h"
#include "platform/picture_reader.h"
#include "results/result_window.h"
#include "settings/award_settings_window.h"
#include "stage/key_dispatcher.h"
#include "stage/roll_layout.h"
#include "stage/stage_menus.h"
#include "stage/start_from_window.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

QString NativeQPath(const std::string& gbPath) {
  QString path = ToQt(gbPath);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}

}  // namespace

StageWindow::StageWindow(Prompter& prompter, SoundPort& sound, const Clock& clock, const ProgramDir& dir,
                         HelpTipsWindow::OpenDocument openDocument, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint),
      prompter_(prompter),
      sound_(sound),
      clock_(clock),
      dir_(dir),
      openDocument_(std::move(openDocument)),
      settings_(dir.Path(ProgramDir::kConfigIni)),
      photoCache_(std::make_shared<PhotoCache>(dir.Path(PhotoCache::kFolder))),
      controller_(state_, options_, mode_, *this, prompter, sound, clock, dir),
      modes_(controller_, state_, mode_, dir, settings_, prompter, clock, *this) {
  setObjectName(QStringLiteral("StageWindow"));
  setWindowTitle(QStringLiteral("kavrel抽奖"));
  setFocusPolicy(Qt::StrongFocus);
  setGeometry(ScreenRect());

  elements_ = CreateStageElements(this);
  elements_.window = this;
  elements_.rolling->UsePhotoCache(photoCache_);
  menus_ = new StageMenus(this);
  menuBar_ = new StageMenuBar(menus_, this);
  menuBar_->hide();
  elements_.menuBar = menuBar_;
  layoutEditor_ = new LayoutEditor(elements_, this);

  connect(menus_, &StageMenus::commandTriggered, this, &StageWindow::RunCommand);
  connect(elements_.startButton, &QAbstractButton::clicked, this, [this] { RunCommand(StageCommand::Start); });
  connect(elements_.stopButton, &QAbstractButton::clicked, this, [this] { RunCommand(StageCommand::Stop); });

  drawTimer_ = new QTimer(this);
  drawTimer_->setObjectName(QStringLiteral("时钟_抽奖"));
  drawTimer_->setTimerType(Qt::PreciseTimer);
  connect(drawTimer_, &QTimer::timeout, this, [this] { controller_.RollTick(); });

  LayoutStage();  // the first pass, so the stage never shows its elements piled up in a corner

  // Every key pressed on the stage or on any of its controls (or on the operator console) goes to the
  // dispatcher first, so a function key runs its command once whichever control has the focus.
  qApp->installEventFilter(this);
}

StageWindow::~StageWindow() {
  qApp->removeEventFilter(this);
  StageDestroyedOnce();
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
  if (drawTimer_->isActive() || rollPaused_) {
    if (!mode_.textMode)
      PreparePictureRolling(state_.batchSize);
    else if (!state_.pool.empty())
      PrepareTextRolling(state_.batchSize, state_.pool.front());
  }
  elements_.rolling->hide();
  const QPixmap snapshot = CaptureStageSnapshot(this, elements_.rolling->geometry());
  elements_.rolling->SetSnapshot(snapshot);
  elements_.rolling->show();
  elements_.rolling->raise();
}

void StageWindow::SetOperatorWindow(QWidget* window) {
  operatorWindow_ = window;
}

QWidget* StageWindow::OperatorWindow() {
  return operatorWindow_ ? operatorWindow_.data() : this;
}

void StageWindow::StartUp() {
  SetVisible(StageElement::MenuBar, false);
  SetVisible(StageElement::RollingPanel, false);
  FitTitleFonts(elements_, ScreenRect().width());
  // The resume question may come next: let the stage behind it already stand in its places.
  LayoutStage();
  controller_.StartUp();
  modes_.CheckDrawMode();
  LayoutStage();
  RefreshPhotoCache();
  activateWindow();
  setFocus();
}

// The photos the next rolls will show get their thumbnails in the background: at start-up, and after
// anything that may have changed the list or its photos (the list editor, a mode switch).
void StageWindow::RefreshPhotoCache() {
  if (mode_.textMode) {
    photoCache_->Refresh({}, {});
    return;
  }
  // The paths are made on the cache's thread, by the rule the roll uses, so they are the same strings.
  photoCache_->Refresh(
      [folder = mode_.pictureFolder, entries = state_.pool] {
        QStringList paths;
        paths.reserve(static_cast<qsizetype>(entries.size()));
        for (const std::string& entry : entries) paths << detail::ToQPath(PictureFilePath(folder, entry));
        return paths;
      },
      LargestPhotoCell(mode_.pictureRatio43));
}

bool StageWindow::DispatchKeyPress(int virtualKey) {
  const StageCommand command = DispatchKey(virtualKey, state_.Rolling());
  if (command == StageCommand::None) return false;
  RunCommand(command);
  return true;
}

bool StageWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      (static_cast<QWidget*>(watched)->window() == this ||
       (operatorWindow_ && static_cast<QWidget*>(watched)->window() == operatorWindow_))) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int vk = VirtualKeyFromQtKey(key->key());
    if (vk == 0 || DispatchKey(vk, state_.Rolling()) == StageCommand::None) return false;
    // A held key repeats; the draw reacts to presses, not to the repeats.
    if (!key->isAutoRepeat()) DispatchKeyPress(vk);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void StageWindow::RunCommand(StageCommand command) {
  if (!CommandAvailable(command)) return;
  switch (command) {
    case StageCommand::Start:
      controller_.StartPressed();
      break;
    case StageCommand::Stop:
      controller_.StopPressed();
      break;
    case StageCommand::CustomBackground:
      ChooseBackground();
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
      if (controller_.QuitPressed()) close();
      break;
    case StageCommand::ToggleMusic:
      controller_.Music().Toggle();
      break;
    case StageCommand::TextMode:
      modes_.SwitchToText();
      RefreshPhotoCache();
      break;
    case StageCommand::PictureMode:
      modes_.SwitchToPicture();
      RefreshPhotoCache();
      break;
    case StageCommand::ToggleMenuBar:
      ToggleMenuBar();
      break;
    case StageCommand::ExtendedDisplay:
      ShowExtendedDisplayNotice();
      break;
    case StageCommand::Restart:
      controller_.RestartPressed();
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
      controller_.UndoPressed();
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
      controller_.AudienceNumberPressed();
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

void StageWindow::ChooseBackground() {
  const std::optional<std::string> file = ChooseCustomBackground(prompter_, controller_.Music());
  if (!file) return;
  // Decoded at the screen's size: a photo from a phone would otherwise be held at full size.
  const QPixmap picture =
      QPixmap::fromImage(ReadPictureScaled(NativeQPath(*file), ScreenRect().size(), Qt::IgnoreAspectRatio));
  if (picture.isNull()) {
    prompter_.Message(Gb("无法读取这个图片文件，背景图片没有更改。"), Gb("错误提示："), Buttons::Ok, Icon::Error);
    return;
  }
  background_ = picture;
  scaledBackground_ = QPixmap();
  elements_.rolling->hide();
  elements_.prizePicture->hide();
  elements_.centre->show();
  update();
}

void StageWindow::StartFrom() {
  StartFromWindow window(state_, prompter_, OperatorWindow());
  window.exec();
  controller_.ShowReadyState();
}

// The music pauses while the awards are edited; afterwards the draw is rebuilt from the files
// unless a draw is still under way, and the stage takes up the new titles when confirmed.
// A roll under way ends first, with nothing recorded: the window may change the draw order or
// the plan, and a roll left going would be recorded against whatever line comes next.
void StageWindow::OpenAwardSettings() {
  if (state_.Rolling()) EndRoll();
  controller_.SuspendStageMusic();
  AwardSettingsWindow window({dir_, settings_, prompter_, state_.drawStarted, options_}, OperatorWindow());
  window.exec();
  controller_.AfterAwardSettings(window.Confirmed(), window.Model().RestartRequested());
}

// The list is edited with the music paused; a completed save (or no draw under way) starts the draw
// afresh from the new files. A roll under way ends first with nothing recorded: the list it draws
// from may be about to change.
void StageWindow::EditList() {
  if (state_.Rolling()) EndRoll();
  controller_.SuspendStageMusic();
  if (mode_.textMode) {
    ListEditorWindow window({dir_, prompter_, clock_, state_.drawStarted, listFind_}, OperatorWindow());
    window.exec();
    controller_.AfterListEditor(window.Editor().RestartRequested());
    return;
  }
  // Picture mode: the window only reports whether the draw must start again; the mode check then
  // reads the folder it saved (and may open the editor once more when the list is still empty).
  const int run = ++listEditorRuns_;
  bool restart = false;
  {
    PhotoListWindow window(
        {dir_, settings_, prompter_, clock_, state_.drawStarted, mode_.pictureFolder, mode_.pictureRatio43}, sound_,
        cameras_, OperatorWindow());
    window.exec();
    restart = window.DrawRestartWanted();
  }
  if (restart) controller_.ListReplaced();
  modes_.CheckDrawMode();
  if (run != listEditorRuns_) return;  // the editor opened again from the check has reloaded the draw
  controller_.AfterListEditor();
  RefreshPhotoCache();
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

// ---- The roll around the mode switch's questions ----

void StageWindow::PauseRoll() {
  rollPaused_ = drawTimer_->isActive();
  drawTimer_->stop();
}

void StageWindow::ResumeRoll() {
  if (rollPaused_) drawTimer_->start(drawPeriodMs_);
  rollPaused_ = false;
}

void StageWindow::EndRoll() {
  rollPaused_ = false;
  controller_.AbortRoll();
}

// ---- StageHooks ----

QWidget* StageWindow::Element(StageElement element) const {
  switch (element) {
    case StageElement::MainTitle:
      return elements_.mainTitle;
    case StageElement::SubTitle:
      return elements_.subtitle;
    case StageElement::AwardLabel:
      return elements_.award;
    case StageElement::PrizeLabel:
      return elements_.prizeName;
    case StageElement::DrawerLabel:
      return elements_.drawer;
    case StageElement::StatusLabel:
      return elements_.status;
    case StageElement::NumberLabel:
      return elements_.centre;
    case StageElement::Marquee:
      return elements_.marquee;
    case StageElement::StartButton:
      return elements_.startButton;
    case StageElement::StopButton:
      return elements_.stopButton;
    case StageElement::RollingPanel:
      return elements_.rolling;
    case StageElement::PrizePicture:
      return elements_.prizePicture;
    case StageElement::MenuBar:
      return menuBar_;
  }
  return nullptr;
}

void StageWindow::FitAndCentre(QLabel* label, bool vertically) {
  const QSize caption = MeasureCaption(label);
  const int pad = StageLabel::kEffectPadding;
  label->resize(caption.width() + pad, caption.height() + pad);
  const QRect screen = ScreenRect();
  const int top = vertically ? (screen.height() - label->height()) / 2 : label->y();
  label->move((screen.width() - label->width()) / 2, top);
}

void StageWindow::SetText(StageElement element, const std::string& text) {
  const QString q = CappedCaption(ToQt(text), element == StageElement::Marquee ? kMaxMarqueeLength : kMaxCaptionLength);
  const int screenWidth = ScreenRect().width();
  switch (element) {
    case StageElement::StatusLabel:
      elements_.status->setText(q);
      RecentreStatus(elements_, screenWidth);
      break;
    case StageElement::DrawerLabel:
      elements_.drawer->setText(q);
      RecentreDrawer(elements_, screenWidth);
      break;
    case StageElement::PrizeLabel:
      elements_.prizeName->setText(q);
      FitPrizeName(elements_, q, screenWidth);
      break;
    case StageElement::Marquee:
      elements_.marquee->SetCaption(q);
      break;
    case StageElement::StartButton:
      elements_.startButton->setText(q);
      break;
    case StageElement::StopButton:
      elements_.stopButton->setText(q);
      break;
    case StageElement::NumberLabel:
      // "抽奖完毕！" replaces "按空格键开始抽取" without a layout pass: keep it centred.
      elements_.centre->setText(q);
      if (!q.isEmpty()) FitAndCentre(elements_.centre, true);
      break;
    case StageElement::MainTitle:
    case StageElement::SubTitle:
    case StageElement::AwardLabel: {
      auto* label = static_cast<QLabel*>(Element(element));
      label->setText(ElidedCaption(q, label->font(), screenWidth - 50));
      FitAndCentre(label, false);
      break;
    }
    case StageElement::RollingPanel:
    case StageElement::PrizePicture:
    case StageElement::MenuBar:
      break;  // no text of their own
  }
}

void StageWindow::SetVisible(StageElement element, bool visible) {
  if (element == StageElement::MenuBar) {
    menuBarShown_ = visible;
    menus_->SetMenuBarShown(visible);
  }
  if (QWidget* w = Element(element)) w->setVisible(visible);
}

bool StageWindow::IsVisible(StageElement element) const {
  const QWidget* w = Element(element);
  // Asked before the window is first shown too, so this is the element's own visibility.
  return w && !w->isHidden();
}

void StageWindow::LayoutStage() {
  LayoutStageWidgets(elements_, ScreenRect());
  elements_.marquee->SetScreenWidth(ScreenRect().width());
}

void StageWindow::StartDrawTimer(int periodMs) {
  drawPeriodMs_ = std::max(1, periodMs);
  drawTimer_->start(drawPeriodMs_);
}

void StageWindow::StopDrawTimer() {
  const bool wasRolling = drawTimer_->isActive() || rollPaused_;
  drawTimer_->stop();
  rollPaused_ = false;
  if (wasRolling) elements_.rolling->FinishRoll();
}

void StageWindow::PrepareTextRolling(int batchSize, const std::string& firstEntry) {
  textCache_.clear();
  elements_.rolling->PrepareTextRolling(batchSize, ToQt(firstEntry), RollColourFor(rollColour_, false));
}

void StageWindow::PreparePictureRolling(int batchSize) {
  textCache_.clear();
  photoPathCache_.clear();
  elements_.rolling->PreparePictureRolling(batchSize, mode_.pictureRatio43, RollColourFor(rollColour_, true));
}

void StageWindow::CaptureSnapshot() {
  const QPixmap snapshot = CaptureStageSnapshot(this, elements_.rolling->geometry());
  elements_.rolling->SetSnapshot(snapshot);
  // The snapshot lives in memory; the file is kept for anything that looks for it on disk. It is
  // written with the roll's first painted tick rather than here, so the start press is not kept
  // waiting for the encoder and the file on disk means the candidates are rolling.
  snapshotToSave_ = snapshot;
  elements_.rolling->show();
  elements_.rolling->raise();
}

void StageWindow::DiscardSnapshot() {
  elements_.rolling->SetSnapshot(QPixmap());
  snapshotToSave_ = QPixmap();
  DeleteFile(dir_.Path(ProgramDir::kStageSnapshot));
}

void StageWindow::BeginTickPaint() {
  if (!elements_.centre->text().isEmpty()) elements_.centre->clear();
  elements_.rolling->BeginTick();
  if (!snapshotToSave_.isNull()) {
    snapshotToSave_.save(detail::ToQPath(dir_.Path(ProgramDir::kStageSnapshot)), "JPG", 92);
    snapshotToSave_ = QPixmap();
  }
}

const QString& StageWindow::CachedText(const std::string& gb) {
  auto it = textCache_.find(gb);
  if (it == textCache_.end()) it = textCache_.emplace(gb, ToQt(gb)).first;
  return it->second;
}

const QString& StageWindow::CachedPhotoPath(const std::string& entry) {
  auto it = photoPathCache_.find(entry);
  if (it == photoPathCache_.end())
    it = photoPathCache_.emplace(entry, detail::ToQPath(PictureFilePath(mode_.pictureFolder, entry))).first;
  return it->second;
}

void StageWindow::PaintCandidate(int i, const std::string& text) {
  if (mode_.textMode)
    elements_.rolling->PaintCandidate(i, CachedText(text));
  else
    elements_.rolling->PaintCandidate(i, CachedText(text), CachedPhotoPath(text));
}

PictureCheck StageWindow::ShowPrizePicture(const std::string& path) {
  // Only the header is read here (microseconds); the panel decodes the picture in the background.
  const QString native = path.empty() ? QString() : NativeQPath(path);
  const PictureHeader header = ReadPictureHeader(native);
  PictureCheck check;
  if (!header.readable) {
    check.result = PictureCheck::Unreadable;
  } else if (header.tooLarge) {
    check = {PictureCheck::TooLarge, header.size.width(), header.size.height()};
  }
  // A picture that will not show leaves the panel empty, as an award without picture does.
  ShowPrize(elements_, check.result == PictureCheck::Shows ? native : QString(), true);
  return check;
}

void StageWindow::ShowWinnerShow() {
  OpenResults(ResultViewMode::WinnerShow);
}

void StageWindow::OpenResults(ResultViewMode mode, const PastDraw* past) {
  StageTitles titles{FromQt(elements_.mainTitle->text()), FromQt(elements_.subtitle->text())};
  if (past && !past->record.current) {
    // A past draw is shown under the titles of its own event, when they were kept.
    const HistoryNote note = ReadHistoryNote(past->record);
    if (!note.mainTitle.empty() || !note.subTitle.empty()) titles = {note.mainTitle, note.subTitle};
  }
  ResultWindow window(mode, dir_, sound_, clock_, controller_.Sounds(), titles, state_.pool, this, ScreenRect(),
                      past ? &past->record : nullptr);
  window.AddExportButton([this, past] { ExportWinners(past); });
  window.exec();
  // Closing the window silences everything.
  controller_.Music().AfterSilencingWindow();
}

// ---- Window ----

void StageWindow::paintEvent(QPaintEvent*) {
  if (scaledBackground_.size() != size()) {
    // Stretched to the whole window without keeping the aspect ratio, as the design shows it.
    scaledBackground_ = background_.isNull()
                            ? DefaultStageBackground(size())
                            : background_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  QPainter painter(this);
  painter.drawPixmap(0, 0, scaledBackground_);
}

void StageWindow::StageDestroyedOnce() {
  if (destroyed_) return;
  destroyed_ = true;
  controller_.StageDestroyed(menus_->TextModeChecked());
}

void StageWindow::closeEvent(QCloseEvent* event) {
  StageDestroyedOnce();
  event->accept();
}

}  // namespace kavrel
