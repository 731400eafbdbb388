#include <QStringDecoder>
#include <QStringEncoder>

#include "storage/gb18030.h"

namespace kavrel::detail {

// One converter per thread, reset before each use: opening an ICU converter costs more than
// converting a short text, and these run once per cell of a million-row import.
QString DecodeGb18030(std::string_view bytes) {
  thread_local QStringDecoder decoder("GB18030");
  decoder.resetState();
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string EncodeGb18030(const QString& text) {
  thread_local QStringEncoder encoder("GB18030");
  encoder.resetState();
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool Gb18030CoversUnicode() {
  return true;
}

}  // namespace kavrel::detail
