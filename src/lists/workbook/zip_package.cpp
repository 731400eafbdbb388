#include "lists/workbook/zip_package.h"

#include <algorithm>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

namespace kavrel::workbook {

ZipPackage::ZipPackage(const QString& path) : zip_(std::make_unique<QuaZip>(path)) {
  open_ = zip_->open(QuaZip::mdUnzip);
  if (!open_) return;
  // The central directory's sizes are what the parts claim; CappedDevice checks what they do.
  for (const QuaZipFileInfo64& info : zip_->getFileInfoList64()) {
    parts_[info.name.toLower()] = {info.name, static_cast<std::int64_t>(info.uncompressedSize)};
    if (info.flags & 1) encrypted_.insert(info.name);  // a zip password, not Office's own encryption
  }
  if (zip_->getZipError() != UNZ_OK) open_ = false;
}

ZipPackage::~ZipPackage() {
  if (open_) zip_->close();
}

QString ZipPackage::ActualName(const QString& part) const {
  const auto it = parts_.find(part.toLower());
  return it == parts_.end() ? QString() : it->second.first;
}

bool ZipPackage::Has(const QString& part) const {
  return parts_.count(part.toLower()) != 0;
}

std::optional<std::int64_t> ZipPackage::DeclaredSize(const QString& part) const {
  const auto it = parts_.find(part.toLower());
  if (it == parts_.end()) return std::nullopt;
  return it->second.second;
}

bool ZipPackage::ReadXml(const QString& part, ReadContext& context,
                         const std::function<void(QXmlStreamReader&)>& parse) {
  return ReadStream(part, context, [&](QIODevice& device) {
    QXmlStreamReader xml(&device);
    parse(xml);
    return !xml.hasError() || xml.error() == QXmlStreamReader::CustomError;
  });
}

bool ZipPackage::ReadStream(const QString& part, ReadContext& context, const std::function<bool(QIODevice&)>& parse) {
  const QString name = ActualName(part);
  const auto declared = DeclaredSize(part);
  if (name.isEmpty() || !declared) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedPart);
    return false;
  }
  if (*declared > context.options().unpackCap - context.unpacked()) {
    context.Fail(ErrorKind::TooLarge, texts::kTooLarge);
    return false;
  }
  if (encrypted_.count(name) != 0) {
    context.Fail(ErrorKind::Encrypted, texts::kEncrypted);
    return false;
  }
  if (!zip_->setCurrentFile(name)) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedZip);
    return false;
  }
  QuaZipFile file(zip_.get());
  if (!file.open(QIODevice::ReadOnly)) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedZip);
    return false;
  }
  CappedDevice device(&file, context);
  const bool wellFormed = parse(device);
  if (device.cancelled()) {
    context.Fail(ErrorKind::Cancelled, texts::kCancelled);
  } else if (device.overCap()) {
    context.Fail(ErrorKind::TooLarge, texts::kTooLarge);
  } else if (device.sourceFailed()) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedZip);
  } else if (!wellFormed) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedPart);
  }
  if (context.failed()) return false;
  // A parser may stop early once it has what it needs; only a part read to its end can be
  // checked against its CRC.
  const bool readToEnd = file.atEnd();
  file.close();
  if (readToEnd && file.getZipError() != UNZ_OK) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedZip);
    return false;
  }
  return true;
}

std::optional<QByteArray> ZipPackage::ReadSmall(const QString& part, std::int64_t maxBytes) {
  const QString name = ActualName(part);
  const auto declared = DeclaredSize(part);
  if (name.isEmpty() || !declared || *declared > maxBytes || !zip_->setCurrentFile(name)) return std::nullopt;
  QuaZipFile file(zip_.get());
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  // Read in pieces: a read of maxBytes + 1 at once allocates that much for every small part.
  QByteArray bytes;
  while (bytes.size() <= maxBytes) {
    const QByteArray piece = file.read(std::min<std::int64_t>(std::int64_t{1} << 16, maxBytes + 1 - bytes.size()));
    if (piece.isEmpty()) break;
    bytes += piece;
  }
  file.close();
  if (bytes.size() > maxBytes || file.getZipError() != UNZ_OK) return std::nullopt;
  return bytes;
}

}  // namespace kavrel::workbook
