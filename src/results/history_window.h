#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "engine/ports/clock.h"
#include "results/export/draw_history_list.h"
#include "results/result_view_mode.h"

class QPushButton;
class QTableWidget;

namespace kavrel {

class Prompter;
class ProgramDir;

// "历史抽奖记录": the current draw and every draw put aside in history/, with when, how many awards
// and winners, and why it was put aside. A chosen draw can be shown in the result views, exported,
// or brought back as the current result files.
class HistoryWindow : public QDialog {
  Q_OBJECT

 public:
  struct Actions {
    std::function<void(ResultViewMode, const PastDraw&)> show;  // opens the result window on that draw
    std::function<void(const PastDraw&)> exportDraw;            // opens the export window on it
    std::function<bool()> drawUnderWay;                         // bringing back is refused meanwhile
    std::function<void()> broughtBack;                          // a past draw is now the current results
  };

  HistoryWindow(const ProgramDir& dir, Prompter& prompter, const Clock& clock, Actions actions,
                QWidget* parent = nullptr);

  // Reads the folders afresh and refills the list, keeping the row chosen when it is still there.
  void Reload();

  QTableWidget* list() const { return list_; }
  const std::vector<PastDraw>& draws() const { return draws_; }
  void Select(int row);

  // The buttons' commands on the chosen row.
  void ShowChosen(ResultViewMode mode);
  void ExportChosen();
  void BringBackChosen();

 private:
  const PastDraw* Chosen() const;
  void UpdateButtons();

  const ProgramDir& dir_;
  Prompter& prompter_;
  const Clock& clock_;
  Actions actions_;
  std::vector<PastDraw> draws_;
  QTableWidget* list_ = nullptr;
  QPushButton* view_ = nullptr;
  QPushButton* showButton_ = nullptr;
  QPushButton* export_ = nullptr;
  QPushButton* bringBack_ = nullptr;
};

}  // namespace kavrel
