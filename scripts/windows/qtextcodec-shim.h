// QTextCodec as far as QuaZip uses it, over QStringConverter, for the Windows build: QuaZip for Qt 6
// takes QTextCodec from Qt5Compat, whose source the archive does not serve here. Installed as
// <QtCore5Compat/QTextCodec> into the Windows prefix. QuaZip names zip entries by codec: UTF-8 (the
// flag every .xlsx writer sets) and the system code page are what it meets.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

class QTextCodec {
 public:
  static QTextCodec* codecForLocale() { return ForEncoding(QStringConverter::System); }
  static QTextCodec* codecForName(const QByteArray& name) {
    const auto encoding = QStringConverter::encodingForName(name.constData());
    return encoding ? ForEncoding(*encoding) : nullptr;
  }
  static QTextCodec* codecForName(const char* name) { return codecForName(QByteArray(name)); }

  QByteArray fromUnicode(const QString& text) const {
    QStringEncoder encoder(encoding_);
    return encoder.encode(text);
  }
  QString toUnicode(const QByteArray& bytes) const {
    QStringDecoder decoder(encoding_);
    return decoder.decode(bytes);
  }
  QByteArray name() const { return QByteArray(QStringConverter::nameForEncoding(encoding_)); }

 private:
  explicit QTextCodec(QStringConverter::Encoding encoding) : encoding_(encoding) {}

  static QTextCodec* ForEncoding(QStringConverter::Encoding encoding) {
    static std::array<QTextCodec*, QStringConverter::LastEncoding + 1> codecs{};
    QTextCodec*& codec = codecs[static_cast<std::size_t>(encoding)];
    if (codec == nullptr) codec = new QTextCodec(encoding);  // lives as long as the program, like Qt's own
    return codec;
  }

  QStringConverter::Encoding encoding_;
};
