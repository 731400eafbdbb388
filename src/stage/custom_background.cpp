#include "stage/custom_background.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assets.h"
#include "engine/ports/prompter.h"
#include "engine/stage_music.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/settings.h"

namespace kavrel {
namespace {

const char* const kFormats = "支持的图片格式为：.png、.jpg、.jpeg、.bmp、.ico、.gif";
const char* const kBadFormat = "选择的图片格式不正确，图片格式为：.png、.jpg、.jpeg、.bmp、.ico、.gif";
const char* const kFilter = "图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif)|*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif";

const char* const kSection = "界面设置";
const char* const kKey = "背景图片";
const char* const kKeptName = "stage_background";
// A background is a picture, not a film: anything larger is refused rather than copied.
constexpr qint64 kMaxBackgroundBytes = 64ll << 20;

QString ConfigFolder(const ProgramDir& dir) {
  return detail::ToQPath(dir.Path(ProgramDir::kConfigDir));
}

void RemoveKeptCopies(const ProgramDir& dir, const QString& except) {
  QDir config(ConfigFolder(dir));
  for (const QString& name :
       config.entryList({QString::fromLatin1(kKeptName) + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
    if (name != except) config.remove(name);
  }
}

}  // namespace

QString KeepCustomBackground(const ProgramDir& dir, Settings& settings, const QString& source) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return QStringLiteral("无法读取这个图片文件：") + in.errorString();
  if (in.size() > kMaxBackgroundBytes) return QStringLiteral("这个图片文件太大（超过64MB），请先缩小图片。");
  const QString name = QString::fromLatin1(kKeptName) + QLatin1Char('.') + QFileInfo(source).suffix().toLower();
  const QString target = ConfigFolder(dir) + QLatin1Char('/') + name;
  if (!dir.EnsureConfigDir()) return QStringLiteral("无法创建config文件夹。");
  // The picture already kept, chosen again: nothing to copy.
  if (QFileInfo(source).canonicalFilePath() != QFileInfo(target).canonicalFilePath()) {
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0 || !out.commit())
      return QStringLiteral("无法把图片复制到config文件夹：") + out.errorString();
  }
  if (!settings.WriteText(Gb(kSection), Gb(kKey), Gb("\\config\\") + FromQt(name)))
    return QStringLiteral("无法保存设置文件config.ini。");
  RemoveKeptCopies(dir, name);
  return {};
}

QString KeptBackground(const ProgramDir& dir, const Settings& settings) {
  const std::string stored = settings.ReadText(Gb(kSection), Gb(kKey));
  if (stored.empty()) return {};
  const QString path = ToQt(dir.Resolve(stored));
  return QFileInfo::exists(path) ? path : QString();
}

bool ForgetCustomBackground(const ProgramDir& dir, Settings& settings) {
  const bool ok = settings.WriteText(Gb(kSection), Gb(kKey), "");
  if (ok) RemoveKeptCopies(dir, QString());
  return ok;
}

QPixmap FillScreen(const QPixmap& picture, QSize size) {
  if (picture.isNull() || size.isEmpty()) return {};
  const QPixmap scaled = picture.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
  return scaled.copy((scaled.width() - size.width()) / 2, (scaled.height() - size.height()) / 2, size.width(),
                     size.height());
}

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

int TitleRoomOnDefaultBackground(QSize size) {
  // The picture is drawn for 1080 lines with the inner lanterns' outer edges 366 design pixels in from
  // either side, and fills the screen by its height.
  constexpr double kLanternReach = 366.0;
  return std::max(100, static_cast<int>(size.width() - 2 * kLanternReach * size.height() / 1080.0));
}

QPixmap DefaultStageBackground(QSize size) {
  if (size.isEmpty()) return {};
  // The built-in picture comes in a wide and a 4:3 drawing; the nearer aspect fills the screen.
  const double aspect = static_cast<double>(size.width()) / size.height();
  const bool wide = std::abs(aspect - 16.0 / 9.0) <= std::abs(aspect - 4.0 / 3.0);
  // Decoding and scaling the full-size drawing takes tens of milliseconds, and the stage asks again for
  // the same size at every layout: keep the last result (pictures are only used on the UI thread).
  static QPixmap lastScaled;
  static bool lastWide = false;
  if (!lastScaled.isNull() && lastScaled.size() == size && lastWide == wide) return lastScaled;
  const QPixmap picture(QString::fromLatin1(wide ? assets::kStageBackground : assets::kStageBackground4x3));
  if (!picture.isNull()) {
    lastScaled = FillScreen(picture, size);
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
    const double a0 = std::numbers::pi * (0.08 + i * 0.047);
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
