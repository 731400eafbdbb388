#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

namespace kavrel {

class ProgramDir;
class Prompter;
class Settings;
class StageMusic;

// Whether `path` ends in one of the picture extensions the stage accepts as its background
// (.png .jpg .jpeg .bmp .ico .gif, ASCII letter case ignored).
bool IsSupportedBackgroundFile(const QString& path);

// The dialogue of "更改背景图片 → 自定义": tells which formats work, pauses the stage music, asks for a
// file and checks its extension. Returns the chosen file (GB18030 path, as the prompter gave it) when
// it is accepted, with the music resumed; nullopt when cancelled (music resumed) or refused (an error
// box, music stays stopped). The caller then loads the picture and shows it.
std::optional<std::string> ChooseCustomBackground(Prompter& prompter, StageMusic& music);

// A chosen background is kept as a copy in config/ (so the data folder can be carried to the event
// laptop) and named in the settings, so the next start shows it again.
//
// Copies `source` into config/ and makes it the kept background; a copy kept before with another
// extension is removed. Returns an empty string on success, else what went wrong (for the operator).
QString KeepCustomBackground(const ProgramDir& dir, Settings& settings, const QString& source);

// The kept background's file; empty when the default is in use or the kept copy is gone.
QString KeptBackground(const ProgramDir& dir, const Settings& settings);

// Back to the built-in background from the next start on (the kept copy is removed).
bool ForgetCustomBackground(const ProgramDir& dir, Settings& settings);

// `picture` scaled to fill `size` without distortion: as large as needed to cover it, the overflow
// cut off evenly on both sides.
QPixmap FillScreen(const QPixmap& picture, QSize size);

// The width between the inner lanterns of the built-in picture at `size`, where the main title stands
// clear of them.
int TitleRoomOnDefaultBackground(QSize size);

// The built-in stage background at `size`: the picture from the program's resources when present,
// otherwise a red-to-gold gradient with soft rays so the stage never shows a blank window.
QPixmap DefaultStageBackground(QSize size);

}  // namespace kavrel
