#include <unistd.h>

#include <QFile>

#include "storage/file_sync.h"

namespace kavrel::detail {

bool SyncFileToDisk(QFile& file) {
  return file.flush() && ::fsync(file.handle()) == 0;
}

}  // namespace kavrel::detail
