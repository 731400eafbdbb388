#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace kavrel {

// A picture decoded straight at the size it is drawn at, never larger: JPEG decodes at a reduced
// scale, so a 48-megapixel phone photo costs a few megabytes instead of meeting Qt's image
// allocation limit (and showing nothing). `box` is the drawing size: Qt::KeepAspectRatio fits the
// picture inside it, Qt::KeepAspectRatioByExpanding covers it, Qt::IgnoreAspectRatio fills it.
// The content decides the format, so a BMP named .jpg still loads. A picture that cannot be read
// gives a null image and is logged once per file, not at every roll. Safe to call from any thread.
QImage ReadPictureScaled(const QString& path, QSize box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);

}  // namespace kavrel
