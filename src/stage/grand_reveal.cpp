#include "stage/grand_reveal.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <QtConcurrent>
#include <algorithm>
#include <cmath>

#include "engine/draw_session.h"
#include "engine/plan.h"
#include "platform/picture_reader.h"
#include "settings/roll_style_setting.h"
#include "storage/codec.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

constexpr int kFrameMs = 33;         // about 30 frames a second: smooth enough, light on a laptop
constexpr int kComeForwardMs = 700;  // the winners' names growing to full size
constexpr int kAfterglowMs = 1800;   // fireworks over the names before the stage takes over
constexpr int kSparkLifeMs = 1400;
constexpr int kSparksPerBurst = 72;
// The most names a highlight's batch reveals: beyond that they could not come forward large.
constexpr int kMaxHighlightNames = 10;

// A small generator of its own: the candidates shown are only the show and need no quality.
unsigned Next(unsigned& seed) {
  seed = seed * 1103515245u + 12345u;
  return (seed >> 8) & 0xFFFFFF;
}

}  // namespace

RevealSettings LoadRevealSettings(const Settings& settings) {
  RevealSettings s;
  s.seconds = std::clamp(settings.ReadInt(Gb("舞台效果"), Gb("揭晓秒数"), s.seconds), 0, 15);
  s.maxWinners = std::clamp(settings.ReadInt(Gb("舞台效果"), Gb("揭晓人数"), s.maxWinners), 0, 10);
  return s;
}

GrandReveal::GrandReveal(DrawSession& session, const Settings& settings, PicturePath picturePath, QWidget* stage)
    : QWidget(stage), session_(session), settings_(settings), picturePath_(std::move(picturePath)) {
  connect(&pictureLoad_, &QFutureWatcher<QImage>::finished, this, [this] {
    if (Running()) picture_ = pictureLoad_.result();
  });
  setObjectName(QStringLiteral("画板_揭晓"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  frames_.setInterval(kFrameMs);
  connect(&frames_, &QTimer::timeout, this, &GrandReveal::Frame);
  lastPhase_ = session_.Draw().phase;
  session_.AddObserver(*this);
}

GrandReveal::~GrandReveal() {
  session_.RemoveObserver(*this);
}

void GrandReveal::DrawChanged(const DrawSession& session, DrawChanges changes) {
  if (!changes.Any(DrawChange::Phase)) return;  // a reveal follows where the draw stands, nothing else
  const DrawState& state = session.Draw();
  const bool stopped = lastPhase_ == DrawPhase::Rolling && state.phase == DrawPhase::WinnersShown;
  lastPhase_ = state.phase;
  // The batch taken back or the draw reset (from the console, say): nothing is left to reveal.
  if (Running() && state.phase != DrawPhase::WinnersShown) return Finish();
  // The stop tells its views more than once while it records; the reveal looks once it is done.
  if (stopped && !Running()) QTimer::singleShot(0, this, &GrandReveal::RevealIfSmall);
}

void GrandReveal::RevealIfSmall() {
  const DrawState& state = session_.Draw();
  if (state.phase != DrawPhase::WinnersShown || Running()) return;
  const RevealSettings rules = LoadRevealSettings(settings_);
  const auto count = static_cast<int>(state.recordedEntries.size());
  const bool highlight = LoadHighlight(settings_, state.recordedAwardName);
  if (rules.seconds <= 0 || count < 1 || count > (highlight ? kMaxHighlightNames : rules.maxWinners)) return;
  slowMs_ = rules.seconds * 1000;
  winners_.clear();
  for (const auto& entry : state.recordedEntries) winners_.push_back(ToQt(entry));
  award_ = ToQt(state.recordedAwardName);
  prize_ = ToQt(session_.Text(StageElement::PrizeLabel));
  picture_ = QImage();
  const std::string stored = state.recordedLine.picture;
  const QString path = stored.empty() || !picturePath_ ? QString() : picturePath_(stored);
  if (!path.isEmpty() && !pictureLoad_.isRunning()) {
    const QSize box(parentWidget()->width() * 2 / 5, parentWidget()->height() * 22 / 100);
    pictureLoad_.setFuture(QtConcurrent::run([path, box] { return ReadPictureScaled(path, box); }));
  }
  // Whoever is left to draw passes by; a pool drawn empty lends the winners themselves.
  candidates_.clear();
  const std::size_t step = std::max<std::size_t>(1, state.pool.size() / 200);
  for (std::size_t i = 0; i < state.pool.size(); i += step) candidates_.push_back(ToQt(state.pool[i]));
  if (candidates_.empty()) candidates_ = winners_;
  Begin();
}

void GrandReveal::Begin() {
  seed_ = static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch());
  sparks_.clear();
  shown_.assign(winners_.size(), QString());
  nextSwap_ = 0;
  setGeometry(parentWidget()->rect());
  session_.SetRevealing(true);
  clock_.start();
  frames_.start();
  show();
  raise();
  Frame();
}

void GrandReveal::Finish() {
  if (!Running()) return;
  frames_.stop();
  hide();
  sparks_.clear();
  session_.SetRevealing(false);
}

void GrandReveal::Burst(double x, double y, qint64 at) {
  static const QColor colors[] = {QColor(255, 215, 80), QColor(255, 120, 90), QColor(255, 255, 220),
                                  QColor(255, 170, 40)};
  const QColor color = colors[Next(seed_) % 4];
  for (int i = 0; i < kSparksPerBurst; ++i) {
    const double angle = (Next(seed_) % 6283) / 1000.0;
    const double speed = 0.08 + (Next(seed_) % 1000) / 1000.0 * 0.22;  // pixels per ms, at 1080 lines
    sparks_.push_back({x, y, std::cos(angle) * speed, std::sin(angle) * speed, at, color});
  }
}

void GrandReveal::Frame() {
  const qint64 now = clock_.elapsed();
  if (now >= slowMs_ + kComeForwardMs + kAfterglowMs) return Finish();
  if (now < slowMs_) {
    // Slower and slower: from 40 ms between names to about 700 ms at the end.
    if (now >= nextSwap_) {
      for (auto& name : shown_) name = candidates_[Next(seed_) % candidates_.size()];
      const double t = static_cast<double>(now) / slowMs_;
      nextSwap_ = now + 40 + static_cast<qint64>(660 * t * t);
    }
  } else {
    // The fireworks: a burst as the names come forward, more over them.
    const qint64 since = now - slowMs_;
    const int bursts = static_cast<int>(since / 450) + 1;
    static constexpr double spots[][2] = {{0.5, 0.35}, {0.22, 0.3}, {0.78, 0.3}, {0.35, 0.2}, {0.65, 0.2}};
    while (static_cast<int>(sparks_.size()) < std::min(bursts, 5) * kSparksPerBurst) {
      const auto& spot = spots[sparks_.size() / kSparksPerBurst];
      Burst(width() * spot[0], height() * spot[1], now);
    }
  }
  update();
}

void GrandReveal::PaintNames(QPainter& p, const std::vector<QString>& names, double scale, bool winners) {
  // As large as the room needs: one name about a fifth of the height, three about a tenth each. With a
  // prize picture the names keep the upper part of the band and the picture takes the rest.
  const auto rows = static_cast<int>(names.size());
  const double band = height() * (picture_.isNull() || !winners ? 0.56 : 0.34) / std::max(rows, 1);
  QFont font;
  font.setBold(true);
  int pixels = static_cast<int>(std::min(band * 0.78, height() * 0.2));
  QString longest;
  for (const auto& n : names)
    if (n.size() > longest.size()) longest = n;
  font.setPixelSize(std::max(8, pixels));
  while (pixels > 12 && QFontMetrics(font).horizontalAdvance(longest) > width() * 0.9) {
    pixels = pixels * 9 / 10;
    font.setPixelSize(pixels);
  }
  const double top = height() * 0.27;
  for (int i = 0; i < rows; ++i) {
    const QPointF centre(width() / 2.0, top + band * (i + 0.5));
    p.save();
    p.translate(centre);
    p.scale(scale, scale);
    p.setFont(font);
    const QRectF box(-width() / 2.0, -band / 2, width(), band);
    if (winners) {
      // A soft glow behind the name.
      QRadialGradient glow(QPointF(0, 0), pixels * 2.2);
      glow.setColorAt(0, QColor(255, 190, 60, 110));
      glow.setColorAt(1, QColor(255, 200, 60, 0));
      p.setPen(Qt::NoPen);
      p.setBrush(glow);
      p.drawEllipse(QPointF(0, 0), pixels * 3.5, pixels * 1.2);
    }
    p.setPen(winners ? QColor(255, 230, 120) : QColor(255, 255, 255, 200));
    p.drawText(box, Qt::AlignCenter, names[static_cast<std::size_t>(i)]);
    p.restore();
  }
}

void GrandReveal::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const qint64 now = clock_.elapsed();
  // The stage behind shows the recorded winners already: the cover keeps them for the moment.
  QRadialGradient dark(QPointF(width() / 2.0, height() * 0.45), std::max(width(), height()) * 0.7);
  dark.setColorAt(0, QColor(110, 0, 12));
  dark.setColorAt(1, QColor(24, 0, 0));
  p.fillRect(rect(), dark);

  QFont heading;
  heading.setBold(true);
  heading.setPixelSize(std::max(12, height() / 14));
  p.setFont(heading);
  p.setPen(QColor(255, 215, 100));
  p.drawText(QRectF(0, height() * 0.1, width(), height() * 0.16), Qt::AlignCenter, award_);

  if (now < slowMs_) {
    PaintNames(p, shown_, 1.0, false);
    return;
  }
  const double t = std::min(1.0, static_cast<double>(now - slowMs_) / kComeForwardMs);
  const double eased = 1 - std::pow(1 - t, 3);
  PaintNames(p, winners_, 0.35 + 0.65 * eased, true);
  if (!picture_.isNull()) {
    p.setOpacity(t);
    const QRectF box(0, height() * 0.615, width(), height() * 0.22);
    const QSizeF size = QSizeF(picture_.size()).scaled(box.size(), Qt::KeepAspectRatio);
    p.drawImage(
        QRectF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(), size.height()),
        picture_);
    p.setOpacity(1);
  }
  if (!prize_.isEmpty()) {
    QFont font;
    font.setBold(true);
    font.setPixelSize(std::max(12, height() / 18));
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, static_cast<int>(255 * t)));
    p.drawText(QRectF(0, height() * 0.84, width(), height() * 0.12), Qt::AlignCenter, prize_);
  }

  const double unit = height() / 1080.0;
  for (const Spark& s : sparks_) {
    const double age = static_cast<double>(now - s.born);
    if (age < 0 || age > kSparkLifeMs) continue;
    const double x = s.x + s.vx * age * unit;
    const double y = s.y + (s.vy * age + 0.00012 * age * age) * unit;  // a little gravity
    QColor c = s.color;
    c.setAlphaF(1.0 - age / kSparkLifeMs);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(x, y), 4.5 * unit + 1, 4.5 * unit + 1);
  }
}

}  // namespace kavrel
