#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

namespace kavrel {

class Prompter;
class StageMusic;

// Whether `path` ends in one of the picture extensions the stage accepts as its background
// (.png .jpg .jpeg .bmp .ico .gif, ASCII letter case ignored).
bool IsSupportedBackgroundFile(const QString& path);

// The dialogue of "更改背景图片 → 自定义": tells which formats work, pauses the stage music, asks for a
// file and checks its extension. Returns the chosen file (GB18030 path, as the prompter gave it) when
// it is accepted, with the music resumed; nullopt when cancelled (music resumed) or refused (an error
// box, music stays stopped). The caller then loads the picture and shows it.
std::optional<std::string> ChooseCustomBackground(Prompter& prompter, StageMusic& music);

// The built-in stage background at `size`: the picture from the program's resources when present,
// otherwise a red-to-gold gradient with soft rays so the stage never shows a blank window.
QPixmap DefaultStageBackground(QSize size);

}  // namespace kavrel
