#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <filesystem>

#include "engine/ports/prompter.h"

namespace kavrel {

// Prompter with real Qt dialogs: QMessageBox, QInputDialog and QFileDialog, all modal.
// Texts arrive and leave as GB18030 bytes. The parent decides which window a box is centred on.
// The file pickers start in the program's data folder, whatever folder the program was started from.
class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  QtPrompter(QWidget* parent, const std::filesystem::path& startFolder);

  void SetParent(QWidget* parent) { parent_ = parent; }
  QWidget* parent() const { return parent_; }
  // Where every open-file and folder dialog starts; empty: the working folder.
  const QString& startFolder() const { return startFolder_; }

  Answer Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) override;
  Answer MessageWithFocus(const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
                          Answer focus) override;
  std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  std::optional<long long> InputInteger(const std::string& title, const std::string& prompt,
                                        const std::string& initial) override;
  std::optional<std::string> PickOpenFile(const std::string& title, const std::string& filter) override;
  std::optional<std::string> PickFolder(const std::string& title) override;

 private:
  QPointer<QWidget> parent_;
  QString startFolder_;
};

// "图片|*.jpg;*.png|所有文件|*.*" -> "图片 (*.jpg *.png);;所有文件 (*)"
QString QtFileFilter(const QString& filter);

}  // namespace kavrel
