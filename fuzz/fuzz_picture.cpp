// Pictures from outside (prize pictures, photos, backgrounds): the header read that decides whether
// a picture is shown at all, the decode at the drawn size, and the row-by-row PNG decode, which is
// forced here for small pictures too.
#include <QBuffer>

#include "fuzz_support.h"
#include "platform/picture_reader.h"
#include "platform/png_scaled_reader.h"

using namespace kavrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::EnsureApp();
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const PictureHeader header = ReadPictureHeader(&buffer);
  buffer.seek(0);
  const QImage image = ReadPictureScaled(&buffer, {64, 48});
  if (header.tooLarge && !image.isNull()) fuzz::Fail("a picture over the cap was decoded");
  if (!image.isNull() && (image.width() > 64 || image.height() > 48)) fuzz::Fail("decoded larger than drawn");
  buffer.seek(0);
  const QImage rows = ReadPngScaled(&buffer, {7, 5});
  if (!rows.isNull() && (rows.width() > 7 || rows.height() > 5)) fuzz::Fail("row decode larger than asked");
  return 0;
}
