#include "storage/data_pictures.h"

#include <QFile>
#include <filesystem>
#include <system_error>

#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPicturesDir = "\\pictures";

std::optional<std::string> ReadWhole(const fs::path& path) {
  QFile file(detail::ToQPath(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes.toStdString();
}

// `path` below `root`, as "\a\b.png" in GB18030; nullopt when it is not inside.
std::optional<std::string> InsideFolder(const fs::path& root, const fs::path& path) {
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(root, ec);
  if (ec) return std::nullopt;
  const fs::path full = fs::weakly_canonical(path, ec);
  if (ec) return std::nullopt;
  const fs::path relative = full.lexically_relative(base);
  if (relative.empty() || relative.is_absolute() || *relative.begin() == "..") return std::nullopt;
  std::string stored;
  for (const auto& part : relative) stored += "\\" + GbPath(part);
  return stored;
}

}  // namespace

bool IsDataRelativePath(const std::string& gbStored) {
  return gbStored.size() > 1 && gbStored[0] == '\\' && gbStored[1] != '\\';
}

std::string ResolveStoredPicture(const ProgramDir& dir, const std::string& gbStored) {
  if (!IsDataRelativePath(gbStored)) return gbStored;
  return dir.Resolve(gbStored);
}

KeptPicture KeepPictureInDataFolder(const ProgramDir& dir, const std::string& gbPicked) {
  KeptPicture kept;
  if (gbPicked.empty()) return kept;
  const fs::path source = NativePath(ResolveStoredPicture(dir, gbPicked));
  if (const auto inside = InsideFolder(dir.Root(), source)) {
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return kept;
    kept.ok = true;
    kept.stored = *inside;
    return kept;
  }
  const std::optional<std::string> bytes = ReadWhole(source);
  if (!bytes) return kept;

  const fs::path folder = dir.Path(kPicturesDir);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) return kept;

  // The same name with other content is somebody else's picture: the new one gets the next free number.
  const std::string stem = GbPath(source.stem());
  const std::string extension = GbPath(source.extension());
  for (int n = 1; n < 1000; ++n) {
    const std::string name = n == 1 ? stem + extension : stem + Gb("－") + std::to_string(n) + extension;
    const fs::path target = folder / NativePath(name);
    if (fs::exists(target, ec)) {
      const auto existing = ReadWhole(target);
      if (!existing || *existing != *bytes) continue;
    } else if (!WriteTextFile(target, *bytes)) {
      return kept;
    } else {
      kept.copied = true;
    }
    kept.ok = true;
    kept.stored = std::string(kPicturesDir) + "\\" + name;
    return kept;
  }
  return kept;
}

}  // namespace kavrel
