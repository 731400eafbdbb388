#include "storage/codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>
#include <optional>

#include "storage/gb18030.h"

namespace kavrel {

std::string Gb(std::string_view utf8) {
  return FromQt(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// GB18030 covers all of Unicode, so nothing is lost in either direction.
QString ToQt(std::string_view gb) {
  return detail::DecodeGb18030(gb);
}

QString ToQt(const std::string& gb) {
  return ToQt(std::string_view(gb));
}

std::string FromQt(const QString& text) {
  return detail::EncodeGb18030(text);
}

std::string CutAtCharacter(std::string_view gb, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < gb.size()) {
    const auto lead = static_cast<unsigned char>(gb[end]);
    std::size_t n = 1;
    if (lead >= 0x81 && lead != 0xFF && end + 1 < gb.size()) {
      const auto second = static_cast<unsigned char>(gb[end + 1]);
      n = second >= 0x30 && second <= 0x39 ? 4 : 2;  // GB18030 four-byte characters have a digit second
    }
    if (end + n > maxBytes) break;
    end += n;
  }
  return std::string(gb.substr(0, std::min(end, gb.size())));
}

bool LooksLikeUtf8(std::string_view bytes) {
  bool multiByte = false;
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte, which rule out overlong forms and surrogates
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > n) return false;
    if (s[i + 1] < low || s[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k)
      if (s[i + k] < 0x80 || s[i + k] > 0xBF) return false;
    // A GBK character can be a valid two-byte UTF-8 sequence ("尾" reads as "β"), but Chinese in
    // UTF-8 takes three bytes: only those count as evidence.
    if (length >= 3) multiByte = true;
    i += length;
  }
  return multiByte;
}

std::optional<bool> Utf16WithoutMark(std::string_view bytes) {
  // No other text the program meets holds a NUL byte; UTF-16 holds one in every ASCII character
  // (digits, blanks, line ends), always on the same side of the pair. A character whose low or high
  // byte is 0 ("一" is U+4E00) puts a few on the other side; a picture or a workbook renamed .txt
  // puts them on both and has whole NUL characters.
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return std::nullopt;
  std::size_t zeroLow = 0;   // NULs where UTF-16LE keeps a character's high byte
  std::size_t zeroHigh = 0;  // NULs at even offsets
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const bool even = bytes[i] == '\0';
    const bool odd = bytes[i + 1] == '\0';
    if (even && odd) return std::nullopt;
    zeroHigh += even;
    zeroLow += odd;
  }
  if (zeroLow == 0 && zeroHigh == 0) return std::nullopt;
  if (zeroLow >= 4 * zeroHigh) return true;
  if (zeroHigh >= 4 * zeroLow) return false;
  return std::nullopt;
}

namespace {

std::optional<std::string> DecodeUtf16(std::string_view bytes, bool littleEndian) {
  QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                         QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoder.hasError()) return std::nullopt;
  return FromQt(text);
}

}  // namespace

std::string DecodeExternalText(std::string_view bytes) {
  auto size = [](std::string_view b) { return static_cast<qsizetype>(b.size()); };
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    return FromQt(QString::fromUtf8(bytes.data(), size(bytes)));
  }
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    const auto encoding = bytes[0] == '\xFF' ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
    bytes.remove_prefix(2);
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return FromQt(decoder.decode(QByteArrayView(bytes.data(), size(bytes))));
  }
  if (const auto littleEndian = Utf16WithoutMark(bytes))
    if (auto text = DecodeUtf16(bytes, *littleEndian)) return std::move(*text);
  if (LooksLikeUtf8(bytes)) return FromQt(QString::fromUtf8(bytes.data(), size(bytes)));
  return std::string(bytes);
}

}  // namespace kavrel
