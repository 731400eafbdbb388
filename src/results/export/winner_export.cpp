#include "results/export/winner_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>
#include <filesystem>
#include <system_error>

#include "platform/xlsx_writer_library.h"
#include "storage/qt_path.h"
#include "storage/reserved_file.h"

namespace kavrel {

namespace {

QString CannotWrite(const QString& folder) {
  return QStringLiteral("无法在文件夹“%1”中写入文件，请选择其他文件夹，或检查该文件夹是否可写。")
      .arg(QDir::toNativeSeparators(folder));
}

ExportResult Failed(const QString& target) {
  return {false, QStringLiteral("导出文件“%1”时写入失败（磁盘已满或文件被其他程序占用？），原有文件保持不变。")
                     .arg(QDir::toNativeSeparators(target))};
}

// Writes through a temporary file beside the target, renamed over it when complete. A writer that
// cannot take the folder's name (`takesName` false) writes in the system's temporary folder, and the
// file is copied beside the target before the rename.
template <typename Write, typename TakesName>
ExportResult WriteThroughTemporary(const QString& target, Write write, TakesName takesName) {
  const QFileInfo info(target);
  const QString folder = info.absolutePath();
  if (!QFileInfo(folder).isDir()) return {false, CannotWrite(folder)};
  ReservedFile beside(folder, QStringLiteral(".kavrel-export-"), info.suffix());
  if (!beside.ok()) return {false, CannotWrite(folder)};
  if (takesName(beside.name())) {
    if (!write(beside.name())) return Failed(target);
  } else {
    ReservedFile elsewhere(QDir::tempPath(), QStringLiteral("kavrel-export-"), info.suffix());
    if (!elsewhere.ok() || !takesName(elsewhere.name()))
      return {false, QStringLiteral("文件夹名“%1”中有本系统的文件名编码无法表示的字符，无法导出 .xlsx 文件；"
                                    "请选择名称只含常用字符的文件夹，或改为导出 CSV 文件。")
                         .arg(QDir::toNativeSeparators(folder))};
    if (!write(elsewhere.name())) return Failed(target);
    QFile::remove(beside.name());
    if (!QFile::copy(elsewhere.name(), beside.name())) return Failed(target);
  }
  // The temporary file is private to its owner; the export is an ordinary file (or keeps the
  // permissions of the file it replaces).
  const auto permissions = info.exists() ? info.permissions()
                                         : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                               QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  QFile::setPermissions(beside.name(), permissions);
  std::error_code ec;
  std::filesystem::rename(detail::FromQPath(beside.name()), detail::FromQPath(info.absoluteFilePath()), ec);
  if (ec) return Failed(target);
  beside.Keep();  // it is the target now
  return {true, {}};
}

bool AnyName(const QString&) {
  return true;
}

}  // namespace

ExportResult ExportWinners(const WinnerTable& table, ExportFormat format, const QString& target) {
  switch (format) {
    case ExportFormat::Csv:
    case ExportFormat::CsvExcelSafe: {
      // QSaveFile is the same temporary-and-rename, with the data in hand.
      const QByteArray bytes = WinnersCsv(table, format == ExportFormat::CsvExcelSafe);
      QSaveFile file(target);
      if (!file.open(QIODevice::WriteOnly)) return {false, CannotWrite(QFileInfo(target).absolutePath())};
      if (file.write(bytes) != bytes.size() || !file.commit()) return Failed(target);
      return {true, {}};
    }
    case ExportFormat::Xlsx:
      if (!XlsxLibrary::Get())
        return {false,
                QStringLiteral(
                    "找不到 Excel 工作簿组件 libxlsxwriter，无法导出 .xlsx 文件；请改为导出 Excel 专用 CSV 文件。")};
      return WriteThroughTemporary(
          target, [&](const QString& file) { return WriteWinnersXlsx(table, file); }, &XlsxTakesFileName);
    case ExportFormat::Pdf:
      return WriteThroughTemporary(
          target,
          [&](const QString& file) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
            printer.setDocName(QStringLiteral("中奖名单"));
            PrintWinners(table, printer);
            return QFileInfo(file).size() > 0;
          },
          &AnyName);
  }
  return {false, {}};
}

}  // namespace kavrel
