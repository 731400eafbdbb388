#pragma once

// What the sound settings window edits: the four sounds of section "音效设置", each switched on or off,
// with its file from the sound folder and, for the two kinds of music, a loop switch.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kavrel {

class ProgramDir;
class Settings;

enum class SoundRow : std::size_t { StageMusic, ResultMusic, StartSound, StopSound };
inline constexpr std::size_t kSoundRowCount = 4;

// The settings keys of one row (UTF-8). Each switch's key is its check box's caption; the file's key is
// that caption followed by "名称". Only the two music rows have a loop key.
struct SoundRowKeys {
  const char* onKey;
  const char* loopKey;      // nullptr for the start and stop sounds
  const char* defaultFile;  // stored form, relative to the program folder
};

const SoundRowKeys& KeysOf(SoundRow row);
std::string FileKeyOf(SoundRow row);  // GB18030, e.g. "启用开始音乐名称"

struct SoundChoice {
  bool on = true;
  bool loop = true;  // ignored for rows without a loop key
  std::string file;  // stored form "\wav\name" in GB18030; empty when no file is chosen
  bool operator==(const SoundChoice&) const = default;
};

using SoundChoices = std::array<SoundChoice, kSoundRowCount>;

inline SoundChoice& At(SoundChoices& c, SoundRow row) {
  return c[static_cast<std::size_t>(row)];
}
inline const SoundChoice& At(const SoundChoices& c, SoundRow row) {
  return c[static_cast<std::size_t>(row)];
}

// The items of the four file lists: "\wav\" + the name of every file (not folder) in the sound folder,
// in GB18030, sorted by name the way the file explorer lists them (letter case ignored). Empty when the
// folder is missing or empty.
std::vector<std::string> ListSoundFolder(const ProgramDir& dir);

// The stored choices, with the defaults for missing keys (switches true only for "真").
SoundChoices LoadSoundChoices(const Settings& settings);

// Writes the ten keys in the window's order: per row the switch, the loop switch (music rows) and the
// file. False when any write failed.
bool SaveSoundChoices(Settings& settings, const SoundChoices& choices);

}  // namespace kavrel
