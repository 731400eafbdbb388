#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDir dir(QCoreApplication::applicationDirPath());
  if (!dir.mkpath(QStringLiteral("config"))) {
    std::fprintf(stderr, "kavrel-draw: cannot create %s/config\n", qPrintable(dir.path()));
    return 1;
  }
  std::printf("kavrel-draw: program folder %s is ready; the stage is not built yet.\n", qPrintable(dir.path()));
  return 0;
}
