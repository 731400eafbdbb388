#include <QApplication>
#include <QDir>
#include <cstdio>

#include "storage/program_dir.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDir dir(QCoreApplication::applicationDirPath());
  // A fresh program folder has no config/ yet; without it every save would fail.
  if (!kavrel::ProgramDir::FromExecutable().EnsureConfigDir()) {
    std::fprintf(stderr, "kavrel-draw: cannot create %s/config\n", qPrintable(dir.path()));
    return 1;
  }
  std::printf("kavrel-draw: program folder %s is ready; the stage is not built yet.\n", qPrintable(dir.path()));
  return 0;
}
