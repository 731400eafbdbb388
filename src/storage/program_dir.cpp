#include "storage/program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

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

// Whether files can be created in `folder`: tried, since permission bits and ACLs (Program Files)
// don't tell the whole story.
bool CanWriteIn(const QString& folder) {
  QTemporaryFile probe(folder + QStringLiteral("/.kavrel-write-probe-XXXXXX"));
  return probe.open();
}

// Copies the tree `from` into `to`, file by file, never over an existing file.
bool CopyMissing(const QString& from, const QString& to) {
  if (!QFileInfo(from).isDir()) return true;
  bool ok = QDir().mkpath(to);
  QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + source.mid(from.size());
    if (it.fileInfo().isDir()) {
      ok = QDir().mkpath(target) && ok;
    } else if (!QFileInfo::exists(target)) {
      ok = QFile::copy(source, target) && ok;
      // Installed defaults are read-only; the user's copies are theirs to change.
      QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    }
  }
  return ok;
}

}  // namespace

ProgramDir::ProgramDir(std::filesystem::path root) : root_(std::move(root)), program_(root_) {}

ProgramDir::ProgramDir(std::filesystem::path root, std::filesystem::path programFolder)
    : root_(std::move(root)), program_(std::move(programFolder)) {}

ProgramDir ProgramDir::FromExecutable() {
  return Choose(FromQPath(QCoreApplication::applicationDirPath()), UserDataFolder());
}

ProgramDir ProgramDir::Choose(const std::filesystem::path& programFolder, const std::filesystem::path& userDataFolder) {
  const ProgramDir portable(programFolder);
  const bool marked = QFileInfo::exists(ToQPath(portable.Path(kInstalledMarker)));
  if (!marked && CanWriteIn(ToQPath(programFolder))) return portable;
  return ProgramDir(userDataFolder, programFolder);
}

std::filesystem::path ProgramDir::UserDataFolder() {
  // GenericDataLocation is $XDG_DATA_HOME (or ~/.local/share) on Linux and %LOCALAPPDATA% on Windows.
  return FromQPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kavrel"));
}

std::filesystem::path ProgramDir::ProgramPath(std::string_view suffix) const {
  return ProgramDir(program_).Path(suffix);
}

bool ProgramDir::FillFromDefaults() const {
  if (!SeparateData()) return true;
  const QString data = ToQPath(root_);
  if (QFileInfo::exists(data)) return true;
  if (!QDir().mkpath(data)) return false;
  bool ok = true;
  for (std::string_view folder : {kConfigDir, kWavDir}) {
    ok = CopyMissing(ToQPath(ProgramPath(folder)), ToQPath(Path(folder))) && ok;
  }
  return ok;
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

namespace {
// The files of an event, as the sample ships them; set.dat first, the others only with it.
constexpr std::string_view kSampleFiles[] = {"set.dat", "jiangx.dat", "shezhijx.dat", "config.ini"};
}  // namespace

bool ProgramDir::HasSampleEvent() const {
  return QFileInfo::exists(ToQPath(ProgramPath(kSampleDir)) + QStringLiteral("/set.dat"));
}

bool ProgramDir::LaySampleEvent() const {
  if (!HasSampleEvent()) return false;
  if (QFileInfo::exists(ToQPath(Path(kSetDat))) || QFileInfo::exists(ToQPath(Path(kAwardTableDat)))) return false;
  if (!EnsureConfigDir()) return false;
  const QString from = ToQPath(ProgramPath(kSampleDir)) + QLatin1Char('/');
  const QString to = ToQPath(Path(kConfigDir)) + QLatin1Char('/');
  bool ok = true;
  for (std::string_view file : kSampleFiles) {
    const QString name = QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()));
    if (!QFileInfo::exists(from + name)) continue;
    // Settings saved before any list are the user's and stay; a batch plan without its award table
    // is stale and gives way to the sample's.
    if (file == "config.ini" && QFileInfo::exists(to + name)) continue;
    QFile::remove(to + name);
    ok = QFile::copy(from + name, to + name) && ok;
    QFile::setPermissions(to + name, QFile::permissions(to + name) | QFile::WriteOwner);
  }
  return ok;
}

std::filesystem::path NativePath(const std::string& gbPath) {
  return FromQPath(Nativize(ToQt(gbPath)));
}

std::string GbPath(const std::filesystem::path& path) {
  return FromQt(ToQPath(path));
}

}  // namespace kavrel
