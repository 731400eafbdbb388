#include "platform/picture_reader.h"

#include <QImageReader>
#include <QLoggingCategory>
#include <QSet>

namespace kavrel {

namespace {

Q_LOGGING_CATEGORY(lcPictures, "kavrel.pictures")

void LogUnreadableOnce(const QString& path, const QString& why) {
  static QSet<QString> logged;
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
    if (scaled.width() < original.width() || scaled.height() < original.height()) reader.setScaledSize(scaled);
  }
  QImage image = reader.read();
  if (image.isNull()) LogUnreadableOnce(path, reader.errorString());
  return image;
}

}  // namespace kavrel
