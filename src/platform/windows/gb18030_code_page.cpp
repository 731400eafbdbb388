// GB18030 through Windows' code page 54936: Qt for Windows has no ICU, and the system converts
// GB18030 (all of Unicode) both ways itself. Compiled into the storage library on Windows only.
#include <windows.h>

#include "storage/gb18030.h"

namespace kavrel::detail {

namespace {

// GB18030 where the system has it (every Windows since XP); else GBK, its two-byte part, which holds
// every character the data files normally carry (wine 8 lacks 54936).
UINT CodePage() {
  static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
  return page;
}

}  // namespace

bool Gb18030CoversUnicode() {
  return CodePage() == 54936;
}

QString DecodeGb18030(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CodePage(), 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CodePage(), 0, bytes.data(), size, wide.data(), length);
  return QString::fromWCharArray(wide.data(), length);
}

std::string EncodeGb18030(const QString& text) {
  if (text.isEmpty()) return {};
  const std::wstring wide = text.toStdWString();
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CodePage(), 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CodePage(), 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

}  // namespace kavrel::detail
