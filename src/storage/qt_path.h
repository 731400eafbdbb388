#pragma once

// Conversions between std::filesystem paths and Qt's file names; internal to storage.

#include <QFile>
#include <QString>
#include <filesystem>

namespace kavrel::detail {

inline QString ToQPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

inline std::filesystem::path FromQPath(const QString& path) {
#ifdef _WIN32
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace kavrel::detail
