#include "platform/qt_prompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <limits>

#include "storage/codec.h"
#include "storage/number_text.h"

namespace kavrel {

namespace {

QMessageBox::StandardButtons BoxButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::None:
      return QMessageBox::NoIcon;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Error:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

// What closing the box without a button (Esc, the title bar's close) means: the answer that
// abandons the action.
Answer DismissAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
      return Answer::Cancel;
  }
  return Answer::Cancel;
}

}  // namespace

Answer QtPrompter::Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  QMessageBox box(BoxIcon(icon), ToQt(caption), ToQt(text), BoxButtons(buttons), parent_);
  box.setTextFormat(Qt::PlainText);  // data texts (names, file names) must never be read as markup
  // Every OK/Cancel box asks before an action that discards something (quit without a resume
  // record, restart, undo, mode switch). The operator's hand rests on the space bar, the draw key,
  // which presses the focused button: the focus starts on the button that abandons the action.
  if (buttons == Buttons::OkCancel) box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return DismissAnswer(buttons);
  }
}

std::optional<std::string> QtPrompter::InputText(const std::string& title, const std::string& prompt,
                                                 const std::string& initial) {
  QInputDialog dialog(parent_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQt(title));
  dialog.setLabelText(ToQt(prompt));
  dialog.setTextValue(ToQt(initial));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQt(dialog.textValue());
}

std::optional<long long> QtPrompter::InputInteger(const std::string& title, const std::string& prompt,
                                                  const std::string& initial) {
  QInputDialog dialog(parent_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQt(title));
  dialog.setLabelText(ToQt(prompt));
  // The box takes digits and "-" only, typed or pasted; the answer is still read as the
  // leading integer, so "12-3" gives 12.
  if (auto* edit = dialog.findChild<QLineEdit*>()) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]*")), edit));
  }
  dialog.setTextValue(ToQt(initial));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // Digits and the sign are ASCII, so the UTF-8 form reads the same.
  return LeadingInteger(dialog.textValue().toStdString());
}

std::optional<std::string> QtPrompter::PickOpenFile(const std::string& title, const std::string& filter) {
  const QString file = QFileDialog::getOpenFileName(parent_, ToQt(title), QString(), QtFileFilter(ToQt(filter)));
  if (file.isEmpty()) return std::nullopt;
  return FromQt(QDir::toNativeSeparators(file));
}

std::optional<std::string> QtPrompter::PickFolder(const std::string& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, ToQt(title));
  if (folder.isEmpty()) return std::nullopt;
  return FromQt(QDir::toNativeSeparators(folder));
}

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  if (parts.size() < 2) return filter;  // already in Qt's style, or empty
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace kavrel
