#include "storage/codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kavrel {

namespace {
// GB18030 covers all of Unicode, so nothing is lost in either direction.
constexpr const char* kCodec = "GB18030";
}  // namespace

std::string Gb(std::string_view utf8) {
  return FromQt(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString ToQt(std::string_view gb) {
  QStringDecoder decoder(kCodec);
  return decoder.decode(QByteArrayView(gb.data(), static_cast<qsizetype>(gb.size())));
}

QString ToQt(const std::string& gb) {
  return ToQt(std::string_view(gb));
}

std::string FromQt(const QString& text) {
  QStringEncoder encoder(kCodec);
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace kavrel
