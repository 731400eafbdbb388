#include "results/winner_export_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "engine/ports/prompter.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

struct FormatInfo {
  ExportFormat format;
  const char* button;
  const char* objectName;
  const char* suffix;
  const char* filter;
};

// The workbook first and as the default: it is the one format Excel opens with every digit kept.
constexpr FormatInfo kFormats[] = {
    {ExportFormat::Xlsx, "导出为 Excel 工作簿(.xlsx)（推荐）", "按钮_导出Excel", "xlsx", "Excel 工作簿 (*.xlsx)"},
    {ExportFormat::CsvExcelSafe, "导出为 Excel 专用 CSV 文件(.csv，保留开头的 0 和长数字)", "按钮_导出Excel安全CSV",
     "csv", "CSV 文件 (*.csv)"},
    {ExportFormat::Csv, "导出为普通 CSV 文件(.csv)", "按钮_导出CSV", "csv", "CSV 文件 (*.csv)"},
    {ExportFormat::Pdf, "导出为 PDF 文件(.pdf)", "按钮_导出PDF", "pdf", "PDF 文件 (*.pdf)"},
};

constexpr const char* kCsvWarning =
    "注意：用 Excel 直接打开普通 CSV 文件时，编号开头的 0 会丢失（0194 变成 194），超过 15 位的数字"
    "（身份证号、长编号）末尾几位会变成 0。需要在 Excel 中查看时请导出 Excel 工作簿(.xlsx)，"
    "或导出 Excel 专用 CSV 文件（这类单元格写成 =\"0194\"，Excel 打开后仍是原样；其他程序可能显示出公式）。";

const FormatInfo& Info(ExportFormat format) {
  for (const auto& info : kFormats)
    if (info.format == format) return info;
  return kFormats[0];
}

QString Summary(const WinnerTable& table) {
  QString text = table.rows.empty() ? QStringLiteral("这次抽奖还没有中奖人员，导出的文件只有表头。")
                                    : QStringLiteral("共 %1 个奖项、%2 名中奖人员（其中弃奖 %3 名）。")
                                          .arg(table.awards.size())
                                          .arg(table.rows.size())
                                          .arg(std::count_if(table.rows.begin(), table.rows.end(),
                                                             [](const WinnerRow& r) { return r.abandoned; }));
  for (const auto& problem : table.problems) text += QStringLiteral("\n注意：") + QString::fromStdString(problem);
  return text;
}

}  // namespace

WinnerExportWindow::WinnerExportWindow(WinnerTable table, Prompter& prompter, QString folder, QString baseName,
                                       QWidget* parent)
    : QDialog(parent),
      table_(std::move(table)),
      prompter_(prompter),
      folder_(std::move(folder)),
      baseName_(std::move(baseName)) {
  setObjectName(QStringLiteral("WinnerExportWindow"));
  setWindowTitle(QStringLiteral("导出中奖名单"));
  setWindowModality(Qt::ApplicationModal);
  pick_ = [this](const QString& title, const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, suggested, filter);
  };

  auto* layout = new QVBoxLayout(this);
  auto* summary = new QLabel(Summary(table_), this);
  summary->setObjectName(QStringLiteral("标签_说明"));
  summary->setWordWrap(true);
  layout->addWidget(summary);
  auto* warning = new QLabel(QString::fromUtf8(kCsvWarning), this);
  warning->setObjectName(QStringLiteral("标签_CSV提示"));
  warning->setWordWrap(true);
  layout->addWidget(warning);
  for (const auto& info : kFormats) {
    auto* button = new QPushButton(QString::fromUtf8(info.button), this);
    button->setObjectName(QString::fromUtf8(info.objectName));
    connect(button, &QPushButton::clicked, this, [this, format = info.format] { Export(format); });
    layout->addWidget(button);
    if (info.format == ExportFormat::Xlsx) {
      // Enter exports the workbook.
      button->setDefault(true);
      button->setFocus();
    }
  }
  auto* print = new QPushButton(QStringLiteral("打印..."), this);
  print->setObjectName(QStringLiteral("按钮_打印"));
  connect(print, &QPushButton::clicked, this, &WinnerExportWindow::Print);
  layout->addWidget(print);
  auto* close = new QPushButton(QStringLiteral("关闭"), this);
  close->setObjectName(QStringLiteral("按钮_关闭"));
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(close);
  setMinimumWidth(420);
}

void WinnerExportWindow::Export(ExportFormat format) {
  const FormatInfo& info = Info(format);
  const QString suggested = QDir(folder_).filePath(baseName_ + QLatin1Char('.') + QString::fromUtf8(info.suffix));
  QString target = pick_(QStringLiteral("导出中奖名单"), suggested, QString::fromUtf8(info.filter));
  if (target.isEmpty()) return;
  if (QFileInfo(target).suffix().compare(QString::fromUtf8(info.suffix), Qt::CaseInsensitive) != 0)
    target += QLatin1Char('.') + QString::fromUtf8(info.suffix);

  const ExportResult result = ExportWinners(table_, format, target);
  if (!result.ok) {
    prompter_.Message(FromQt(result.message), Gb("错误提示："), Buttons::Ok, Icon::Error);
    return;
  }
  lastWritten_ = target;
  folder_ = QFileInfo(target).absolutePath();
  prompter_.Message(FromQt(QStringLiteral("中奖名单已导出到：\n%1").arg(QDir::toNativeSeparators(target))),
                    Gb("提示信息："), Buttons::Ok, Icon::Information);
}

void WinnerExportWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("中奖名单"));
  QPrintPreviewDialog preview(&printer, this);
  preview.setWindowTitle(QStringLiteral("打印中奖名单"));
  // Large enough to read a page; Qt's default is a small window.
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    preview.resize(area.width() * 3 / 4, area.height() * 9 / 10);
    preview.move(area.center() - preview.rect().center());
  }
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* target) { PrintWinners(table_, *target); });
  preview.exec();
}

}  // namespace kavrel
