#pragma once

#include <QDialog>
#include <QPixmap>
#include <filesystem>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace kavrel {

class ProgramDir;

// The help window "操作提示": a four-step quick guide picture and a button that opens the manual.
class HelpTipsWindow : public QDialog {
  Q_OBJECT

 public:
  // Opens a document with the desktop's default program (GB18030 path); failure stays silent.
  using OpenDocument = std::function<bool(const std::string& gbPath)>;

  HelpTipsWindow(const QPixmap& guide, const ProgramDir& dir, OpenDocument open, QWidget* parent = nullptr);

  // The manual the button opens: the compiled help file "kavrel抽奖.chm" beside the executable
  // when there is one, otherwise the HTML manual laid out with the program (manual/index.html).
  static std::filesystem::path ManualPath(const ProgramDir& dir);

 private:
  const ProgramDir& dir_;
  OpenDocument open_;
};

}  // namespace kavrel
