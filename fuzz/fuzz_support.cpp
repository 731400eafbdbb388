#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace kavrel::fuzz {

namespace {

// Never freed: the exit handler that removes the folder runs after static objects are gone.
const QString* scratch = nullptr;

QString ScratchDir() {
  if (!scratch) {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    scratch = new QString(base + QStringLiteral("/kavrel-fuzz-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(*scratch);
    std::atexit([] { QDir(*scratch).removeRecursively(); });
  }
  return *scratch;
}

}  // namespace

void EnsureApp(int argc, char** argv) {
  // Never destroyed: libFuzzer leaves through exit(), after which Qt's own globals are gone.
  static int count = argc;
  if (QCoreApplication::instance()) return;
  static char name[] = "kavrel-fuzz";
  static char* fallback[] = {name, nullptr};
  if (argv == nullptr) count = 1;
  new QCoreApplication(count, argv ? argv : fallback);
}

QString ScratchPath(const char* fileName) {
  return ScratchDir() + QLatin1Char('/') + QString::fromUtf8(fileName);
}

void WriteScratch(const QString& path, std::string_view bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) Fail("cannot write the scratch file");
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::vector<std::string> SplitParts(std::string_view input, std::size_t maxParts) {
  std::vector<std::string> parts;
  while (parts.size() + 1 < maxParts) {
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos) break;
    parts.emplace_back(input.substr(0, nul));
    input.remove_prefix(nul + 1);
  }
  parts.emplace_back(input);
  parts.resize(maxParts);
  return parts;
}

std::string JoinParts(const std::vector<std::string>& parts) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += '\0';
    joined += parts[i];
  }
  return joined;
}

void Fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace kavrel::fuzz
