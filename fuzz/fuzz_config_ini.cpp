// config\config.ini: the line model, and every setting the stage and the sounds read from it.
#include "fuzz_support.h"
#include "storage/codec.h"
#include "storage/ini_text.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/stage_settings.h"

using namespace kavrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::EnsureApp();
  const std::string_view text = fuzz::Bytes(data, size);
  detail::IniLines ini = detail::ParseIniLines(text);
  static const std::string section = Gb("标题设置");
  static const std::string key = Gb("主标题");
  if (const auto raw = detail::FindIniValue(ini, section, key)) detail::TrimIniValue(*raw);
  // A value written is the value read back, whatever else the file holds.
  detail::SetIniValue(ini, section, key, "kavrel");
  const auto back = detail::FindIniValue(detail::ParseIniLines(detail::JoinIniLines(ini)), section, key);
  if (!back || *back != "kavrel") fuzz::Fail("written value not read back");

  static const QString file = fuzz::ScratchPath("config.ini");
  fuzz::WriteScratch(file, text);
  const Settings settings(file.toStdString());
  DrawOptions options;
  LoadStageSettings(settings, options);
  static const ProgramDir dir(fuzz::ScratchPath("").toStdString());
  LoadSoundSettings(settings, dir);
  return 0;
}
