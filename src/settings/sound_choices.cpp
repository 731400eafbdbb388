#include "settings/sound_choices.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

const char* const kSection = "音效设置";

const SoundRowKeys kRows[kSoundRowCount] = {
    {"启用抽奖页面背景音乐", "循环播放抽奖页面背景音乐", "\\wav\\bg2.mp3"},
    {"启用结果页面背景音乐", "循环播放结果页面背景音乐", "\\wav\\bg4.mp3"},
    {"启用开始音乐", nullptr, "\\wav\\start3.mp3"},
    {"启用停止音乐", nullptr, "\\wav\\stop1.wav"},
};

SoundRow RowAt(std::size_t i) {
  return static_cast<SoundRow>(i);
}

}  // namespace

const SoundRowKeys& KeysOf(SoundRow row) {
  return kRows[static_cast<std::size_t>(row)];
}

std::string FileKeyOf(SoundRow row) {
  return Gb(std::string(KeysOf(row).onKey) + "名称");
}

std::vector<std::string> ListSoundFolder(const ProgramDir& dir) {
  const QDir folder(detail::ToQPath(dir.Path(ProgramDir::kWavDir)));
  // Hidden files count too: the list shows whatever the folder holds, as long as it is a file.
  QFileInfoList files = folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  std::vector<std::string> items;
  items.reserve(static_cast<std::size_t>(files.size()));
  for (const QFileInfo& f : files) items.push_back(Gb("\\wav\\") + FromQt(f.fileName()));
  return items;
}

SoundChoices LoadSoundChoices(const Settings& settings) {
  const std::string section = Gb(kSection);
  SoundChoices c;
  for (std::size_t i = 0; i < kSoundRowCount; ++i) {
    const SoundRowKeys& keys = kRows[i];
    c[i].on = settings.ReadBool(section, Gb(keys.onKey), true);
    c[i].loop = keys.loopKey ? settings.ReadBool(section, Gb(keys.loopKey), true) : false;
    c[i].file = settings.ReadText(section, FileKeyOf(RowAt(i)), Gb(keys.defaultFile));
  }
  return c;
}

bool SaveSoundChoices(Settings& settings, const SoundChoices& choices) {
  const std::string section = Gb(kSection);
  bool ok = true;
  for (std::size_t i = 0; i < kSoundRowCount; ++i) {
    const SoundRowKeys& keys = kRows[i];
    ok = settings.WriteBool(section, Gb(keys.onKey), choices[i].on) && ok;
    if (keys.loopKey) ok = settings.WriteBool(section, Gb(keys.loopKey), choices[i].loop) && ok;
    ok = settings.WriteText(section, FileKeyOf(RowAt(i)), choices[i].file) && ok;
  }
  return ok;
}

}  // namespace kavrel
