#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "console/console_texts.h"
#include "console/stage_link.h"
#include "engine/draw_observer.h"

class QLabel;
class QListWidget;
class QMenuBar;
class QPushButton;
class QTableWidget;
class QTimer;
class QVBoxLayout;

namespace kavrel {

class DrawSession;

// The operator's window on the laptop while the stage fills the projector: the event's titles, where
// the draw stands and what the next press does, the batches ahead with the current one marked, the
// pool, a live picture of the stage, the winners so far and a button for every stage command. It
// follows the draw engine's state (an observer of the draw session), not the stage's
// widgets; keys pressed here are the stage's keys.
class OperatorConsoleWindow : public QWidget, private DrawObserver {
  Q_OBJECT

 public:
  // Observes `session` from construction to destruction.
  OperatorConsoleWindow(DrawSession& session, StageLink& stage, QWidget* parent = nullptr);
  ~OperatorConsoleWindow() override;

  // Reads the draw state, the titles and the result file again and shows them. Cheap enough for every
  // press; several changes in one handler are shown once (ScheduleRefresh).
  void Refresh();
  void ScheduleRefresh();

  // The stage's menu bar, shown here instead of on the projector while the console is up.
  void ShowMenuBar(bool shown);
  // Alt+1 … Alt+4: the stage's menu `index` (界面, 设定, 功能, 帮助) opens under the bar, or at the
  // window's corner while the bar is hidden.
  void OpenMenu(int index);
  QMenuBar* menuBar() const { return menuBar_; }

  // A panel of another part of the operator's side (the phones' sign-in), under the winners.
  void AddSidePanel(QWidget* panel);

  // The last thumbnail's cost in milliseconds (for the pacing of the next one).
  double lastThumbnailMs() const { return lastThumbnailMs_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void DrawChanged(const DrawSession&, DrawChanges) override { ScheduleRefresh(); }
  QWidget* BuildCommandButtons();
  void UpdateThumbnail();
  // 标签_状态 and 按钮_开始停止: what the next press does, as the draw and the stage stand now.
  void ShowNextPress();
  // The plan table and the winner list follow the draw by changing only what changed: rebuilt
  // whole at every press, a long evening's plan and winners made each press a stutter of the roll.
  void ShowPlan(std::vector<ConsolePlanRow> rows);
  void ShowWinners();

  DrawSession& session_;
  StageLink& stage_;
  QMenuBar* menuBar_ = nullptr;
  QLabel* mainTitle_ = nullptr;
  QLabel* subTitle_ = nullptr;
  QLabel* phase_ = nullptr;
  QLabel* progress_ = nullptr;
  QLabel* pool_ = nullptr;
  QTableWidget* plan_ = nullptr;
  QLabel* thumbnail_ = nullptr;
  QListWidget* winners_ = nullptr;
  QVBoxLayout* right_ = nullptr;
  QPushButton* startStop_ = nullptr;
  QTimer* thumbnailTimer_ = nullptr;
  std::vector<ConsolePlanRow> shownPlan_;
  std::uint64_t shownWinners_ = 0;  // the revision of the winners listed (0: none yet)
  bool refreshPending_ = false;
  double lastThumbnailMs_ = 0;
};

}  // namespace kavrel
