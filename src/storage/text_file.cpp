#include "storage/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cstdio>
#include <memory>
#include <system_error>

#include "storage/file_sync.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"

namespace kavrel {

using detail::ToQPath;

std::string ReadTextFile(const std::filesystem::path& path) {
  QFile file(ToQPath(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string ReadFileStart(const std::filesystem::path& path, std::size_t count) {
  QFile file(ToQPath(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.read(static_cast<qint64>(count));
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<std::string> TryReadTextFile(const std::filesystem::path& path) {
  QFile file(ToQPath(path));
  if (!file.exists()) return std::string();
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool WriteTextFile(const std::filesystem::path& path, const std::string& bytes) {
  // QSaveFile writes a temporary file in the same folder and renames it over the target on
  // commit(); until then the old file stays intact.
  QSaveFile file(ToQPath(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size || !file.flush()) {
    file.cancelWriting();
    file.commit();
    return false;
  }
  return file.commit();
}

namespace {

// The name an old file is kept under while a group of files is replaced.
std::filesystem::path KeptName(const std::filesystem::path& path) {
  std::filesystem::path kept = path;
  kept += ".kept";
  return kept;
}

// The temporaries of a group write, removed when the group fails: each is let go of by its
// QTemporaryFile once written, because on Windows a QTemporaryFile keeps its file open even after
// close(), and the file then cannot be renamed into place (every write failed there).
struct WrittenTemporaries {
  std::vector<QString> names;  // emptied once renamed into place
  ~WrittenTemporaries() {
    for (const QString& name : names)
      if (!name.isEmpty()) QFile::remove(name);
  }
};

}  // namespace

bool WriteTextFiles(const std::vector<FileWrite>& files) {
  WrittenTemporaries temporaries;
  for (const FileWrite& f : files) {
    auto temporary = std::make_unique<QTemporaryFile>(ToQPath(f.path) + QStringLiteral(".XXXXXX"));
    const auto size = static_cast<qint64>(f.bytes.size());
    if (!temporary->open() || temporary->write(f.bytes.data(), size) != size || !detail::SyncFileToDisk(*temporary))
      return false;  // this temporary removes itself, the earlier ones go with `temporaries`
    // A temporary file is private to its owner; the file it becomes keeps the old file's permissions.
    const QFileInfo old(ToQPath(f.path));
    temporary->setPermissions(
        old.exists() ? old.permissions() : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    temporary->close();
    temporaries.names.push_back(temporary->fileName());
    temporary->setAutoRemove(false);
  }

  // The old content of each file stays reachable until every new file is in place.
  std::vector<bool> hadOld(files.size(), false);
  auto dropKept = [&](std::size_t count) {
    std::error_code ec;
    for (std::size_t i = 0; i < count; ++i)
      if (hadOld[i]) std::filesystem::remove(KeptName(files[i].path), ec);
  };
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::error_code ec;
    if (!std::filesystem::exists(files[i].path, ec)) continue;
    const auto kept = KeptName(files[i].path);
    std::filesystem::remove(kept, ec);  // one left by a crash
    ec.clear();
    std::filesystem::create_hard_link(files[i].path, kept, ec);
    if (ec) {
      ec.clear();
      std::filesystem::copy_file(files[i].path, kept, ec);
    }
    hadOld[i] = !ec;
    if (ec) {
      dropKept(i);
      return false;
    }
  }

  for (std::size_t i = 0; i < files.size(); ++i) {
    std::error_code ec;
    std::filesystem::rename(detail::FromQPath(temporaries.names[i]), files[i].path, ec);
    if (!ec) {
      temporaries.names[i].clear();
      continue;
    }
    // Back to the old files: each one renamed so far gets its kept content back (or goes, when it
    // is new), which a rename within the folder does without needing any space.
    for (std::size_t j = 0; j < i; ++j) {
      std::error_code undo;
      if (hadOld[j])
        std::filesystem::rename(KeptName(files[j].path), files[j].path, undo);
      else
        std::filesystem::remove(files[j].path, undo);
      hadOld[j] = hadOld[j] && undo;  // a kept file renamed back is gone already
    }
    dropKept(files.size());
    return false;
  }
  dropKept(files.size());
  return true;
}

bool AppendToTextFiles(const std::vector<FileWrite>& appends) {
  std::vector<std::unique_ptr<QFile>> opened;
  std::vector<qint64> sizes;  // -1: made by this append
  auto cutBack = [&] {
    for (std::size_t i = 0; i < opened.size(); ++i) {
      if (sizes[i] >= 0) {
        opened[i]->resize(sizes[i]);
      } else {
        opened[i]->close();
        opened[i]->remove();
      }
    }
    return false;
  };
  for (const FileWrite& a : appends) {
    auto file = std::make_unique<QFile>(ToQPath(a.path));
    const bool existed = file->exists();
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append)) return cutBack();
    sizes.push_back(existed ? file->size() : -1);
    opened.push_back(std::move(file));
    const auto size = static_cast<qint64>(a.bytes.size());
    if (opened.back()->write(a.bytes.data(), size) != size || !detail::SyncFileToDisk(*opened.back())) return cutBack();
  }
  return true;
}

bool DeleteFile(const std::filesystem::path& path) {
  const QString name = ToQPath(path);
  if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink()) return true;
  return QFile::remove(name);
}

bool FileExists(const std::filesystem::path& path) {
  return QFileInfo(ToQPath(path)).isFile();
}

namespace {

QString HistoryStamp(const LocalDateTime& when) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d-%02d%02d%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  return QString::fromLatin1(buffer);
}

}  // namespace

namespace {

enum class Keep { Move, Copy, Link };

bool Duplicate(const QString& from, const QString& to, Keep keep) {
  if (keep == Keep::Link) {
    std::error_code ec;
    std::filesystem::create_hard_link(detail::FromQPath(from), detail::FromQPath(to), ec);
    if (!ec) return true;
  }
  return QFile::copy(from, to);
}

detail::MoveStep (*moveProbe)(std::size_t) = nullptr;

// The journal of a move: a first line that says what it is, then each file and its destination on
// two lines (UTF-8).
constexpr const char* kJournalHead = "kavrel history move";

bool WriteMoveJournal(const ProgramDir& dir, const QStringList& from, const QStringList& to) {
  QString text = QString::fromLatin1(kJournalHead) + QLatin1Char('\n');
  for (qsizetype i = 0; i < from.size(); ++i) text += from[i] + QLatin1Char('\n') + to[i] + QLatin1Char('\n');
  const QByteArray bytes = text.toUtf8();
  return WriteTextFile(dir.Path(kHistoryMoveJournal),
                       std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::optional<std::filesystem::path> PutIntoHistory(const ProgramDir& dir,
                                                    const std::vector<std::filesystem::path>& files,
                                                    const LocalDateTime& when, Keep keep) {
  // A move the last run did not finish comes first: its files belong together, and this move must
  // not take some of them elsewhere.
  if (keep == Keep::Move && !FinishInterruptedMove(dir)) return std::nullopt;
  QStringList existing;
  for (const auto& file : files) {
    const QString name = ToQPath(file);
    if (QFileInfo(name).isFile()) existing << name;
  }
  if (existing.isEmpty()) return std::filesystem::path();

  // Two moves within the same second get separate folders rather than overwriting each other.
  const QString base = ToQPath(dir.Path(ProgramDir::kHistoryDir)) + QDir::separator() + HistoryStamp(when);
  QString target = base;
  for (int n = 2; QFileInfo::exists(target); ++n) target = base + QStringLiteral("-%1").arg(n);
  if (!QDir().mkpath(target)) return std::nullopt;

  QStringList destinations;
  for (const QString& name : existing) destinations << target + QDir::separator() + QFileInfo(name).fileName();
  if (keep == Keep::Move && !WriteMoveJournal(dir, existing, destinations)) {
    QDir().rmdir(target);
    return std::nullopt;
  }
  QStringList done;
  for (qsizetype i = 0; i < existing.size(); ++i) {
    const QString& name = existing[i];
    const QString& destination = destinations[i];
    const auto step = moveProbe ? moveProbe(static_cast<std::size_t>(i)) : detail::MoveStep::Go;
    if (step == detail::MoveStep::Halt) return std::nullopt;
    // rename() already falls back to copy-and-remove across file systems; anything left is a failure.
    if (step == detail::MoveStep::Go &&
        (keep == Keep::Move ? QFile::rename(name, destination) : Duplicate(name, destination, keep))) {
      done << destination;
      continue;
    }
    // All or nothing: files that belong together (a draw's results) never end up half here, half
    // there. What was moved goes back; what was copied goes.
    for (qsizetype k = 0; k < done.size(); ++k) {
      if (keep == Keep::Move)
        QFile::rename(done[k], existing[k]);
      else
        QFile::remove(done[k]);
    }
    QDir().rmdir(target);
    if (keep == Keep::Move) DeleteFile(dir.Path(kHistoryMoveJournal));
    return std::nullopt;
  }
  if (keep == Keep::Move) DeleteFile(dir.Path(kHistoryMoveJournal));
  return detail::FromQPath(target);
}

}  // namespace

void detail::SetHistoryMoveProbe(MoveStep (*probe)(std::size_t)) {
  moveProbe = probe;
}

namespace {

struct MovePair {
  QString from, to;
};

// The files a move journal names; nullopt when it is no journal of a move (written whole, atomically,
// one that does not read as one was not written by a move).
std::optional<std::vector<MovePair>> ParseMoveJournal(const std::string& text) {
  QStringList lines = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  if (lines.isEmpty() || lines.front() != QLatin1String(kJournalHead) || lines.size() % 2 == 0) return std::nullopt;
  std::vector<MovePair> pairs;
  for (qsizetype i = 1; i + 1 < lines.size(); i += 2) pairs.push_back({lines[i], lines[i + 1]});
  return pairs;
}

}  // namespace

std::vector<std::pair<std::filesystem::path, std::filesystem::path>> InterruptedMove(const ProgramDir& dir) {
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> moves;
  if (const auto pairs = ParseMoveJournal(ReadTextFile(dir.Path(kHistoryMoveJournal))))
    for (const MovePair& p : *pairs) moves.emplace_back(detail::FromQPath(p.from), detail::FromQPath(p.to));
  return moves;
}

bool FinishInterruptedMove(const ProgramDir& dir) {
  const auto journal = dir.Path(kHistoryMoveJournal);
  const auto text = TryReadTextFile(journal);
  if (!text) return false;
  if (text->empty()) return DeleteFile(journal);
  const auto parsed = ParseMoveJournal(*text);
  if (!parsed) return DeleteFile(journal);
  using Pair = MovePair;
  const std::vector<Pair>& pairs = *parsed;
  // Forward: the files still in place follow those already moved.
  bool moved = true;
  for (const Pair& p : pairs) {
    if (!QFileInfo(p.from).isFile() || QFileInfo::exists(p.to)) continue;
    if (!QDir().mkpath(QFileInfo(p.to).path()) || !QFile::rename(p.from, p.to)) moved = false;
  }
  if (!moved) {
    // Back: all of them where they were, so that the draw is whole in one place.
    bool back = true;
    for (const Pair& p : pairs)
      if (QFileInfo(p.to).isFile() && !QFileInfo::exists(p.from) && !QFile::rename(p.to, p.from)) back = false;
    if (!back) return false;
    if (!pairs.empty()) QDir().rmdir(QFileInfo(pairs.front().to).path());
  }
  return DeleteFile(journal);
}

bool MoveToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files, const LocalDateTime& when) {
  return PutIntoHistory(dir, files, when, Keep::Move).has_value();
}

std::optional<std::filesystem::path> MoveToHistoryFolder(const ProgramDir& dir,
                                                         const std::vector<std::filesystem::path>& files,
                                                         const LocalDateTime& when) {
  return PutIntoHistory(dir, files, when, Keep::Move);
}

bool CopyToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files, const LocalDateTime& when) {
  return PutIntoHistory(dir, files, when, Keep::Copy).has_value();
}

bool KeepInHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files, const LocalDateTime& when) {
  return PutIntoHistory(dir, files, when, Keep::Link).has_value();
}

int RemoveStaleTemporaries(const ProgramDir& dir) {
  // QSaveFile names its temporary file after the target with a dot and six letters or digits.
  static const QRegularExpression temporary(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
  const std::string_view files[] = {
      ProgramDir::kConfigIni,     ProgramDir::kSetDat,           ProgramDir::kImDataDat,   ProgramDir::kAwardTableDat,
      ProgramDir::kBatchPlanDat,  ProgramDir::kDrawerCaptionDat, ProgramDir::kResultDat,   ProgramDir::kExitIni,
      ProgramDir::kStageSnapshot, ProgramDir::kResultTxt,        ProgramDir::kReceiptsLog, ProgramDir::kSealedList,
      kHistoryMoveJournal};
  int removed = 0;
  for (const std::string_view suffix : files) {
    const QFileInfo target(ToQPath(dir.Path(suffix)));
    const QDir folder = target.dir();
    const QString prefix = target.fileName();
    for (const QString& name : folder.entryList({prefix + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
      if (!temporary.match(name.mid(prefix.size())).hasMatch()) continue;
      if (QFile::remove(folder.filePath(name))) ++removed;
    }
  }
  return removed;
}

}  // namespace kavrel
