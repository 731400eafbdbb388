#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/gb_text.h"

namespace kavrel {

bool OpenWithShell(const std::string& path) {
  const QString native = platform_detail::NativePath(path);
  if (!QFileInfo::exists(native)) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(native));
}

}  // namespace kavrel
