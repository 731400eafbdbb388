#pragma once

#include <string>

namespace kavrel {

// Sound playback: an MP3 channel and a sound channel (WAVE and MIDI), one file per channel,
// a new file replaces the old, failures are silent. Paths are full paths in GB18030 bytes.
class SoundPort {
 public:
  virtual ~SoundPort() = default;

  // Plays by the extension (last 4 bytes, ASCII case ignored): ".mp3" on the MP3 channel,
  // ".wav"/".mid" on the sound channel; anything else plays nothing.
  virtual void PlaySoundFile(const std::string& path, bool loop) = 0;
  virtual void StopAllSounds() = 0;

  // Stage music around modal windows: Suspend stops everything if the stage music counts as
  // playing and clears that flag; Resume plays the stage music when it is switched on and sets it.
  virtual void SuspendStageMusic() = 0;
  virtual void ResumeStageMusic() = 0;
  virtual bool StageMusicPlaying() const = 0;
  virtual void SetStageMusicPlaying(bool playing) = 0;
};

}  // namespace kavrel
