// The stage as the draw engine's StageHooks: the texts, visibilities, the draw timer and the paint
// of each roll tick.
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "engine/pick.h"
#include "engine/plan.h"
#include "platform/photo_cache.h"
#include "platform/picture_reader.h"
#include "settings/roll_style_setting.h"
#include "stage/roll_layout.h"
#include "stage/stage_menus.h"
#include "stage/stage_window.h"
#include "stage/styled_roll.h"
#include "storage/codec.h"
#include "storage/data_pictures.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

// The entries the names' size is chosen for: the longest of the pool (in bytes, which in GB18030 runs
// with the width: a Chinese character takes two, a digit one), so whoever is picked fits its column.
QStringList LongestEntries(const std::vector<std::string>& pool) {
  constexpr std::size_t kSamples = 6;
  std::vector<const std::string*> longest;
  for (const std::string& entry : pool) {
    if (longest.size() == kSamples && entry.size() <= longest.back()->size()) continue;
    auto at = std::upper_bound(longest.begin(), longest.end(), entry.size(),
                               [](std::size_t size, const std::string* e) { return size > e->size(); });
    longest.insert(at, &entry);
    if (longest.size() > kSamples) longest.pop_back();
  }
  QStringList samples;
  for (const std::string* e : longest) samples << ToQt(*e);
  return samples;
}

}  // namespace

// A picture path as the design writes it (backslashes, GB18030) for Qt's file functions.
QString StageWindow::NativePath(const std::string& gbPath) {
  QString path = ToQt(gbPath);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}

QWidget* StageWindow::Element(StageElement element) const {
  return ElementWidget(elements_, element);
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
    if (menuHost_) {
      menuBar_->hide();
      menuHost_(visible);
      return;
    }
  }
  if (OperatorControls::Governs(element)) {
    operatorControls_.Want(element, visible);
    visible = operatorControls_.Shown(element);
  }
  // The roll's background is the stage as it was before the panel covered it.
  if (element == StageElement::RollingPanel && visible) CaptureSnapshot();
  if (QWidget* w = Element(element)) w->setVisible(visible);
  if (element == StageElement::RollingPanel && !visible) DiscardSnapshot();
}

bool StageWindow::IsVisible(StageElement element) const {
  if (OperatorControls::Governs(element)) return operatorControls_.Wanted(element);
  const QWidget* w = Element(element);
  // Asked before the window is first shown too, so this is the element's own visibility.
  return w && !w->isHidden();
}

void StageWindow::LayoutStage() {
  LayoutStageWidgets(elements_, ScreenRect());
  elements_.marquee->SetScreenWidth(ScreenRect().width());
  audienceNotes_->Refresh();
}

// The roll's ticks are the stage's own: its timer runs while the draw rolls and stops when it is
// frozen (a question over the roll) or over; a roll that ended, however, finishes its show.
void StageWindow::DrawChanged(const DrawSession&, DrawChanges changes) {
  if (!changes.Any(DrawChange::Phase)) return;
  const DrawState& draw = session_.Draw();
  if (draw.phase != DrawPhase::Rolling)
    drawTimer_->stop();
  else if (!drawTimer_->isActive())
    drawTimer_->start(std::max(1, session_.TickPeriod()));
  if (rollUnderWay_ && !draw.RollUnderWay()) elements_.rolling->FinishRoll();
  rollUnderWay_ = draw.RollUnderWay();
}

void StageWindow::PrepareTextRolling(int batchSize, const std::string& firstEntry) {
  textCache_.clear();
  const std::vector<std::string>& pool = session_.Draw().pool;
  QStringList samples = LongestEntries(pool);
  samples << ToQt(firstEntry);
  // The award's roll style; the sphere and the card wall show a sample of the pool (masked as the
  // candidates are when masking is on, so no hidden digit shows on them).
  const RollStyle style = RollStyleFromName(ToQt(LoadRollStyle(settings_, (session_.Draw().currentLine).award)));
  QStringList names;
  if (style != RollStyle::Classic) {
    const std::size_t step = std::max<std::size_t>(1, pool.size() / StyledRoll::kMaxSphereNames);
    const DrawOptions& o = session_.Rules();
    for (std::size_t i = 0; i < pool.size(); i += step)
      names << ToQt(o.maskOn ? MaskText(pool[i], o.maskFrom, o.maskTo) : pool[i]);
  }
  elements_.rolling->SetRollStyle(style, names);
  elements_.rolling->PrepareTextRolling(batchSize, samples, RollColourFor(rollColour_, false));
}

void StageWindow::PreparePictureRolling(int batchSize) {
  textCache_.clear();
  photoPathCache_.clear();
  elements_.rolling->PreparePictureRolling(batchSize, session_.Mode().pictureRatio43, RollColourFor(rollColour_, true));
}

void StageWindow::CaptureSnapshot() {
  // The notes are live; a copy of them in the roll's background would outlast what they say.
  audienceNotes_->hide();
  const QPixmap snapshot =
      elements_.rolling->geometry().isEmpty() ? QPixmap() : GrabStage(elements_, elements_.rolling->geometry());
  elements_.rolling->SetSnapshot(snapshot);
  // The snapshot lives in memory; the file is kept for anything that looks for it on disk. It is
  // written with the roll's first painted tick rather than here, so the start press is not kept
  // waiting for the encoder and the file on disk means the candidates are rolling.
  snapshotToSave_ = snapshot;
  elements_.rolling->show();
  elements_.rolling->raise();
  // Above the roll: the room sees the rows and the attempt of the batch while it rolls.
  audienceNotes_->Refresh();
  if (Blanked(elements_)) elements_.blank->raise();
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

const QString& StageWindow::CachedText(std::string_view gb) {
  auto it = textCache_.find(gb);
  if (it == textCache_.end()) it = textCache_.emplace(std::string(gb), ToQt(gb)).first;
  return it->second;
}

const QString& StageWindow::CachedPhotoPath(std::string_view entry) {
  auto it = photoPathCache_.find(entry);
  if (it == photoPathCache_.end()) {
    std::string key(entry);
    QString path = detail::ToQPath(PictureFilePath(session_.Mode().pictureFolder, key));
    it = photoPathCache_.emplace(std::move(key), std::move(path)).first;
  }
  return it->second;
}

void StageWindow::ShowCandidates(const std::vector<std::string_view>& candidates) {
  BeginTickPaint();
  const bool textMode = session_.Mode().textMode;
  int i = 0;
  for (std::string_view text : candidates) {
    ++i;
    if (textMode)
      elements_.rolling->PaintCandidate(i, CachedText(text));
    else
      elements_.rolling->PaintCandidate(i, CachedText(text), CachedPhotoPath(text));
  }
}

PictureCheck StageWindow::ShowPrizePicture(const std::string& path) {
  // Only the header is read here (microseconds); the panel decodes the picture in the background.
  // Stored relative to the data folder, or (set up before pictures were kept there) a full path.
  const QString native = path.empty() ? QString() : NativePath(ResolveStoredPicture(dir_, path));
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

}  // namespace kavrel
