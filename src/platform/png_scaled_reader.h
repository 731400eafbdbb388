#pragma once

#include <QIODevice>
#include <QImage>
#include <QSize>

namespace kavrel {

// A PNG decoded row by row straight into `target` (every target pixel the average of the source
// pixels it covers), so a picture far larger than Qt would decode whole shows at the size it is drawn
// at. Memory holds one source row and the target, never the whole picture; the time follows the
// picture's size, so callers cap that first. Interlaced pictures are read pass by pass into the same
// averages. A null image when the data is no PNG, is damaged or cut short, or `target` is empty.
// The device is read from its current position.
QImage ReadPngScaled(QIODevice* device, QSize target);

}  // namespace kavrel
