#pragma once

class QFile;

// Flushes a written file to the disk itself, not just to the system's cache: a grouped write renames
// files into place only once their bytes would survive a power cut. fsync on Linux
// (file_sync_posix.cpp), FlushFileBuffers on Windows (src/platform/windows/file_sync_windows.cpp);
// CMake picks one of the two.
namespace kavrel::detail {

bool SyncFileToDisk(QFile& file);

}  // namespace kavrel::detail
