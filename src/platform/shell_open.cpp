#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "storage/program_dir.h"

namespace kavrel {

bool OpenWithShell(const std::string& path) {
  const QFileInfo file(NativePath(path));
  if (!file.exists()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

}  // namespace kavrel
