#include "storage/reserved_file.h"

#include <QFile>
#include <QTemporaryFile>

namespace kavrel {

ReservedFile::ReservedFile(const QString& folder, const QString& prefix, const QString& suffix) {
  QTemporaryFile temporary(folder + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX.") + suffix);
  if (!temporary.open()) return;
  temporary.setAutoRemove(false);
  name_ = temporary.fileName();
}

ReservedFile::~ReservedFile() {
  if (!name_.isEmpty() && !kept_) QFile::remove(name_);
}

}  // namespace kavrel
