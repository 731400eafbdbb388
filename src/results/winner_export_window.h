#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "results/export/winner_export.h"

class QLabel;

namespace kavrel {

class Prompter;

// "导出中奖名单": one draw's winners saved as an Excel workbook, a CSV file or a PDF file, or printed.
// Built afresh for every opening from the table the opener read.
class WinnerExportWindow : public QDialog {
  Q_OBJECT

 public:
  // Asks where to save: the window title, a suggested full path and a filter; empty when cancelled.
  using PickSavePath = std::function<QString(const QString& title, const QString& suggested, const QString& filter)>;

  // `folder` is where the save dialog starts; `baseName` the suggested file name without suffix.
  WinnerExportWindow(WinnerTable table, Prompter& prompter, QString folder, QString baseName,
                     QWidget* parent = nullptr);

  void SetPickSavePath(PickSavePath pick) { pick_ = std::move(pick); }

  // One format, as its button does: asks for the path, writes, and says how it went.
  void Export(ExportFormat format);
  // Paper, through the print preview.
  void Print();

  const QString& lastWritten() const { return lastWritten_; }

 private:
  WinnerTable table_;
  Prompter& prompter_;
  QString folder_;
  QString baseName_;
  PickSavePath pick_;
  QString lastWritten_;
};

}  // namespace kavrel
