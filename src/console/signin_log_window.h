#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kavrel {

class SigninDesk;

// "签到记录": every sign-in with its time, the phone's address and who, newest first, so the operator
// can see one address signing in many people; a sign-in made for someone absent is taken back here.
class SigninLogWindow : public QDialog {
  Q_OBJECT
 public:
  explicit SigninLogWindow(SigninDesk& desk, QWidget* parent = nullptr);

 private:
  void Refresh();
  void UndoSelected();

  SigninDesk& desk_;
  QTableWidget* table_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* undo_ = nullptr;
};

}  // namespace kavrel
