#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "stage/stage_commands.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTimer;

namespace kavrel {

class ProgramDir;
class StageWindow;

// The operator's window on the laptop while the stage fills the projector: the event's titles, where
// the draw stands and what the next press does, the batches ahead with the current one marked, the
// pool, a live picture of the stage, the winners so far and a button for every stage command. It
// follows the draw engine's state (refreshed after every change the engine reports), not the stage's
// widgets; keys pressed here are the stage's keys.
class OperatorConsoleWindow : public QWidget {
  Q_OBJECT

 public:
  OperatorConsoleWindow(StageWindow& stage, const ProgramDir& dir, QWidget* parent = nullptr);

  // Reads the draw state, the titles and the result file again and shows them. Cheap enough for every
  // press; several changes in one handler are shown once (ScheduleRefresh).
  void Refresh();
  void ScheduleRefresh();

  // The last thumbnail's cost in milliseconds (for the pacing of the next one).
  double lastThumbnailMs() const { return lastThumbnailMs_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildCommandButtons();
  void UpdateThumbnail();

  StageWindow& stage_;
  const ProgramDir& dir_;
  QLabel* mainTitle_ = nullptr;
  QLabel* subTitle_ = nullptr;
  QLabel* phase_ = nullptr;
  QLabel* progress_ = nullptr;
  QLabel* pool_ = nullptr;
  QTableWidget* plan_ = nullptr;
  QLabel* thumbnail_ = nullptr;
  QListWidget* winners_ = nullptr;
  QPushButton* startStop_ = nullptr;
  QTimer* thumbnailTimer_ = nullptr;
  bool refreshPending_ = false;
  double lastThumbnailMs_ = 0;
};

}  // namespace kavrel
