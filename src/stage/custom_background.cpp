#include "stage/custom_background.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>

#include "engine/ports/prompter.h"
#include "engine/ports/sound_port.h"

namespace kavrel {
namespace {

std::string ToGb(const QString& text) {
  QStringEncoder encoder("GB18030");
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString FromGb(const std::string& bytes) {
  QStringDecoder decoder("GB18030");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

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

std::optional<std::string> ChooseCustomBackground(Prompter& prompter, SoundPort& sound) {
  prompter.Message(ToGb(QString::fromUtf8(kFormats)), ToGb(QStringLiteral("操作提示：")), Buttons::Ok, Icon::None);
  sound.SuspendStageMusic();
  const std::optional<std::string> file =
      prompter.PickOpenFile(ToGb(QStringLiteral("更改背景图片")), ToGb(QString::fromUtf8(kFilter)));
  if (!file) {
    sound.ResumeStageMusic();
    return std::nullopt;
  }
  if (!IsSupportedBackgroundFile(FromGb(*file))) {
    prompter.Message(ToGb(QString::fromUtf8(kBadFormat)), ToGb(QStringLiteral("错误提示：")), Buttons::Ok, Icon::Error);
    return std::nullopt;
  }
  sound.ResumeStageMusic();
  return file;
}

QPixmap DefaultStageBackground(QSize size) {
  if (size.isEmpty()) return {};
  for (const char* resource : {":/assets/pictures/stage_background.jpg", ":/pictures/stage_background.jpg"}) {
    if (QFile::exists(QString::fromLatin1(resource))) {
      QPixmap picture(QString::fromLatin1(resource));
      if (!picture.isNull()) return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
  }
  // Until the built-in picture is there: deep red at the bottom rising to warm gold, with soft rays.
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
