#include <QStringDecoder>
#include <QStringEncoder>

#include "storage/gb18030.h"

namespace kavrel::detail {

QString DecodeGb18030(std::string_view bytes) {
  QStringDecoder decoder("GB18030");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string EncodeGb18030(const QString& text) {
  QStringEncoder encoder("GB18030");
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace kavrel::detail
