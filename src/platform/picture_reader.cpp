#include "platform/picture_reader.h"

#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMutex>
#include <QSet>
#include <algorithm>

#include "platform/png_scaled_reader.h"

namespace kavrel {

namespace {

Q_LOGGING_CATEGORY(lcPictures, "kavrel.pictures")

// Above this a PNG is decoded row by row: Qt would decode it whole (at 8 bytes a pixel for 16-bit
// pictures) before scaling it down, and refuses what passes its allocation limit.
qint64 WholePngPixels() {
  constexpr qint64 kMost = 16'000'000;
  const qint64 limitBytes = qint64{QImageReader::allocationLimit()} * 1024 * 1024;
  return limitBytes > 0 ? std::min(kMost, limitBytes / 16) : kMost;
}

void LogUnreadableOnce(const QString& path, const QString& why) {
  // Pictures are read on worker threads too (a roll decodes its photos in parallel).
  static QMutex mutex;
  static QSet<QString> logged;
  const QMutexLocker lock(&mutex);
  if (logged.contains(path)) return;
  logged.insert(path);
  qCWarning(lcPictures, "picture cannot be read: %s (%s)", qUtf8Printable(path), qUtf8Printable(why));
}

PictureHeader HeaderOf(QImageReader& reader) {
  PictureHeader header;
  header.format = reader.format();
  header.size = reader.size();
  header.readable = !header.format.isEmpty() && header.size.isValid() && !header.size.isEmpty();
  header.tooLarge =
      header.readable && qint64{header.size.width()} * header.size.height() > MaxPicturePixels(header.format);
  return header;
}

QImage Read(QIODevice* device, QSize box, Qt::AspectRatioMode mode, QString* why) {
  const qint64 start = device->pos();
  QImageReader reader(device);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  const PictureHeader header = HeaderOf(reader);
  if (header.tooLarge) {
    *why = QStringLiteral("%1 x %2 pixels, more than can be shown").arg(header.size.width()).arg(header.size.height());
    return {};
  }
  const QSize original = header.size;
  if (header.readable && box.isValid() && !box.isEmpty()) {
    // The orientation tag may turn the photo; the scaled size is that of the stored picture.
    QSize target = box;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) target.transpose();
    const QSize scaled = original.scaled(target, mode);
    const bool smaller = scaled.width() < original.width() || scaled.height() < original.height();
    if (smaller && header.format == "png" && qint64{original.width()} * original.height() > WholePngPixels()) {
      if (!device->seek(start)) {
        *why = QStringLiteral("cannot read the picture again");
        return {};
      }
      QImage image = ReadPngScaled(device, scaled);
      if (image.isNull()) *why = QStringLiteral("damaged PNG");
      return image;
    }
    // Set before read(), with no clip rectangle, so that JPEG decodes at 1/2, 1/4 or 1/8 scale. The
    // quality stays at its default: below 50 the JPEG reader finishes that reduced decode with
    // nearest-neighbour scaling, which turns fine patterns into moire, to save about a tenth of the time.
    if (smaller) reader.setScaledSize(scaled);
  }
  QImage image = reader.read();
  if (image.isNull()) *why = reader.errorString();
  return image;
}

}  // namespace

qint64 MaxPicturePixels(const QByteArray& format) {
  return format == "jpeg" || format == "png" ? kMaxPicturePixels : kMaxPicturePixels / 5;
}

PictureHeader ReadPictureHeader(QIODevice* device) {
  if (!device) return {};
  QImageReader reader(device);
  reader.setDecideFormatFromContent(true);
  return HeaderOf(reader);
}

PictureHeader ReadPictureHeader(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
  return ReadPictureHeader(&file);
}

QImage ReadPictureScaled(QIODevice* device, QSize box, Qt::AspectRatioMode mode) {
  if (!device) return {};
  QString why;
  return Read(device, box, mode, &why);
}

QImage ReadPictureScaled(const QString& path, QSize box, Qt::AspectRatioMode mode) {
  if (path.isEmpty()) return {};
  QFile file(path);
  QString why;
  QImage image;
  if (file.open(QIODevice::ReadOnly))
    image = Read(&file, box, mode, &why);
  else
    why = file.errorString();
  if (image.isNull()) LogUnreadableOnce(path, why);
  return image;
}

}  // namespace kavrel
