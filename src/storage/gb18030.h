#pragma once

#include <QString>
#include <string>
#include <string_view>

// The GB18030 conversion itself, behind codec.h. On Linux Qt converts through ICU; Qt for Windows is
// built without ICU, so there the system's own GB18030 code page (54936) does it
// (src/platform/windows/gb18030_code_page.cpp). CMake picks one of the two.
namespace kavrel::detail {

QString DecodeGb18030(std::string_view bytes);
std::string EncodeGb18030(const QString& text);

}  // namespace kavrel::detail
