#include "phone/phone_mask.h"

#include <QStringList>

#include "engine/pick.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

bool IsHan(QChar c) {
  return c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF;
}

bool IsAsciiDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The separators between an entry's fields: ASCII white space only, so a full-width space stays
// inside a field as it does on the stage.
bool IsFieldSpace(QChar c) {
  return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
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

// The masks run on the phone server's own thread, so they are plain scans: QRegularExpression
// keeps a thread-local JIT stack whose destructor faults when a MinGW-built thread ends, and on
// Windows that fault left the C runtime's key lock held, so the program hung at exit.
QString MaskMobileNumbers(const QString& text) {
  QString out = text;
  const qsizetype n = out.size();
  for (qsizetype i = 0; i < n;) {
    if (!IsAsciiDigit(out[i])) {
      ++i;
      continue;
    }
    qsizetype end = i;
    while (end < n && IsAsciiDigit(out[end])) ++end;
    if (end - i == 11 && out[i] == QLatin1Char('1')) out.replace(i + 3, 4, QStringLiteral("****"));
    i = end;
  }
  return out;
}

QString MaskForPhone(const std::string& entryGb, const StageMask& stage, bool maskNames, bool maskPhones) {
  QString text = ToQt(stage.on ? MaskText(entryGb, stage.from, stage.to) : entryGb);
  if (maskPhones) text = MaskMobileNumbers(text);
  if (maskNames) {
    // Fields keep the spaces between them, so the masked entry lines up like the stage's.
    QString out;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
      qsizetype end = i;
      if (IsFieldSpace(text[i])) {
        while (end < n && IsFieldSpace(text[end])) ++end;
        out += text.mid(i, end - i);
      } else {
        while (end < n && !IsFieldSpace(text[end])) ++end;
        out += MaskChineseName(text.mid(i, end - i));
      }
      i = end;
    }
    text = out;
  }
  return text;
}

}  // namespace kavrel
