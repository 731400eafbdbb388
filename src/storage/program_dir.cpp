#include "storage/program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "storage/codec.h"
#include "storage/qt_path.h"

namespace kavrel {

namespace {

using detail::FromQPath;
using detail::ToQPath;

// Stored suffixes use backslashes; on this platform they become the native separator.
QString Nativize(QString path) {
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return QDir::toNativeSeparators(path);
}

}  // namespace

ProgramDir::ProgramDir(std::filesystem::path root) : root_(std::move(root)) {}

ProgramDir ProgramDir::FromExecutable() {
  return ProgramDir(FromQPath(QCoreApplication::applicationDirPath()));
}

std::filesystem::path ProgramDir::Path(std::string_view suffix) const {
  const QString root = ToQPath(root_);
  const QString tail = Nativize(QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size())));
  return FromQPath(root + tail);
}

std::string ProgramDir::Resolve(const std::string& gbStoredRelative) const {
  QString tail = Nativize(ToQt(gbStoredRelative));
  // Stored paths begin with a backslash; one typed without it still names a file below the root.
  if (!tail.isEmpty() && !tail.startsWith(QDir::separator())) tail.prepend(QDir::separator());
  return FromQt(ToQPath(root_) + tail);
}

std::string ProgramDir::RootGb() const {
  return FromQt(ToQPath(root_));
}

bool ProgramDir::EnsureConfigDir() const {
  return QDir().mkpath(ToQPath(Path(kConfigDir)));
}

std::filesystem::path NativePath(const std::string& gbPath) {
  return FromQPath(Nativize(ToQt(gbPath)));
}

std::string GbPath(const std::filesystem::path& path) {
  return FromQt(ToQPath(path));
}

}  // namespace kavrel
