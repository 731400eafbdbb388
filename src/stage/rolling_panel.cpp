#include "stage/rolling_panel.h"

#include <QPainter>
#include <QScreen>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/photo_cache.h"
#include "platform/picture_reader.h"
#include "stage/stage_look.h"

namespace kavrel {
namespace {

// Memory bounds of the per-roll caches: the names of a large pool fit; beyond that the cache starts
// afresh rather than growing without limit. 128 MB hold about 1,100 photos of the largest cell, 1,700
// of a 40-photo roll at 1920 x 1080.
constexpr qint64 kMaxTextBytes = 96ll << 20;
constexpr qint64 kMaxPhotoBytes = 128ll << 20;
constexpr int kShadowOffset = 2;

// One photo for its cell, and whether it came from the photo cache.
struct CellPhoto {
  QImage image;
  bool cached = false;
};

// The photo of `path` filling `cell`: the cache's thumbnail when it has one (a fraction of a millisecond),
// else decoded from the file straight at the cell's size (JPEG decodes at a reduced scale, far cheaper
// than the full photo, yet milliseconds for a camera photo). Works on QImage only, so it runs on any
// thread.
CellPhoto DecodePhoto(const PhotoCache* cache, const QString& path, QSize cell, QSize thumbnailBox) {
  if (path.isEmpty() || cell.isEmpty()) return {};
  if (cache) {
    QImage thumbnail = cache->Thumbnail(path, thumbnailBox);
    if (!thumbnail.isNull()) return {CoverCell(std::move(thumbnail), cell), true};
  }
  return {CoverCell(ReadPictureScaled(path, cell, Qt::KeepAspectRatioByExpanding), cell), false};
}

// The ink a row of names must hold: a full-height CJK character, the samples' own ink (digits, Latin
// descenders), and a fifth of the ink again as the space between two rows.
struct RowMetrics {
  int height = 0;
  int baseline = 0;
};
RowMetrics RowFor(const QFontMetrics& fm, const QStringList& samples) {
  QRect ink = fm.tightBoundingRect(QStringLiteral("国"));
  for (const QString& s : samples) {
    if (!s.isEmpty()) ink = ink.united(fm.tightBoundingRect(s));
  }
  const int space = std::max(2, ink.height() / 5);
  return {ink.height() + space, space / 2 - ink.top()};
}

// A single name may take this share of the area's height: larger reads as a mistake, not as a show.
constexpr double kMaxRowShare = 0.42;

QColor RimFor(const QColor& c) {
  return c.lightness() >= 110 ? QColor(70, 0, 8, 200) : QColor(255, 250, 230, 220);
}

}  // namespace

RollingPanel::RollingPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("画板_滚动"));
  style_ = StageFont(kFaceYaHei, 36, true);
  font_ = RollFontAt(48);
  frameTimer_.setSingleShot(true);
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
  revealTimer_.setInterval(16);
  revealTimer_.setTimerType(Qt::PreciseTimer);
  connect(&revealTimer_, &QTimer::timeout, this, [this] {
    update();
    if (stoppedAtMs_ < 0 || rollClock_.elapsed() - stoppedAtMs_ > StyledRoll::kRevealMs + 50) revealTimer_.stop();
  });
  sinceFrame_.start();
}

void RollingPanel::SetSnapshot(const QPixmap& snapshot) {
  snapshot_ = snapshot;
  // A snapshot that covers the panel hides the stage behind it, so the stage need not paint there.
  setAttribute(Qt::WA_OpaquePaintEvent,
               !snapshot_.isNull() && !snapshot_.hasAlpha() && snapshot_.deviceIndependentSize().toSize() == size());
  update();
}

QFont RollingPanel::RollFontAt(int pixelSize) const {
  QFont f = style_;
  f.setPixelSize(std::max(1, pixelSize));
  return f;
}

void RollingPanel::SetNameFace(const QFont& face) {
  style_ = face;
}

void RollingPanel::SetRollStyle(RollStyle style, const QStringList& names) {
  nextStyle_ = style;
  styleNames_ = style == RollStyle::Classic ? QStringList() : names;
}

void RollingPanel::PrepareTextRolling(int count, const QStringList& samples, const QColor& colour) {
  pictureMode_ = false;
  colour_ = colour;
  const QSize area = size();
  textLayout_ = FitTextLayout(
      count, area,
      [&](int pixelSize) {
        const QFontMetrics fm(RollFontAt(pixelSize));
        int width = 0;
        for (const QString& s : samples) width = std::max(width, fm.horizontalAdvance(s));
        // The rim around each name takes a pixel on either side.
        return QSize(width + 2, RowFor(fm, samples).height);
      },
      static_cast<int>(area.height() * kMaxRowShare));
  font_ = RollFontAt(textLayout_.pixelSize);
  baseline_ = RowFor(QFontMetrics(font_), samples).baseline;
  styled_.Prepare(styleNames_.isEmpty() ? RollStyle::Classic : nextStyle_, styleNames_, area, style_, colour);
  ResetRoll();
}

QRect RollingPanel::TextCell(int index, const QString& text) const {
  const QFontMetrics fm(font_);
  const QSize box(fm.horizontalAdvance(text), textLayout_.rowHeight);
  return {TextPosition(textLayout_, index, size(), box), box};
}

void RollingPanel::PreparePictureRolling(int count, bool ratio43, const QColor& colour) {
  pictureMode_ = true;
  colour_ = colour;
  pictureLayout_ = PreparePictureLayout(count, size(), ratio43);
  styled_.Prepare(RollStyle::Classic, {}, size(), style_, colour);
  font_ = StageFont(kFaceYaHei, pictureLayout_.pointSize, true);
  photos_.clear();
  photoBytes_ = 0;
  photosFromCache_ = 0;
  ResetRoll();
}

void RollingPanel::ResetRoll() {
  texts_.clear();
  textBytes_ = 0;
  metrics_.emplace(font_);
  candidates_.clear();
  setAccessibleName(QString());
  stoppedAtMs_ = -1;
  revealTimer_.stop();
  rollClock_.start();
  update();
}

void RollingPanel::RequestFrame() {
  if (frameTimer_.isActive()) return;
  // One repaint per display frame: ticks in between only change what the next frame shows.
  const qreal hz = screen() ? screen()->refreshRate() : 60.0;
  const int frameMs = std::clamp(static_cast<int>(1000.0 / (hz > 1 ? hz : 60.0)), 4, 33);
  frameTimer_.start(static_cast<int>(std::max<qint64>(0, frameMs - sinceFrame_.elapsed())));
}

void RollingPanel::BeginTick() {
  candidates_.clear();
  RequestFrame();
}

void RollingPanel::PaintCandidate(int index, const QString& text, const QString& photoPath) {
  if (index < 1) return;
  if (static_cast<int>(candidates_.size()) < index) candidates_.resize(index);
  candidates_[index - 1] = Candidate{text, photoPath};
  RequestFrame();
}

void RollingPanel::FinishRoll() {
  setAccessibleName(Candidates().join(QStringLiteral("、")));
  frameTimer_.stop();
  if (styled_.Active() && !pictureMode_ && stoppedAtMs_ < 0) {
    stoppedAtMs_ = rollClock_.elapsed();
    revealTimer_.start();
  }
  update();
}

QStringList RollingPanel::Candidates() const {
  QStringList list;
  for (const Candidate& c : candidates_) list << c.text;
  return list;
}

void RollingPanel::SetEditBorder(bool on) {
  editBorder_ = on;
  update();
}

const RollingPanel::Text& RollingPanel::TextFor(const QString& text) {
  auto it = texts_.find(text);
  if (it != texts_.end()) return it.value();
  if (textBytes_ > kMaxTextBytes) {
    texts_.clear();
    textBytes_ = 0;
  }
  if (!metrics_) metrics_.emplace(font_);
  Text t;
  // Text mode: a box of the row's height with the ink in its middle; over photos, the font's line.
  const int lineHeight = pictureMode_ ? metrics_->height() : textLayout_.rowHeight;
  t.size = QSize(metrics_->horizontalAdvance(text), lineHeight);
  const qreal dpr = devicePixelRatioF();
  const QSize box = t.size + QSize(kShadowOffset + 2, kShadowOffset);
  t.pixmap = QPixmap(box * dpr);
  t.pixmap.setDevicePixelRatio(dpr);
  t.pixmap.fill(Qt::transparent);
  {
    QPainter p(&t.pixmap);
    p.setFont(font_);
    // A rim in the contrasting colour, and a soft shadow under light names, keep the names readable on
    // the red and the gold part of the stage and over any photo. The rim is the text drawn around
    // itself: the glyphs come from the glyph cache, which is many times faster than stroking outlines
    // (a roll renders every name of its pool once).
    const QColor rim = RimFor(colour_);
    const int baseline = pictureMode_ ? metrics_->ascent() : baseline_;
    p.setPen(rim);
    if (colour_.lightness() >= 110) p.drawText(QPoint(1 + kShadowOffset, baseline + kShadowOffset), text);
    for (const QPoint d : {QPoint(-1, -1), QPoint(0, -1), QPoint(1, -1), QPoint(-1, 0), QPoint(1, 0), QPoint(-1, 1),
                           QPoint(0, 1), QPoint(1, 1)}) {
      p.drawText(QPoint(1, baseline) + d, text);
    }
    p.setPen(colour_);
    p.drawText(QPoint(1, baseline), text);
  }
  textBytes_ += static_cast<qint64>(box.width() * dpr) * static_cast<qint64>(box.height() * dpr) * 4;
  return texts_.insert(text, std::move(t)).value();
}

void RollingPanel::CachePhotos() {
  const int shown = std::min(static_cast<int>(candidates_.size()), pictureLayout_.count);
  QStringList missing;
  const auto collect = [&] {
    missing.clear();
    QSet<QString> seen;
    for (int i = 0; i < shown; ++i) {
      const QString& path = candidates_[i].photoPath;
      if (!photos_.contains(path) && !seen.contains(path)) {
        seen.insert(path);
        missing << path;
      }
    }
  };
  collect();
  if (missing.isEmpty()) return;
  const QSize cell(pictureLayout_.photoWidth, pictureLayout_.photoHeight);
  const qint64 cellBytes = static_cast<qint64>(cell.width()) * cell.height() * 4;
  if (photoBytes_ + cellBytes * missing.size() > kMaxPhotoBytes) {
    photos_.clear();
    photoBytes_ = 0;
    collect();
  }
  // Thumbnails decode in a fraction of a millisecond, but a photo not cached yet (a 12-megapixel JPEG
  // takes milliseconds even at a reduced scale, the whole file is still read) can be among them, so the
  // photos a frame lacks are decoded on every core at once; the calling thread takes its share, so this
  // never waits behind other work in the pool. Only the pixmaps are made here, on the GUI thread.
  const QSize box = LargestPhotoCell(pictureLayout_.ratio43);
  const auto decode = [cache = photoCache_.get(), cell, box](const QString& path) {
    return DecodePhoto(cache, path, cell, box);
  };
  QList<CellPhoto> images = missing.size() == 1 ? QList<CellPhoto>{decode(missing.front())}
                                                : QtConcurrent::blockingMapped<QList<CellPhoto>>(missing, decode);
  for (qsizetype i = 0; i < missing.size(); ++i) {
    if (images[i].cached) ++photosFromCache_;
    StorePhoto(missing[i], std::move(images[i].image));
  }
}

// A photo that cannot be read is kept as an empty pixmap too, so it is not retried every frame.
void RollingPanel::StorePhoto(const QString& path, QImage image) {
  photoBytes_ += image.sizeInBytes();
  photos_.insert(path, image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image)));
}

const QPixmap& RollingPanel::PhotoFor(const QString& path) {
  auto it = photos_.find(path);
  if (it != photos_.end()) return it.value();
  if (photoBytes_ > kMaxPhotoBytes) {
    photos_.clear();
    photoBytes_ = 0;
  }
  const QSize cell(pictureLayout_.photoWidth, pictureLayout_.photoHeight);
  CellPhoto photo = DecodePhoto(photoCache_.get(), path, cell, LargestPhotoCell(pictureLayout_.ratio43));
  if (photo.cached) ++photosFromCache_;
  StorePhoto(path, std::move(photo.image));
  return photos_.find(path).value();
}

void RollingPanel::PaintText(QPainter& painter, const Text& text, QPoint topLeft) const {
  painter.drawPixmap(topLeft, text.pixmap);
}

void RollingPanel::PaintStyled(QPainter& painter) {
  if (stoppedAtMs_ < 0) {
    styled_.PaintRolling(painter, Candidates(), rollClock_.elapsed());
    return;
  }
  const double t = std::clamp((rollClock_.elapsed() - stoppedAtMs_) / double(StyledRoll::kRevealMs), 0.0, 1.0);
  const double ease = 1 - std::pow(1 - t, 3);
  styled_.PaintBackdrop(painter, stoppedAtMs_, ease);
  // The winners come forward from where they stood to the places of the classic grid, full size.
  const QSize area = size();
  int columnWidth = 0;
  for (const Candidate& c : candidates_) {
    if (!c.text.isEmpty()) columnWidth = std::max(columnWidth, TextFor(c.text).size.width());
  }
  for (int i = 0; i < static_cast<int>(candidates_.size()) && i < textLayout_.count; ++i) {
    const Candidate& c = candidates_[static_cast<std::size_t>(i)];
    if (c.text.isEmpty()) continue;
    const Text& text = TextFor(c.text);
    const QPointF target = QPointF(TextPosition(textLayout_, i + 1, area, text.size, columnWidth)) +
                           QPointF(text.size.width() / 2.0, text.size.height() / 2.0);
    const QPointF from = styled_.RevealOrigin(c.text, stoppedAtMs_);
    const QPointF at = from + (target - from) * ease;
    const double scale = 0.25 + 0.75 * ease;
    // Cards turn over: the name opens from its edge.
    const double flip =
        styled_.Style() == RollStyle::CardWall ? std::max(0.02, std::sin(ease * std::numbers::pi / 2)) : 1.0;
    painter.save();
    painter.translate(at);
    painter.scale(scale * flip, scale);
    painter.drawPixmap(QPointF(-text.size.width() / 2.0, -text.size.height() / 2.0), text.pixmap);
    painter.restore();
  }
}

void RollingPanel::PaintFrame(QPainter& painter) {
  if (!snapshot_.isNull()) painter.drawPixmap(0, 0, snapshot_);
  if (styled_.Active() && !pictureMode_) {
    PaintStyled(painter);
    if (editBorder_) {
      painter.setPen(QPen(QColor(255, 224, 138), 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    return;
  }
  if (pictureMode_) CachePhotos();
  const QSize area = size();
  int columnWidth = 0;
  if (!pictureMode_ && textLayout_.columns >= 3) {
    for (const Candidate& c : candidates_) {
      if (!c.text.isEmpty()) columnWidth = std::max(columnWidth, TextFor(c.text).size.width());
    }
  }
  for (int i = 0; i < static_cast<int>(candidates_.size()); ++i) {
    const Candidate& c = candidates_[i];
    const int index = i + 1;
    if (pictureMode_) {
      if (index > pictureLayout_.count) break;
      const QRect cell = PhotoRect(pictureLayout_, index, area);
      const QPixmap& photo = PhotoFor(c.photoPath);
      if (!photo.isNull()) {
        painter.drawPixmap(cell.topLeft(), photo);
      } else {
        // No photo: the cell stays visible as an empty frame so the name still reads as one of the batch.
        painter.setPen(QPen(QColor(255, 224, 138, 160), 1));
        painter.setBrush(QColor(0, 0, 0, 40));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
      }
      if (c.text.isEmpty()) continue;
      const Text& t = TextFor(c.text);
      PaintText(painter, t, PhotoCaptionPosition(pictureLayout_, cell, t.size));
    } else {
      if (index > textLayout_.count || c.text.isEmpty()) continue;
      const Text& t = TextFor(c.text);
      PaintText(painter, t, TextPosition(textLayout_, index, area, t.size, columnWidth));
    }
  }
  if (editBorder_) {
    painter.setPen(QPen(QColor(255, 224, 138), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void RollingPanel::paintEvent(QPaintEvent*) {
  sinceFrame_.restart();
  QPainter painter(this);
  PaintFrame(painter);
}

QPixmap CaptureStageSnapshot(QWidget* stage, const QRect& area) {
  if (!stage || area.isEmpty()) return {};
  return stage->grab(area);
}

}  // namespace kavrel
