#include "platform/qt_prompter.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <algorithm>
#include <limits>
#include <optional>

#include "platform/descriptor_limit.h"
#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/qt_path.h"

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

// A question must fit the screen it opens on, whatever its text: 800 × 600 projectors and old
// laptops included. Long prompts wrap at a width the screen has room for, and the box never grows
// past the screen, so its buttons stay where they can be pressed.
void FitToScreen(QDialog& dialog, QWidget* parent) {
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QSize room = screen->availableGeometry().size() - QSize(24, 48);  // frame and title bar
  const int textWidth = std::min(520, room.width() - 48);
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;  // the icon
    label->setWordWrap(true);
    label->setMinimumWidth(std::min(label->sizeHint().width(), textWidth));
    label->setMaximumWidth(textWidth);
  }
  dialog.setMaximumSize(room);
  dialog.adjustSize();
}

QMessageBox::StandardButton BoxButton(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return QMessageBox::Ok;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::No:
      return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

Answer ShowBox(QWidget* parent, const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
               std::optional<Answer> focus) {
  // The box may be telling that a write found no descriptor free: it needs some to be painted.
  const DescriptorReserveFreed reserveFreed;
  QMessageBox box(BoxIcon(icon), ToQt(caption), ToQt(text), BoxButtons(buttons), parent);
  box.setTextFormat(Qt::PlainText);  // data texts (names, file names) must never be read as markup
  // Every OK/Cancel box asks before an action that discards something (quit without a resume
  // record, restart, undo, mode switch). The operator's hand rests on the space bar, the draw key,
  // which presses the focused button: the focus starts on the button that abandons the action,
  // unless the question names another.
  if (focus)
    box.setDefaultButton(BoxButton(*focus));
  else if (buttons == Buttons::OkCancel)
    box.setDefaultButton(QMessageBox::Cancel);
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

}  // namespace

QtPrompter::QtPrompter(QWidget* parent, const std::filesystem::path& startFolder)
    : parent_(parent), startFolder_(detail::ToQPath(startFolder)) {}

Answer QtPrompter::Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  return ShowBox(parent_, text, caption, buttons, icon, std::nullopt);
}

Answer QtPrompter::MessageWithFocus(const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
                                    Answer focus) {
  return ShowBox(parent_, text, caption, buttons, icon, focus);
}

std::optional<std::string> QtPrompter::InputText(const std::string& title, const std::string& prompt,
                                                 const std::string& initial) {
  QInputDialog dialog(parent_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQt(title));
  dialog.setLabelText(ToQt(prompt));
  dialog.setTextValue(ToQt(initial));
  FitToScreen(dialog, parent_);
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
  FitToScreen(dialog, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // Digits and the sign are ASCII, so the UTF-8 form reads the same.
  return LeadingInteger(dialog.textValue().toStdString());
}

std::optional<std::string> QtPrompter::PickOpenFile(const std::string& title, const std::string& filter) {
  const QString file = QFileDialog::getOpenFileName(parent_, ToQt(title), startFolder_, QtFileFilter(ToQt(filter)));
  if (file.isEmpty()) return std::nullopt;
  return FromQt(QDir::toNativeSeparators(file));
}

std::optional<std::string> QtPrompter::PickFolder(const std::string& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, ToQt(title), startFolder_);
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
    // "图片文件(*.png;*.jpg)" already names its patterns: Qt adds them again, so the name drops its own.
    QString name = parts[i];
    for (const QString& own : {QStringLiteral("(%1)").arg(parts[i + 1]), QStringLiteral("（%1）").arg(parts[i + 1])})
      if (name.size() > own.size() && name.endsWith(own)) name.chop(own.size());
    entries << QStringLiteral("%1 (%2)").arg(name.trimmed(), patterns.join(QLatin1Char(' ')));
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace kavrel
