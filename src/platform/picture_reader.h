#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

namespace kavrel {

// The most pixels a picture may have to be shown at all (a 10000 × 10000 picture). Larger ones cost
// seconds of decoding however small they are drawn, and a camera gives far fewer.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;

// What a picture file's header says, read without decoding the picture (microseconds).
struct PictureHeader {
  bool readable = false;  // a picture of a format we read, with a size
  QSize size;
  QByteArray format;      // "png", "jpeg", … as Qt names it
  bool tooLarge = false;  // more pixels than are ever decoded (see MaxPicturePixels)
};
PictureHeader ReadPictureHeader(const QString& path);
PictureHeader ReadPictureHeader(QIODevice* device);

// The pixel cap of a format: kMaxPicturePixels for JPEG (decoded at a reduced scale) and PNG (decoded
// row by row), a fifth of it for formats Qt must decode whole first.
qint64 MaxPicturePixels(const QByteArray& format);

// A picture decoded straight at the size it is drawn at, never larger: JPEG decodes at a reduced
// scale and a large PNG row by row, so a 48-megapixel phone photo or an 8K PNG costs a few megabytes
// instead of meeting Qt's image allocation limit (and showing nothing). `box` is the drawing size:
// Qt::KeepAspectRatio fits the picture inside it, Qt::KeepAspectRatioByExpanding covers it,
// Qt::IgnoreAspectRatio fills it. The content decides the format, so a BMP named .jpg still loads. A
// picture that cannot be read or is too large (ReadPictureHeader) gives a null image and is logged
// once per file, not at every roll. Safe to call from any thread; large pictures take long, so
// windows call it off their own thread.
QImage ReadPictureScaled(const QString& path, QSize box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);
// The same from a device (read from its current position; it must be able to seek back there).
QImage ReadPictureScaled(QIODevice* device, QSize box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);

}  // namespace kavrel
