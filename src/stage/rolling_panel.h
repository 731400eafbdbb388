#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "stage/roll_layout.h"
#include "stage/styled_roll.h"

namespace kavrel {

class PhotoCache;

// The rolling and winner area (画板_滚动). A roll is prepared once (font, colour, rows and columns or
// photo grid for the batch size), then every draw tick replaces the candidates with BeginTick() and
// PaintCandidate(), and the panel repaints at most once per display frame however fast the ticks come
// (a 1 ms timer would otherwise spend its time painting frames nobody sees). Each frame paints the in-memory snapshot
// of the stage behind the area, then the candidates: as text, or as photos with the name over them. Photos are decoded
// and scaled once per roll and reused by every frame, from the photo cache's thumbnails where it has them (a photo
// not cached yet is decoded from its file); a photo that cannot be read leaves its cell empty and the name is still
// painted. When the roll stops the candidates stay, and FinishRoll() gives the panel an accessible name listing
// them, since the winners are painted rather than held in a widget text.
class RollingPanel : public QWidget {
  Q_OBJECT

 public:
  explicit RollingPanel(QWidget* parent = nullptr);

  // Where photos are looked up first (thumbnails made ahead); none: every photo is decoded from its file.
  void UsePhotoCache(std::shared_ptr<const PhotoCache> cache) { photoCache_ = std::move(cache); }

  // The picture of the stage behind the area, taken when the roll starts; painted under everything.
  void SetSnapshot(const QPixmap& snapshot);
  const QPixmap& Snapshot() const { return snapshot_; }

  // Text mode: `count` candidates per tick. The widest of `samples` (the pool's longest entries, and
  // its first as the draw masks it) decides rows, columns and the font size: the largest at which the
  // batch fills the area. `colour` is yellow unless a custom rolling colour is in use.
  void PrepareTextRolling(int count, const QStringList& samples, const QColor& colour = QColor(255, 255, 0));
  void PrepareTextRolling(int count, const QString& sample, const QColor& colour = QColor(255, 255, 0)) {
    PrepareTextRolling(count, QStringList{sample}, colour);
  }

  // The look of the next text rolls: the classic grid, a sphere or a card wall of `names` (the pool's
  // names, of which the sphere and the wall show a sample). Picture mode always rolls the classic grid.
  void SetRollStyle(RollStyle style, const QStringList& names = {});
  RollStyle CurrentRollStyle() const { return styled_.Style(); }
  // After the stop: whether the winners are still coming forward.
  bool Revealing() const { return revealTimer_.isActive(); }

  // The operator's face, weight and slant for the names; the size is always the layout's.
  void SetNameFace(const QFont& face);
  const QFont& NameFace() const { return style_; }

  // Where candidate `index` of this roll stands, for a text measuring `text` in the rolling font: the
  // box its name is drawn in (the row's height, the name's width).
  QRect TextCell(int index, const QString& text) const;

  // Picture mode: `count` photos per tick, 4:3 when `ratio43`, else 3:4; names in `colour` (blue unless
  // a custom rolling colour is in use). Forgets the photos scaled for the previous roll.
  void PreparePictureRolling(int count, bool ratio43, const QColor& colour = QColor(0, 0, 255));

  // Start of a tick: the candidates of the previous tick are dropped (the snapshot shows again).
  void BeginTick();

  // Candidate `index` (1-based) of this tick: its text (masked in text mode when masking is on) and, in
  // picture mode, the photo file to show. Schedules a repaint.
  void PaintCandidate(int index, const QString& text, const QString& photoPath = QString());

  // The roll has stopped: the painted candidates are the winners; they become the accessible name.
  void FinishRoll();

  // The texts of the candidates now on the panel, in index order.
  QStringList Candidates() const;

  bool PictureMode() const { return pictureMode_; }
  const TextRollLayout& TextLayout() const { return textLayout_; }
  const PictureRollLayout& PictureLayout() const { return pictureLayout_; }
  const QFont& RollFont() const { return font_; }
  QColor RollColour() const { return colour_; }

  // Layout-edit mode draws a single-line border around the area.
  void SetEditBorder(bool on);
  bool EditBorder() const { return editBorder_; }

  // Paints one frame (what paintEvent does); public for the benchmark and offscreen tests.
  void PaintFrame(QPainter& painter);

  // Photos decoded and scaled during this roll (a failed read counts too, so it is not retried).
  int CachedPhotoCount() const { return static_cast<int>(photos_.size()); }
  // Of those, the ones that came from the photo cache rather than from the photo's file.
  int PhotosFromCache() const { return photosFromCache_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Candidate {
    QString text;
    QString photoPath;
  };
  // A name rendered once per roll, shadow included: the pool is finite, so after the first ticks a
  // frame only blits prepared pictures, which is many times cheaper than rasterising the glyphs.
  struct Text {
    QPixmap pixmap;
    QSize size;  // the caption's measured size, which the placement uses
  };

  void ResetRoll();
  void RequestFrame();
  const Text& TextFor(const QString& text);
  // The rolling font at `pixelSize`, in the operator's style.
  QFont RollFontAt(int pixelSize) const;
  // Decodes the photos of this tick's candidates that are not cached yet, all at once and in parallel.
  void CachePhotos();
  const QPixmap& PhotoFor(const QString& path);
  void StorePhoto(const QString& path, QImage image);
  void PaintText(QPainter& painter, const Text& text, QPoint topLeft) const;
  // The sphere or the card wall: the rolling frame, or the winners coming forward after the stop.
  void PaintStyled(QPainter& painter);

  QPixmap snapshot_;
  QFont style_;
  QFont font_;
  int baseline_ = 0;  // text mode: the baseline within a row, so the names' ink sits in its middle
  QColor colour_{255, 255, 0};
  bool pictureMode_ = false;
  bool editBorder_ = false;
  TextRollLayout textLayout_;
  PictureRollLayout pictureLayout_;
  std::vector<Candidate> candidates_;
  QHash<QString, QPixmap> photos_;
  qint64 photoBytes_ = 0;
  int photosFromCache_ = 0;
  std::shared_ptr<const PhotoCache> photoCache_;
  QHash<QString, Text> texts_;
  qint64 textBytes_ = 0;
  std::optional<QFontMetrics> metrics_;
  RollStyle nextStyle_ = RollStyle::Classic;
  QStringList styleNames_;
  StyledRoll styled_;
  QElapsedTimer rollClock_;
  qint64 stoppedAtMs_ = -1;  // when the roll stopped; -1 while it rolls
  QTimer revealTimer_;
  QTimer frameTimer_;
  QElapsedTimer sinceFrame_;
};

// The stage behind `area` of `stage`, as the rolling area's snapshot. Hidden children (the rolling
// panel itself while it is hidden) do not appear in it.
QPixmap CaptureStageSnapshot(QWidget* stage, const QRect& area);

}  // namespace kavrel
