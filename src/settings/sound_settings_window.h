#pragma once

#include <QDialog>
#include <array>

#include "settings/sound_choices.h"

class QCheckBox;
class QComboBox;

namespace kavrel {

class Prompter;
class ProgramDir;
class Settings;
class SoundPort;

// "音效设置": one row per sound (stage music, result music, start sound, stop sound) with its switch,
// its file from the sound folder, preview and stop, and a loop switch for the two kinds of music.
// Reads the settings every time it opens and writes the ten keys only on "确定"; the caller reloads
// the sound settings and resumes the stage music after it closes, however it closes.
class SoundSettingsWindow : public QDialog {
  Q_OBJECT

 public:
  SoundSettingsWindow(const ProgramDir& dir, Settings& settings, SoundPort& sound, Prompter& prompter,
                      QWidget* parent = nullptr);

  // What the controls show now, as it would be stored.
  SoundChoices Choices() const;

 private:
  struct Row {
    QCheckBox* on = nullptr;
    QComboBox* file = nullptr;
    QCheckBox* loop = nullptr;
  };

  void Show(const SoundChoices& choices);
  void Preview(SoundRow row);
  void OkPressed();

  const ProgramDir& dir_;
  Settings& settings_;
  SoundPort& sound_;
  Prompter& prompter_;
  std::array<Row, kSoundRowCount> rows_{};
};

}  // namespace kavrel
