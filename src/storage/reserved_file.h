#pragma once

#include <QString>

namespace kavrel {

// A fresh empty file named like a temporary (`folder`/`prefix`XXXXXX.`suffix`), removed again unless
// kept, for a writer that opens the file by name itself. Its QTemporaryFile is let go at once: on
// Windows that keeps the file open even after close(), and then neither could another writer replace
// the file nor could it be renamed into place.
class ReservedFile {
 public:
  ReservedFile(const QString& folder, const QString& prefix, const QString& suffix);
  ~ReservedFile();
  ReservedFile(const ReservedFile&) = delete;
  ReservedFile& operator=(const ReservedFile&) = delete;

  bool ok() const { return !name_.isEmpty(); }
  const QString& name() const { return name_; }
  void Keep() { kept_ = true; }

 private:
  QString name_;
  bool kept_ = false;
};

}  // namespace kavrel
