#include "platform/png_scaled_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace kavrel {

namespace {

// libpng reports errors by longjmp: the functions that call into it own no object with a destructor,
// and every such object lives in ReadPngScaled, whose frame no jump ever crosses.

void ReadFromDevice(png_structp png, png_bytep out, png_size_t length) {
  auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
  png_size_t done = 0;
  while (done < length) {
    const qint64 n = device->read(reinterpret_cast<char*>(out) + done, static_cast<qint64>(length - done));
    if (n <= 0) png_error(png, "cut short");
    done += static_cast<png_size_t>(n);
  }
}

[[noreturn]] void OnError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Sums of premultiplied RGBA per target pixel.
class AreaSums {
 public:
  AreaSums(QSize source, QSize target)
      : source_(source), target_(target), sums_(static_cast<std::size_t>(target.width()) * target.height() * 4, 0) {}

  // Pixels x = firstX, firstX + stepX, … (count of them) of source row y, as 8-bit RGBA.
  void AddRow(int y, const png_byte* rgba, int firstX, int stepX, int count) {
    const int ty = Cell(y, source_.height(), target_.height());
    std::uint64_t* line = sums_.data() + static_cast<std::size_t>(ty) * target_.width() * 4;
    int tx = Cell(firstX, source_.width(), target_.width());
    qint64 nextCellAt = Start(tx + 1, source_.width(), target_.width());
    for (int i = 0, x = firstX; i < count; ++i, x += stepX, rgba += 4) {
      while (x >= nextCellAt) nextCellAt = Start(++tx + 1, source_.width(), target_.width());
      std::uint64_t* cell = line + static_cast<std::size_t>(tx) * 4;
      const unsigned a = rgba[3];
      if (a == 255) {
        cell[0] += rgba[0];
        cell[1] += rgba[1];
        cell[2] += rgba[2];
      } else {
        cell[0] += (rgba[0] * a + 127) / 255;
        cell[1] += (rgba[1] * a + 127) / 255;
        cell[2] += (rgba[2] * a + 127) / 255;
      }
      cell[3] += a;
    }
  }

  QImage Result() const {
    QImage image(target_, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    for (int ty = 0; ty < target_.height(); ++ty) {
      const qint64 rows =
          Start(ty + 1, source_.height(), target_.height()) - Start(ty, source_.height(), target_.height());
      auto* out = reinterpret_cast<QRgb*>(image.scanLine(ty));
      const std::uint64_t* cell = sums_.data() + static_cast<std::size_t>(ty) * target_.width() * 4;
      for (int tx = 0; tx < target_.width(); ++tx, cell += 4) {
        const qint64 columns =
            Start(tx + 1, source_.width(), target_.width()) - Start(tx, source_.width(), target_.width());
        const std::uint64_t n = static_cast<std::uint64_t>(std::max<qint64>(1, rows * columns));
        auto mean = [n](std::uint64_t sum) { return static_cast<int>((sum + n / 2) / n); };
        out[tx] = qRgba(mean(cell[0]), mean(cell[1]), mean(cell[2]), mean(cell[3]));
      }
    }
    return image;
  }

 private:
  // The target cell of source position p, and the first source position of target cell t.
  static int Cell(qint64 p, qint64 sourceLength, qint64 targetLength) {
    return static_cast<int>(p * targetLength / sourceLength);
  }
  static qint64 Start(qint64 t, qint64 sourceLength, qint64 targetLength) {
    return (t * sourceLength + targetLength - 1) / targetLength;
  }

  QSize source_;
  QSize target_;
  std::vector<std::uint64_t> sums_;
};

// Reads the header and sets the output to 8-bit RGBA; false when that fails.
bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height, int* interlace) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  int depth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, width, height, &depth, &colourType, interlace, nullptr, nullptr);
  png_set_expand(png);  // palette to RGB, small greys to 8 bits, a transparent colour to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  if (!(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  return png_get_channels(png, info) == 4 && png_get_bit_depth(png, info) == 8;
}

// Every row of every pass into the sums; false when the data is damaged or cut short. Without
// interlace handling libpng hands out an interlaced picture's passes as small pictures of their own.
bool ReadRows(png_structp png, png_bytep row, png_uint_32 width, png_uint_32 height, bool interlaced, AreaSums* sums) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int passes = interlaced ? 7 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const png_uint_32 rows = interlaced ? PNG_PASS_ROWS(height, pass) : height;
    const png_uint_32 columns = interlaced ? PNG_PASS_COLS(width, pass) : width;
    if (rows == 0 || columns == 0) continue;  // libpng skips an empty pass itself
    const int firstY = interlaced ? PNG_PASS_START_ROW(pass) : 0;
    const int stepY = interlaced ? PNG_PASS_ROW_OFFSET(pass) : 1;
    const int firstX = interlaced ? PNG_PASS_START_COL(pass) : 0;
    const int stepX = interlaced ? PNG_PASS_COL_OFFSET(pass) : 1;
    for (png_uint_32 r = 0; r < rows; ++r) {
      png_read_row(png, row, nullptr);
      sums->AddRow(firstY + static_cast<int>(r) * stepY, row, firstX, stepX, static_cast<int>(columns));
    }
  }
  return true;
}

struct PngReadStruct {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  ~PngReadStruct() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

}  // namespace

QImage ReadPngScaled(QIODevice* device, QSize target) {
  if (!device || target.isEmpty()) return {};
  PngReadStruct read;
  if (!read.png || !read.info) return {};
  png_set_read_fn(read.png, device, ReadFromDevice);
  // The caller has looked at the size already; this only keeps the arithmetic below in range.
  png_set_user_limits(read.png, 1u << 20, 1u << 20);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int interlace = PNG_INTERLACE_NONE;
  if (!ReadHeader(read.png, read.info, &width, &height, &interlace) || width == 0 || height == 0) return {};
  const QSize source(static_cast<int>(width), static_cast<int>(height));
  target = target.boundedTo(source);
  AreaSums sums(source, target);
  std::vector<png_byte> row(png_get_rowbytes(read.png, read.info));
  if (!ReadRows(read.png, row.data(), width, height, interlace == PNG_INTERLACE_ADAM7, &sums)) return {};
  return sums.Result();
}

}  // namespace kavrel
