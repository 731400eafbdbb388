#include "stage/prize_picture_panel.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

#include "platform/picture_reader.h"

namespace kavrel {
namespace {

QImage BlendWithKey(QImage picture, const QImage& behindIn, QRgb key, QRgb background) {
  picture = picture.convertToFormat(QImage::Format_ARGB32);
  const QImage behind = behindIn.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const QRgb* stage = y < behind.height() ? reinterpret_cast<const QRgb*>(behind.constScanLine(y)) : nullptr;
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb rgb = line[x] | 0xff000000u;
      if (rgb != key && rgb != background) continue;
      line[x] = (stage && x < behind.width()) ? stage[x] : qRgba(0, 0, 0, 0);
    }
  }
  return picture;
}

}  // namespace

QImage BlendIntoStage(const QImage& picture, const QImage& behind, const QColor& background) {
  if (picture.isNull()) return {};
  const QRgb key = picture.valid(1, 1) ? (picture.pixel(1, 1) | 0xff000000u) : background.rgb();
  return BlendWithKey(picture, behind, key, background.rgb());
}

PrizePicturePanel::PrizePicturePanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("画板_奖品图片"));
}

const PrizePicturePanel::Decoded* PrizePicturePanel::Cached(const QString& path) const {
  const QFileInfo file(path);
  for (const Decoded& d : cache_)
    if (d.path == path && d.size == size() && d.modified == file.lastModified() && d.bytes == file.size()) return &d;
  return nullptr;
}

void PrizePicturePanel::ShowPicture(const QString& path, const QImage& behind) {
  ++request_;
  loading_ = false;
  if (path.isEmpty()) {
    ClearPicture();
    hide();
    return;
  }
  if (const Decoded* cached = Cached(path)) return Compose(cached->image, behind);
  // Until the picture is ready the panel shows the stage behind it, as if it were not there.
  Compose(QImage(), behind);
  if (size().isEmpty()) return;
  loading_ = true;
  const int request = request_;
  const QFileInfo file(path);
  Decoded decoded{path, size(), file.lastModified(), file.size(), {}};
  auto* watcher = new QFutureWatcher<QImage>(this);
  connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, request, behind, decoded]() mutable {
    watcher->deleteLater();
    decoded.image = watcher->result();
    cache_.push_front(decoded);
    if (cache_.size() > 8) cache_.pop_back();
    if (request != request_) return;  // another picture was asked for meanwhile
    loading_ = false;
    Compose(decoded.image, behind);
  });
  const QSize box = size();
  watcher->setFuture(QtConcurrent::run([path, box] { return ReadPictureScaled(path, box, Qt::KeepAspectRatio); }));
}

void PrizePicturePanel::Compose(const QImage& loaded, const QImage& behind) {
  if (loaded.isNull() || size().isEmpty()) {
    picture_ = behind.convertToFormat(QImage::Format_ARGB32);
    update();
    return;
  }
  // Keep the prize's proportions: the picture is fitted into the panel and the margins are painted in
  // the panel's background colour, which the blend then replaces with the stage.
  const QImage scaled = loaded.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QImage canvas(size(), QImage::Format_ARGB32);
  canvas.fill(BackgroundColour());
  {
    QPainter p(&canvas);
    p.drawImage((width() - scaled.width()) / 2, (height() - scaled.height()) / 2, scaled);
  }
  const QRgb key = scaled.valid(1, 1) ? (scaled.pixel(1, 1) | 0xff000000u) : BackgroundColour().rgb();
  picture_ = BlendWithKey(canvas, behind, key, BackgroundColour().rgb());
  update();
}

void PrizePicturePanel::ClearPicture() {
  picture_ = QImage();
  update();
}

void PrizePicturePanel::SetEditBorder(bool on) {
  editBorder_ = on;
  update();
}

void PrizePicturePanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!picture_.isNull()) p.drawImage(0, 0, picture_);
  if (editBorder_) {
    p.setPen(QPen(QColor(255, 224, 138), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

}  // namespace kavrel
