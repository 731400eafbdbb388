#pragma once

#include <QString>
#include <string>
#include <string_view>

// The GB18030 conversion itself, behind codec.h. On Linux Qt converts through ICU; Qt for Windows is
// built without ICU, so there the system's own GB18030 code page (54936) does it
// (src/platform/windows/gb18030_code_page.cpp). CMake picks one of the two.
namespace kavrel::detail {

QString DecodeGb18030(std::string_view bytes);
// False where the system converts only GBK, GB18030's two-byte part (wine lacks code page 54936);
// characters beyond it then do not survive.
bool Gb18030CoversUnicode();
std::string EncodeGb18030(const QString& text);

}  // namespace kavrel::detail
