#pragma once

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "engine/draw_observer.h"
#include "engine/draw_state.h"

namespace kavrel {

class DrawSession;
class Settings;

// How long the stop of a small batch (the evening's big prizes) takes to reveal its winners, from
// config.ini (section 舞台效果: 揭晓秒数, 0 turns it off; 揭晓人数, the largest batch revealed so).
struct RevealSettings {
  int seconds = 3;
  int maxWinners = 3;
};
RevealSettings LoadRevealSettings(const Settings& settings);

// The grand prize's moment. When a batch of a few winners stops, the winners are recorded at the
// press as always; the stage then covers itself for a few seconds: candidates keep passing, slower
// and slower, until the winners' names come forward, large, with fireworks. Any start or stop press
// skips to the end. While it runs the session says so (Revealing), and the phones and the console
// wait for it. A view: it reads the session and draws, nothing else.
class GrandReveal : public QWidget, public DrawObserver {
 public:
  // `picturePath`: where a plan line's prize picture (as stored) is on this computer ("" for none).
  using PicturePath = std::function<QString(const std::string& stored)>;
  GrandReveal(DrawSession& session, const Settings& settings, PicturePath picturePath, QWidget* stage);
  ~GrandReveal() override;

  void DrawChanged(const DrawSession& session, DrawChanges changes) override;
  bool Running() const { return frames_.isActive(); }
  // Skips to the end: the stage shows the winners as recorded.
  void Finish();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Spark {
    double x, y, vx, vy;
    qint64 born;
    QColor color;
  };
  void RevealIfSmall();
  void Begin();
  void Frame();
  void Burst(double x, double y, qint64 at);
  void PaintNames(QPainter& p, const std::vector<QString>& names, double scale, bool winners);

  DrawSession& session_;
  const Settings& settings_;
  PicturePath picturePath_;
  QFutureWatcher<QImage> pictureLoad_;  // the prize picture, decoded off the UI thread while names pass
  QImage picture_;
  DrawPhase lastPhase_ = DrawPhase::Ready;
  QTimer frames_;
  QElapsedTimer clock_;
  int slowMs_ = 0;
  std::vector<QString> winners_;
  std::vector<QString> candidates_;  // names passing while it slows down
  std::vector<QString> shown_;       // the names passing now
  qint64 nextSwap_ = 0;
  QString award_;
  QString prize_;
  std::vector<Spark> sparks_;
  unsigned seed_ = 1;
};

}  // namespace kavrel
