#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kavrel::fuzz {

namespace {

QString ScratchDir() {
  static const QString dir = [] {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    const QString path = base + QStringLiteral("/kavrel-fuzz-%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(path);
    std::atexit([] { QDir(ScratchDir()).removeRecursively(); });
    return path;
  }();
  return dir;
}

}  // namespace

void EnsureApp(int argc, char** argv) {
  static int count = argc;
  static std::unique_ptr<QCoreApplication> app;
  if (!app && !QCoreApplication::instance()) {
    static char name[] = "kavrel-fuzz";
    static char* fallback[] = {name, nullptr};
    if (argv == nullptr) count = 1;
    app = std::make_unique<QCoreApplication>(count, argv ? argv : fallback);
  }
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
