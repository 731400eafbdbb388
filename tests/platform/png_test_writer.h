#pragma once

#include <QImage>
#include <string>

namespace kavrel::testing {

// A PNG of `image` as 8-bit RGBA written with libpng, interlaced (Adam7) when asked: Qt writes
// neither interlaced PNGs nor headers without pictures.
std::string PngBytes(const QImage& image, bool interlaced = false);

// The start of a PNG of the given size whose picture data never follows: enough for the header.
std::string PngHeaderOnly(int width, int height);

}  // namespace kavrel::testing
