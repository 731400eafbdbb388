#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstring>

#include "lists/workbook/csv_reader.h"
#include "lists/workbook/ods_reader.h"
#include "lists/workbook/read_context.h"
#include "lists/workbook/workbook.h"
#include "lists/workbook/xls_reader.h"
#include "lists/workbook/xlsx_reader.h"
#include "lists/workbook/zip_package.h"

namespace kavrel::workbook {

namespace {

constexpr char kCfbMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// The names of the streams an encrypted OOXML package keeps its key data and its content in, as
// the compound file's directory stores them (UTF-16LE). Office writes a password-protected .xlsx
// as a compound file holding these streams, not as a zip; either name is enough to know it.
const std::array<QByteArray, 2>& EncryptionStreamNames() {
  static const std::array<QByteArray, 2> names = {
      QByteArray::fromRawData(reinterpret_cast<const char*>(u"EncryptionInfo"), 28),
      QByteArray::fromRawData(reinterpret_cast<const char*>(u"EncryptedPackage"), 32)};
  return names;
}

bool CompoundFileHoldsEncryption(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray tail;
  while (true) {
    const QByteArray chunk = file.read(1 << 20);
    if (chunk.isEmpty()) return false;
    const QByteArray window = tail + chunk;
    for (const QByteArray& needle : EncryptionStreamNames())
      if (window.contains(needle)) return true;
    tail = window.right(32);
  }
}

enum class Container { Missing, Zip, Compound, Other };

Container LookAt(const QString& path, QByteArray* head) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Container::Missing;
  *head = file.read(8);
  if (head->startsWith("PK\x03\x04") || head->startsWith("PK\x05\x06")) return Container::Zip;
  if (*head == QByteArray(kCfbMagic, 8)) return Container::Compound;
  return Container::Other;
}

Format ZipFormat(const ZipPackage& zip) {
  if (zip.Has(QStringLiteral("xl/workbook.bin"))) return Format::Unknown;  // .xlsb: reported by the caller
  if (zip.Has(QStringLiteral("[Content_Types].xml")) &&
      (zip.Has(QStringLiteral("xl/workbook.xml")) || zip.Has(QStringLiteral("_rels/.rels"))))
    return Format::Xlsx;
  if (zip.Has(QStringLiteral("content.xml")) && zip.Has(QStringLiteral("mimetype"))) return Format::Ods;
  return Format::Unknown;
}

void ReadZip(const QString& path, ReadContext& context, Workbook& out) {
  ZipPackage zip(path);
  if (!zip.isOpen()) {
    context.Fail(ErrorKind::Damaged, texts::kDamagedZip);
    return;
  }
  if (zip.Has(QStringLiteral("xl/workbook.bin"))) {
    context.Fail(ErrorKind::Xlsb, texts::kXlsb);
    return;
  }
  switch (ZipFormat(zip)) {
    case Format::Xlsx:
      ReadXlsx(zip, context, out);
      return;
    case Format::Ods:
      if (const auto mime = zip.ReadSmall(QStringLiteral("mimetype"), 256);
          mime && !mime->startsWith("application/vnd.oasis.opendocument.spreadsheet")) {
        context.Fail(ErrorKind::NotAWorkbook, "这是OpenDocument文档，但不是电子表格(.ods)，无法导入。");
        return;
      }
      ReadOds(zip, context, out);
      return;
    default:
      context.Fail(ErrorKind::NotAWorkbook, "这是一个压缩包，但不是Excel或OpenDocument工作簿，无法导入。");
      return;
  }
}

}  // namespace

Format SniffFormat(const QString& path) {
  QByteArray head;
  switch (LookAt(path, &head)) {
    case Container::Missing:
      return Format::Unknown;
    case Container::Zip: {
      ZipPackage zip(path);
      return zip.isOpen() ? ZipFormat(zip) : Format::Unknown;
    }
    case Container::Compound:
      return CompoundFileHoldsEncryption(path) ? Format::Unknown : Format::Xls;
    case Container::Other:
      return Format::Csv;
  }
  return Format::Unknown;
}

Workbook ReadWorkbook(const QString& path, const ReadOptions& options) {
  Workbook out;
  ReadContext context(options);
  QByteArray head;
  switch (LookAt(path, &head)) {
    case Container::Missing:
      context.Fail(ErrorKind::Unreadable,
                   QFileInfo::exists(path) ? "文件无法读取（没有读取权限或正被占用）。" : "文件不存在。");
      break;
    case Container::Zip:
      ReadZip(path, context, out);
      break;
    case Container::Compound:
      if (CompoundFileHoldsEncryption(path)) {
        out.format = Format::Xlsx;
        context.Fail(ErrorKind::Encrypted, texts::kEncrypted);
      } else {
        ReadXls(path, context, out);
      }
      break;
    case Container::Other:
      ReadCsv(path, context, out);
      break;
  }
  if (context.failed()) {
    out.error = context.error();
    out.errorText = context.errorText();
    // No half-read sheet is handed out: a failed read changes nothing for the caller.
    for (Sheet& sheet : out.sheets) sheet = NamedSheet(sheet.name);
  }
  return out;
}

}  // namespace kavrel::workbook
