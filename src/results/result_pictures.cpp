#include "results/result_pictures.h"

#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QStringList>

namespace kavrel {

namespace {

QString FileName(ResultPicture which) {
  switch (which) {
    case ResultPicture::WindowBackground:
      return QStringLiteral("result_background.jpg");
    case ResultPicture::WinnerShow:
      return QStringLiteral("winner_show_background.jpg");
    case ResultPicture::LatestAward:
      return QStringLiteral("latest_award_background.jpg");
  }
  return {};
}

QImage LoadBuiltIn(ResultPicture which) {
  const QString name = FileName(which);
  for (const QString& prefix : {QStringLiteral(":/pictures/"), QStringLiteral(":/assets/pictures/"),
                                QStringLiteral(":/")}) {
    QImageReader reader(prefix + name);
    QImage image = reader.read();
    if (!image.isNull()) return image;
  }
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
