#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// Key-by-key access to an INI file (config\config.ini, config\exit.ini) that stays readable and
// writable by the Windows profile functions: GB18030 without byte-order mark, CR LF written and
// LF alone accepted; a file saved as UTF-8 or UTF-16 by another editor is read (DecodeExternalText)
// and rewritten whole in GB18030 at the first write; section and key names matched ignoring ASCII case and surrounding
// blanks, the first of duplicate sections or keys wins, ';' starts a comment line, values trimmed of blanks and of one
// pair of enclosing quotes. Unlike those functions, values of any length are read whole. Every call reads the file
// afresh, so values written elsewhere are seen at once. Section, key and value texts are GB18030 bytes.
class Settings {
 public:
  explicit Settings(std::filesystem::path file);

  const std::filesystem::path& File() const { return file_; }

  // The stored value, or `def` when the file, the section or the key is missing.
  std::string ReadText(std::string_view section, std::string_view key, std::string_view def = {}) const;

  // The value exactly as stored after "=", without trimming; nullopt when missing.
  std::optional<std::string> ReadRaw(std::string_view section, std::string_view key) const;

  // True only when the value is exactly "真".
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // The leading decimal number of the value; 0 when it has none; `def` when missing.
  int ReadInt(std::string_view section, std::string_view key, int def) const;

  // Replaces the key's line, or adds "key=value" at the end of its section (a new section at the
  // end of the file); every other line stays as it was. The file is rewritten atomically.
  bool WriteText(std::string_view section, std::string_view key, std::string_view value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  bool WriteInt(std::string_view section, std::string_view key, long long value);

 private:
  std::filesystem::path file_;
};

}  // namespace kavrel
