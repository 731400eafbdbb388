#pragma once

#include <QString>
#include <string>

// Conversions between the program's GB18030 data texts and Qt's strings at the edge of the
// platform layer, and from stored paths (which may use backslashes) to native file names.
namespace kavrel::platform_detail {

QString QtFromGb(const std::string& gb);
std::string GbFromQt(const QString& text);

// A GB18030 path as a native file name for fopen-style calls. Backslashes become slashes on
// systems where a backslash is an ordinary character; this is done on the decoded text, because
// the second byte of a double-byte GB character may be 0x5C.
QByteArray NativeFileName(const std::string& gbPath);
QString NativePath(const std::string& gbPath);

}  // namespace kavrel::platform_detail
