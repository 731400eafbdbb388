#include "stage/custom_background.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "assets.h"
#include "engine/ports/prompter.h"
#include "engine/stage_music.h"
#include "storage/codec.h"

namespace kavrel {
namespace {

const char* const kFormats = "支持的图片格式为：.png、.jpg、.jpeg、.bmp、.ico、.gif";
const char* const kBadFormat = "选择的图片格式不正确，图片格式为：.png、.jpg、.jpeg、.bmp、.ico、.gif";
const char* const kFilter = "图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif)|*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif";

}  // namespace

bool IsSupportedBackgroundFile(const QString& path) {
  static const char* const kExtensions[] = {".png", ".jpg", ".jpeg", ".bmp", ".ico", ".gif"};
  for (const char* ext : kExtensions) {
    // ASCII case only: the extension check must not depend on the locale.
    const QString e = QString::fromLatin1(ext);
    if (path.size() >= e.size() && path.right(e.size()).compare(e, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

std::optional<std::string> ChooseCustomBackground(Prompter& prompter, StageMusic& music) {
  prompter.Message(Gb(kFormats), Gb("操作提示："), Buttons::Ok, Icon::None);
  music.Suspend();
  const std::optional<std::string> file = prompter.PickOpenFile(Gb("更改背景图片"), Gb(kFilter));
  if (!file) {
    music.Resume();
    return std::nullopt;
  }
  if (!IsSupportedBackgroundFile(ToQt(*file))) {
    prompter.Message(Gb(kBadFormat), Gb("错误提示："), Buttons::Ok, Icon::Error);
    return std::nullopt;
  }
  music.Resume();
  return file;
}

QPixmap DefaultStageBackground(QSize size) {
  if (size.isEmpty()) return {};
  // The built-in picture comes in a wide and a 4:3 drawing; the nearer aspect is stretched to the screen.
  const double aspect = static_cast<double>(size.width()) / size.height();
  const bool wide = std::abs(aspect - 16.0 / 9.0) <= std::abs(aspect - 4.0 / 3.0);
  // Decoding and scaling the full-size drawing takes tens of milliseconds, and the stage asks again for
  // the same size at every layout: keep the last result (pictures are only used on the UI thread).
  static QPixmap lastScaled;
  static bool lastWide = false;
  if (!lastScaled.isNull() && lastScaled.size() == size && lastWide == wide) return lastScaled;
  const QPixmap picture(QString::fromLatin1(wide ? assets::kStageBackground : assets::kStageBackground4x3));
  if (!picture.isNull()) {
    lastScaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    lastWide = wide;
    return lastScaled;
  }
  // Without the built-in picture (a build without resources): deep red at the bottom rising to warm gold, with soft
  // rays.
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient base(0, size.height(), 0, 0);
  base.setColorAt(0.0, QColor(0x8E, 0x0A, 0x16));
  base.setColorAt(0.55, QColor(0xC8, 0x10, 0x2E));
  base.setColorAt(0.85, QColor(0xF2, 0xB6, 0x32));
  base.setColorAt(1.0, QColor(0xFF, 0xE0, 0x8A));
  p.fillRect(pixmap.rect(), base);
  const QPointF origin(size.width() / 2.0, -size.height() * 0.1);
  const double reach = std::hypot(size.width(), size.height());
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 18; ++i) {
    const double a0 = M_PI * (0.08 + i * 0.047);
    const double a1 = a0 + 0.018;
    QPainterPath ray;
    ray.moveTo(origin);
    ray.lineTo(origin + QPointF(std::cos(a0), std::sin(a0)) * reach);
    ray.lineTo(origin + QPointF(std::cos(a1), std::sin(a1)) * reach);
    ray.closeSubpath();
    p.fillPath(ray, QColor(255, 236, 170, 22));
  }
  QRadialGradient glow(origin, size.height() * 0.7);
  glow.setColorAt(0, QColor(255, 240, 190, 90));
  glow.setColorAt(1, QColor(255, 240, 190, 0));
  p.fillRect(pixmap.rect(), glow);
  return pixmap;
}

}  // namespace kavrel
