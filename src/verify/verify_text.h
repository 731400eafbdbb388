#pragma once

#include <string>

#include "storage/codec.h"

namespace kavrel::verify {

// A data text as the log holds it: the receipts keep texts as Unicode, so both sides go through the
// same conversion before they are compared.
inline std::string Norm(const std::string& gb) {
  return FromQt(ToQt(gb));
}

// A data text quoted for the report (UTF-8).
inline std::string Shown(const std::string& gb) {
  const QByteArray utf8 = ToQt(gb).toUtf8();
  return "\"" + std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())) + "\"";
}

}  // namespace kavrel::verify
