#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>

#include "stage/lock_password.h"

class QLineEdit;

namespace kavrel {

class Prompter;
class Settings;

// A caption that acts as a button: it reports a left-button release over itself.
class LockCommandLabel : public QLabel {
  Q_OBJECT

 public:
  LockCommandLabel(const QString& caption, QWidget* parent);

 signals:
  void released();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// "修改锁屏密码": old password, new password twice; "确认" stores the new one when the old one is right
// and both new ones agree, "取消" closes without change. Enter in a new-password box confirms; Enter in
// the old-password box does nothing.
class LockPasswordWindow : public QDialog {
  Q_OBJECT

 public:
  LockPasswordWindow(LockPassword& password, QWidget* parent = nullptr);

 private:
  void ConfirmPressed();

  LockPassword& password_;
  QLineEdit* old_ = nullptr;
  QLineEdit* new_ = nullptr;
  QLineEdit* confirm_ = nullptr;
};

// The screen lock: covers the stage's screen with the lock picture alone (the audience sees nothing
// else), stays on top and holds the keyboard and the mouse until the lock password is typed, so nothing
// reaches the stage or another window meanwhile. The password is typed where the operator sits: with an
// operator window (the console on the laptop) in a small panel over it, shown at once; without one on
// the stage itself, where a click or a key shows the password row (the key is not typed into it) and
// "隐藏" hides it again. Enter or "解锁" tries the password; "修改密码" opens LockPasswordWindow. The
// close command and Escape are refused while locked. Run it with exec(); it returns once unlocked.
class LockWindow : public QDialog {
  Q_OBJECT

 public:
  // `operatorWindow`: the operator's own window on another screen, or nullptr when the operator looks
  // at the stage.
  LockWindow(Settings& settings, Prompter& prompter, const QRect& screen, QWidget* operatorWindow = nullptr,
             QWidget* parent = nullptr);

  bool RowShown() const;
  bool Unlocked() const { return unlocked_; }
  // The panel on the operator's screen that holds the password row; nullptr without an operator window.
  QDialog* OperatorPanel() const { return panel_; }

  // TryUnlock: the password box against the stored password; closes the window when they match, else
  // the wrong-password message with the box keeping its text.
  void TryUnlock();

 public slots:
  void reject() override;  // Escape does not unlock

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void LayOut(const QSize& screen);
  void BuildOperatorPanel(QWidget* operatorWindow);
  // The window that holds the keyboard and the mouse: the operator's panel, or the lock itself.
  QWidget* Holder();
  void ShowRow(bool shown);
  void ChangePassword();
  // Not topmost and not grabbing while a message box or the password window is open, so they can be
  // seen and used; topmost and grabbing again afterwards.
  void SetTopmost(bool on);
  void Grab();

  LockPassword password_;
  QPixmap background_;
  QPixmap scaled_;
  QLabel* message_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordBox_ = nullptr;
  LockCommandLabel* unlock_ = nullptr;
  LockCommandLabel* change_ = nullptr;
  LockCommandLabel* hide_ = nullptr;
  QDialog* panel_ = nullptr;
  bool unlocked_ = false;
  bool wantGrab_ = true;
  int grabTries_ = 0;
};

}  // namespace kavrel
