#pragma once

#include <QList>
#include <QObject>
#include <map>

#include "stage/stage_commands.h"

class QAction;
class QWidget;

namespace kavrel {

// Every command the operator gives by key, menu item or console button, as one table of actions: the
// stage's menus and the console's buttons show and trigger these, and their keys work in every window
// that takes them (the stage and the console) while it is the active one. A held key runs its action
// once: the repeats are ignored. Menu items show their key beside the text, as Qt draws a shortcut.
//
// Beside the menu items, the keys of the draw itself: space and a presenter remote's F5 start and stop;
// the remote's "next" and "back" (PageDown, PageUp) do the same, or turn the winner wall's pages while
// the wall is up; its "blank screen" (B or ".") blacks the stage out and back; Escape shows or hides the
// menu bar (or closes the wall).
class CommandActions : public QObject {
  Q_OBJECT

 public:
  explicit CommandActions(QObject* parent = nullptr);
  ~CommandActions() override;

  // The action of a menu item's command, and BlankScreen's; nullptr for a command without one.
  QAction* Action(StageCommand command) const;
  QAction* StartStop() const { return startStop_; }
  // Gives `window` every key of the table, or takes them back.
  void TakeKeys(QWidget* window) const;
  void DropKeys(QWidget* window) const;

 signals:
  void commandTriggered(kavrel::StageCommand command);
  void startStopPressed();
  // PageDown (forward) or PageUp.
  void pagePressed(bool forward);
  void escapePressed();

 private:
  QAction* Add(StageCommand command, const char* designName, bool checkable);
  QAction* KeyOnly(const char* name, const QList<QKeySequence>& keys);

  std::map<StageCommand, QAction*> actions_;
  QList<QAction*> keyed_;
  QAction* startStop_ = nullptr;
};

}  // namespace kavrel
