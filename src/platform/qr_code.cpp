#include "platform/qr_code.h"

#include <qrencode.h>

#include <QPainter>
#include <algorithm>
#include <memory>

namespace kavrel {

std::optional<QrCode> QrCode::Encode(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeData(static_cast<int>(text.size()), reinterpret_cast<const unsigned char*>(text.data()), 0,
                        QR_ECLEVEL_M),
      &QRcode_free);
  if (!code) return std::nullopt;
  QrCode qr;
  qr.width_ = code->width;
  const std::size_t count = static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width);
  qr.modules_.resize(count);
  // Bit 0 of each byte is the module's colour; the other bits only describe its role.
  for (std::size_t i = 0; i < count; ++i) qr.modules_[i] = code->data[i] & 1u;
  return qr;
}

QImage QrCode::ToImage(int moduleSize) const {
  constexpr int kQuietZone = 4;
  moduleSize = std::max(moduleSize, 1);
  const int side = (width_ + 2 * kQuietZone) * moduleSize;
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int y = 0; y < width_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Dark(x, y))
        painter.fillRect((x + kQuietZone) * moduleSize, (y + kQuietZone) * moduleSize, moduleSize, moduleSize,
                         Qt::black);
  return image;
}

}  // namespace kavrel
