#include "phone/phone_mask.h"

#include <QRegularExpression>
#include <QStringList>

#include "engine/pick.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

bool IsHan(QChar c) {
  return c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF;
}

}  // namespace

QString MaskChineseName(const QString& field) {
  const qsizetype n = field.size();
  if (n < 2 || n > 4) return field;
  for (QChar c : field) {
    if (!IsHan(c)) return field;
  }
  if (n == 2) return field.left(1) + QLatin1Char('*');
  return field.left(1) + QString(n - 2, QLatin1Char('*')) + field.right(1);
}

QString MaskMobileNumbers(const QString& text) {
  static const QRegularExpression mobile(QStringLiteral("(?<![0-9])(1[0-9]{2})[0-9]{4}([0-9]{4})(?![0-9])"));
  QString out = text;
  out.replace(mobile, QStringLiteral("\\1****\\2"));
  return out;
}

QString MaskForPhone(const std::string& entryGb, const StageMask& stage, bool maskNames, bool maskPhones) {
  QString text = ToQt(stage.on ? MaskText(entryGb, stage.from, stage.to) : entryGb);
  if (maskPhones) text = MaskMobileNumbers(text);
  if (maskNames) {
    // Fields keep the spaces between them, so the masked entry lines up like the stage's.
    static const QRegularExpression fields(QStringLiteral("\\S+"));
    QString out;
    qsizetype last = 0;
    for (auto it = fields.globalMatch(text); it.hasNext();) {
      const auto m = it.next();
      out += text.mid(last, m.capturedStart() - last);
      out += MaskChineseName(m.captured());
      last = m.capturedEnd();
    }
    out += text.mid(last);
    text = out;
  }
  return text;
}

}  // namespace kavrel
