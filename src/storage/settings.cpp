#include "storage/settings.h"

#include "storage/codec.h"
#include "storage/ini_text.h"
#include "storage/number_text.h"
#include "storage/text_file.h"

namespace kavrel {

Settings::Settings(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> Settings::ReadRaw(std::string_view section, std::string_view key) const {
  return detail::FindIniValue(detail::ParseIniLines(DecodeExternalText(ReadTextFile(file_))), section, key);
}

std::string Settings::ReadText(std::string_view section, std::string_view key, std::string_view def) const {
  const auto raw = ReadRaw(section, key);
  return raw ? detail::TrimIniValue(*raw) : std::string(def);
}

bool Settings::ReadBool(std::string_view section, std::string_view key, bool def) const {
  const auto raw = ReadRaw(section, key);
  if (!raw) return def;
  static const std::string kTrue = Gb("真");
  return detail::TrimIniValue(*raw) == kTrue;
}

int Settings::ReadInt(std::string_view section, std::string_view key, int def) const {
  const auto raw = ReadRaw(section, key);
  return raw ? LeadingInt(detail::TrimIniValue(*raw)) : def;
}

bool Settings::WriteText(std::string_view section, std::string_view key, std::string_view value) {
  const auto text = TryReadTextFile(file_);
  if (!text) return false;
  // A file another editor saved as UTF-8 or UTF-16 is rewritten whole in GB18030 with CR LF here,
  // every other value kept, so the file never mixes two encodings.
  detail::IniLines ini = detail::ParseIniLines(DecodeExternalText(*text));
  detail::SetIniValue(ini, section, key, value);
  return WriteTextFile(file_, detail::JoinIniLines(ini));
}

bool Settings::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteText(section, key, Gb(value ? "真" : "假"));
}

bool Settings::WriteInt(std::string_view section, std::string_view key, long long value) {
  return WriteText(section, key, std::to_string(value));
}

}  // namespace kavrel
