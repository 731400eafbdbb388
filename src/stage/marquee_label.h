#pragma once

#include <QLabel>
#include <QStringList>

class QTimer;

namespace kavrel {

// The scrolling message line at the bottom of the stage (标签_滚动): yellow text on a red band, 24 pixels
// high, as wide as its caption. It owns the 50 ms marquee timer (时钟_滚动), which runs from creation
// and moves the line 5 pixels to the left per tick; once the line has left the screen on the left it
// re-enters from the right edge.
class MarqueeLabel : public QLabel {
  Q_OBJECT

 public:
  explicit MarqueeLabel(QWidget* parent = nullptr);

  // Sets the caption and fits the width to it; the position stays, so the scrolling goes on smoothly.
  void SetCaption(const QString& caption);

  // Width of the screen the line re-enters from; the parent's width when 0 (the default).
  void SetScreenWidth(int width) { screenWidth_ = width; }

  // One marquee step (what a timer tick does); public so tests drive it without waiting.
  void Tick();

  QTimer* Timer() const { return timer_; }

  static constexpr int kIntervalMs = 50;
  static constexpr int kStep = 5;

 private:
  QTimer* timer_;
  int screenWidth_ = 0;
};

// The congratulation line shown after a stop: "恭喜：【" award "】" and the winners joined by "、".
QString CongratulationLine(const QString& award, const QStringList& winners);

}  // namespace kavrel
