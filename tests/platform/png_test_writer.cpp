#include "png_test_writer.h"

#include <png.h>

#include <stdexcept>

namespace kavrel::testing {

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

[[noreturn]] void OnError(png_structp, png_const_charp message) {
  throw std::runtime_error(message);
}

struct Writer {
  std::string bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
  png_infop info = png_create_info_struct(png);
  Writer() { png_set_write_fn(png, &bytes, Append, Flush); }
  ~Writer() { png_destroy_write_struct(&png, &info); }
};

}  // namespace

std::string PngBytes(const QImage& image, bool interlaced) {
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  Writer w;
  png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(rgba.width()), static_cast<png_uint_32>(rgba.height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(w.png, w.info);
  const int passes = png_set_interlace_handling(w.png);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < rgba.height(); ++y) png_write_row(w.png, rgba.constScanLine(y));
  png_write_end(w.png, nullptr);
  return w.bytes;
}

std::string PngHeaderOnly(int width, int height) {
  Writer w;
  png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(w.png, w.info);
  static const png_byte kIdat[] = {'I', 'D', 'A', 'T', '\0'};
  static const png_byte kIend[] = {'I', 'E', 'N', 'D', '\0'};
  png_write_chunk(w.png, kIdat, reinterpret_cast<const png_byte*>("\x78\x9c"), 2);
  png_write_chunk(w.png, kIend, nullptr, 0);
  return w.bytes;
}

}  // namespace kavrel::testing
