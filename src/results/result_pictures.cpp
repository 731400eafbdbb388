#include "results/result_pictures.h"

#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#ifdef KAVREL_HAVE_ASSETS
#include "assets.h"
#endif

namespace kavrel {

namespace {

QImage LoadBuiltIn([[maybe_unused]] ResultPicture which) {
#ifdef KAVREL_HAVE_ASSETS
  const char* path = nullptr;
  switch (which) {
    case ResultPicture::WindowBackground:
      path = assets::kResultBackground;
      break;
    case ResultPicture::WinnerShow:
      path = assets::kWinnerShowBackground;
      break;
    case ResultPicture::LatestAward:
      path = assets::kLatestAwardBackground;
      break;
  }
  if (path) return QImageReader(QString::fromLatin1(path)).read();
#endif
  return {};
}

// Deep red rising to gold, a soft glow in the upper middle; for the winner show a darker band
// at the top keeps the yellow titles readable.
QPixmap PaintFallback(ResultPicture which, QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  QLinearGradient base(0, 0, 0, size.height());
  base.setColorAt(0.0, QColor(0x8E, 0x0A, 0x16));
  base.setColorAt(0.7, QColor(0xC8, 0x10, 0x2E));
  base.setColorAt(1.0, QColor(0xF2, 0xB6, 0x32));
  p.fillRect(pixmap.rect(), base);
  QRadialGradient glow(size.width() / 2.0, size.height() * 0.3, size.width() * 0.45);
  glow.setColorAt(0.0, QColor(0xFF, 0xE0, 0x8A, which == ResultPicture::LatestAward ? 150 : 70));
  glow.setColorAt(1.0, QColor(0xFF, 0xE0, 0x8A, 0));
  p.fillRect(pixmap.rect(), glow);
  if (which == ResultPicture::WinnerShow) p.fillRect(QRect(0, 0, size.width(), 150), QColor(0x3A, 0x02, 0x08, 160));
  return pixmap;
}

}  // namespace

QPixmap LoadResultPicture(ResultPicture which, QSize size) {
  if (size.isEmpty()) return {};
  const QImage image = LoadBuiltIn(which);
  if (image.isNull()) return PaintFallback(which, size);
  return QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace kavrel
