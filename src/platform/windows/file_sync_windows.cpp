// Flushing through the Windows API: Qt hands out a C runtime descriptor for an open file, whose
// system handle FlushFileBuffers needs. Compiled into the storage library on Windows only.
#include <io.h>
#include <windows.h>

#include <QFile>

#include "storage/file_sync.h"

namespace kavrel::detail {

bool SyncFileToDisk(QFile& file) {
  if (!file.flush()) return false;
  const intptr_t handle = _get_osfhandle(file.handle());
  return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
}

}  // namespace kavrel::detail
