#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <vector>

namespace kavrel {

// A QR code of a short text, so that a phone in the audience can read the event seal off the screen.
// The encoding is libqrencode's; this class only keeps its modules and paints them.
class QrCode {
 public:
  // The code of `text` (bytes, 8-bit mode, error correction level M); nullopt when it cannot be made.
  static std::optional<QrCode> Encode(const std::string& text);

  int Width() const { return width_; }  // modules per side
  bool Dark(int x, int y) const { return modules_[static_cast<std::size_t>(y * width_ + x)] != 0; }

  // Black on white, `moduleSize` pixels per module with the four-module quiet zone readers need.
  QImage ToImage(int moduleSize) const;

 private:
  int width_ = 0;
  std::vector<unsigned char> modules_;
};

}  // namespace kavrel
