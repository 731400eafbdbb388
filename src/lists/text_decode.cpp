#include "lists/text_decode.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <algorithm>

#include "storage/codec.h"

namespace kavrel {

namespace {

// True when the bytes are well-formed UTF-8 that holds at least one multi-byte sequence; pure
// ASCII is the same in every encoding and stays as it is.
bool IsMultibyteUtf8(std::string_view s) {
  bool multibyte = false;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int len = 0;
    unsigned int cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(len) > n) return false;
    for (int k = 1; k < len; ++k) {
      const unsigned char t = p[i + static_cast<std::size_t>(k)];
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    multibyte = true;
    i += static_cast<std::size_t>(len);
  }
  return multibyte;
}

std::optional<std::string> Convert(std::string_view bytes, QStringDecoder::Encoding encoding) {
  QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoder.hasError() || text.contains(QChar(0))) return std::nullopt;
  return FromQt(text);
}

}  // namespace

std::optional<std::string> DecodeImportedText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return Convert(bytes.substr(3), QStringDecoder::Utf8);
  if (bytes.starts_with("\xFF\xFE")) return Convert(bytes.substr(2), QStringDecoder::Utf16LE);
  if (bytes.starts_with("\xFE\xFF")) return Convert(bytes.substr(2), QStringDecoder::Utf16BE);
  if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
  if (IsMultibyteUtf8(bytes)) return Convert(bytes, QStringDecoder::Utf8);
  return std::string(bytes);
}

std::vector<std::string> SplitImportedLines(std::string_view text) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::size_t stop = end;
    if (!last && stop > start && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text.substr(start, stop - start));
    start = last ? text.size() : end + 1;
  }
  return lines;
}

}  // namespace kavrel
