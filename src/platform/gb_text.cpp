#include "platform/gb_text.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kavrel::platform_detail {

QString QtFromGb(const std::string& gb) {
  QStringDecoder decoder("GB18030");
  return decoder.decode(QByteArrayView(gb.data(), static_cast<qsizetype>(gb.size())));
}

std::string GbFromQt(const QString& text) {
  QStringEncoder encoder("GB18030");
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString NativePath(const std::string& gbPath) {
  QString path = QtFromGb(gbPath);
#ifndef Q_OS_WIN
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
  return QDir::toNativeSeparators(path);
}

QByteArray NativeFileName(const std::string& gbPath) {
  return QFile::encodeName(NativePath(gbPath));
}

}  // namespace kavrel::platform_detail
