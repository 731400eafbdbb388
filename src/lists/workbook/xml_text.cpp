#include "lists/workbook/xml_text.h"

#include <QByteArray>

namespace kavrel::workbook {

void AppendUtf8(std::string& out, QStringView text) {
  const qsizetype n = text.size();
  const char16_t* p = text.utf16();
  qsizetype i = 0;
  while (i < n && p[i] < 0x80) ++i;
  if (i == n) {
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    for (qsizetype k = 0; k < n; ++k) out[at + static_cast<std::size_t>(k)] = static_cast<char>(p[k]);
    return;
  }
  const QByteArray bytes = text.toUtf8();
  out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string ToUtf8(QStringView text) {
  std::string out;
  AppendUtf8(out, text);
  return out;
}

std::string CollectText(QXmlStreamReader& xml, QStringView skip) {
  std::string out;
  int depth = 0;
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::StartElement:
        if (xml.name() == skip) {
          xml.skipCurrentElement();
        } else {
          ++depth;
        }
        break;
      case QXmlStreamReader::EndElement:
        if (depth == 0) return out;
        --depth;
        break;
      case QXmlStreamReader::Characters:
        AppendUtf8(out, xml.text());
        break;
      default:
        break;
    }
  }
  return out;
}

void DecodeOoxmlEscapes(std::string& text) {
  if (text.find("_x") == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      unsigned value = 0;
      bool hex = true;
      for (std::size_t k = i + 2; k < i + 6; ++k) {
        const char c = text[k];
        value <<= 4;
        if (c >= '0' && c <= '9')
          value |= static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
          value |= static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
          value |= static_cast<unsigned>(c - 'A' + 10);
        else
          hex = false;
      }
      if (hex) {
        const QByteArray bytes = QString(QChar(static_cast<char16_t>(value))).toUtf8();
        out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  text = std::move(out);
}

}  // namespace kavrel::workbook
