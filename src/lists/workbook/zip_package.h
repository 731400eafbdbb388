#pragma once

#include <QString>
#include <QXmlStreamReader>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "lists/workbook/read_context.h"

class QuaZip;

namespace kavrel::workbook {

// A zip package (.xlsx, .ods) read part by part. Part names are matched without regard to case,
// as the OOXML packaging rules say. Every part is streamed through a capped device.
class ZipPackage {
 public:
  explicit ZipPackage(const QString& path);
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  bool isOpen() const { return open_; }
  bool Has(const QString& part) const;
  // The size the part says it unpacks to; nullopt for a missing part.
  std::optional<std::int64_t> DeclaredSize(const QString& part) const;

  // Streams the part through `parse`. False, with the context's error set, when the part is
  // missing, damaged, too large or the read was cancelled; a parse that leaves the XML reader
  // in error (other than stopping on purpose) counts as damaged.
  bool ReadXml(const QString& part, ReadContext& context, const std::function<void(QXmlStreamReader&)>& parse);

  // The same for a parser of its own that reads the raw bytes; `parse` returns false when the
  // content is malformed.
  bool ReadStream(const QString& part, ReadContext& context, const std::function<bool(QIODevice&)>& parse);

  // Reads a small part whole (at most maxBytes); nullopt when missing or damaged.
  std::optional<QByteArray> ReadSmall(const QString& part, std::int64_t maxBytes);

 private:
  QString ActualName(const QString& part) const;

  std::unique_ptr<QuaZip> zip_;
  bool open_ = false;
  std::map<QString, std::pair<QString, std::int64_t>> parts_;
  std::set<QString> encrypted_;  // lower-case name -> (name, size)
};

namespace texts {
inline constexpr const char* kDamagedZip = "文件已损坏（压缩包结构错误），无法读取。";
inline constexpr const char* kDamagedPart = "文件已损坏（工作表内容不完整或格式错误），无法读取。";
}  // namespace texts

}  // namespace kavrel::workbook
