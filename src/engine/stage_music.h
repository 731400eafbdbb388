#pragma once

#include "engine/ports/sound_port.h"
#include "storage/stage_settings.h"

namespace kavrel {

// The stage's background music and when it plays: at start-up, around the windows that must be
// quiet, after the windows that silence everything, and on F9. The stage forwards these events
// and decides nothing itself. The start and stop sounds of a roll end the music without clearing
// its "playing" mark (they call StopAllSounds): it comes back with the next window or F9.
class StageMusic {
 public:
  // `settings` is read at every call, so a reload of the sound settings reaches the next one.
  StageMusic(SoundPort& sound, const SoundSettings& settings) : sound_(sound), settings_(settings) {}

  // The stage is ready: the music starts when it is switched on and not playing yet.
  void StartOnStage();
  // Before a window that must be quiet: music that counts as playing stops and no longer counts.
  void Suspend();
  // After such a window: the music starts from the beginning when it is switched on.
  void Resume();
  // After a window that plays its own music and silences everything on closing: music that still
  // counts as playing comes back, so the stage is not left quiet with F9 out of step.
  void AfterSilencingWindow();
  // F9: nothing when the music is switched off; otherwise stops it or plays it from the beginning.
  void Toggle();

  bool Playing() const { return sound_.StageMusicPlaying(); }

 private:
  SoundPort& sound_;
  const SoundSettings& settings_;
};

}  // namespace kavrel
