#include "platform/picture_reader.h"

#include <QImageReader>
#include <QLoggingCategory>
#include <QMutex>
#include <QSet>

namespace kavrel {

namespace {

Q_LOGGING_CATEGORY(lcPictures, "kavrel.pictures")

void LogUnreadableOnce(const QString& path, const QString& why) {
  // Pictures are read on worker threads too (a roll decodes its photos in parallel).
  static QMutex mutex;
  static QSet<QString> logged;
  const QMutexLocker lock(&mutex);
  if (logged.contains(path)) return;
  logged.insert(path);
  qCWarning(lcPictures, "picture cannot be read: %s (%s)", qUtf8Printable(path), qUtf8Printable(why));
}

}  // namespace

QImage ReadPictureScaled(const QString& path, QSize box, Qt::AspectRatioMode mode) {
  if (path.isEmpty()) return {};
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  const QSize original = reader.size();
  if (original.isValid() && !original.isEmpty() && box.isValid() && !box.isEmpty()) {
    // The orientation tag may turn the photo; the scaled size is that of the stored picture.
    QSize target = box;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) target.transpose();
    const QSize scaled = original.scaled(target, mode);
    // Set before read(), with no clip rectangle, so that JPEG decodes at 1/2, 1/4 or 1/8 scale. The
    // quality stays at its default: below 50 the JPEG reader finishes that reduced decode with
    // nearest-neighbour scaling, which turns fine patterns into moire, to save about a tenth of the time.
    if (scaled.width() < original.width() || scaled.height() < original.height()) reader.setScaledSize(scaled);
  }
  QImage image = reader.read();
  if (image.isNull()) LogUnreadableOnce(path, reader.errorString());
  return image;
}

}  // namespace kavrel
