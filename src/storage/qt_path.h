#pragma once

// Conversions between std::filesystem paths and Qt's file names; internal to storage.

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>
#include <type_traits>

namespace kavrel::detail {

// A path's native form is UTF-16 on Windows and bytes in the locale's encoding elsewhere; the branch
// is chosen by that type, so the code stays the same on every system. `Native` only makes the
// branches depend on the type, so the one that does not apply is never compiled.
template <typename Native = std::filesystem::path::string_type>
QString ToQPath(const std::filesystem::path& path) {
  const Native& native = path.native();
  if constexpr (std::is_same_v<Native, std::wstring>)
    return QString::fromStdWString(native);
  else
    return QFile::decodeName(QByteArray::fromStdString(native));
}

template <typename Native = std::filesystem::path::string_type>
std::filesystem::path FromQPath(const QString& path) {
  if constexpr (std::is_same_v<Native, std::wstring>)
    return std::filesystem::path(path.toStdWString());
  else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace kavrel::detail
