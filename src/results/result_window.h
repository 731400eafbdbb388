#pragma once

#include <QDialog>
#include <QPixmap>
#include <QRect>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/ports/clock.h"
#include "engine/ports/sound_port.h"
#include "results/result_music.h"
#include "results/result_view_mode.h"
#include "results/winner_show_scroll.h"
#include "storage/draw_history.h"
#include "storage/receipt_log.h"
#include "storage/result_store.h"

class QPlainTextEdit;
class QPushButton;

namespace kavrel {

struct SoundSettings;
class WinnerShowList;

// The captions the stage shows at the moment the window opens (GB18030).
struct StageTitles {
  std::string mainTitle;
  std::string subTitle;
};

// The current draw as the result window shows it, as the draw keeps it: its winners, what is left
// of its pool, and its receipts' seal and chain end. Read only while the window is built.
struct CurrentResults {
  const std::vector<ResultLine>& winners;
  const std::vector<std::string>& pool;
  ReceiptSummary receipts;
};

// The window that presents the draw results after the fact, in one of four views. It is built
// afresh for every opening and shown modally (exec()); it shows the current draw as given (or reads
// the result file of a past draw it is given) and writes nothing. Its music stops however the window
// is closed.
class ResultWindow : public QDialog {
  Q_OBJECT

 public:
  // `screen` is the area to cover; empty means the whole screen the window opens on. `past`, when
  // given, is the draw whose results are shown instead of the current ones.
  ResultWindow(ResultViewMode mode, SoundPort& sound, const Clock& clock, const SoundSettings& soundSettings,
               const StageTitles& titles, const CurrentResults& current, QWidget* parent = nullptr, QRect screen = {},
               const DrawRecord* past = nullptr);
  ~ResultWindow() override;

  ResultViewMode mode() const { return mode_; }
  const ResultMusic& music() const { return music_; }

  // Puts a "导出中奖名单" button into the winner list and latest award views (the winner show is
  // for the audience and stays clean); it runs `run`.
  void AddExportButton(std::function<void()> run);

  // One step of the winner show's scroll (the 30 ms timer calls it).
  void ScrollTick();
  const std::optional<WinnerShowScroll>& scroll() const { return scroll_; }
  bool scrolling() const { return timer_.isActive(); }

  // Every way of closing passes here: the music and the scroll stop.
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildTextView(const std::string& gbText);
  void BuildLatestAward();
  void BuildWinnerShow(const StageTitles& titles, const Clock& clock);
  void Shutdown();
  std::vector<ResultLine> Lines() const;
  std::string NotaryLines() const;
  void PlaceExportButton();

  ResultViewMode mode_;
  std::optional<DrawRecord> past_;
  const CurrentResults* current_;  // while the window is built
  ResultMusic music_;
  QPixmap background_;
  QPlainTextEdit* textBox_ = nullptr;
  QWidget* latestPanel_ = nullptr;
  QWidget* exportButton_ = nullptr;
  WinnerShowList* list_ = nullptr;
  std::optional<WinnerShowScroll> scroll_;
  QTimer timer_;
  bool shutDown_ = false;
};

}  // namespace kavrel
