#pragma once

#include <string>

#include "engine/ports/sound_port.h"
#include "storage/stage_settings.h"

struct _Mix_Music;
struct Mix_Chunk;

namespace kavrel {

// SoundPort on SDL2_mixer. MP3 files play as SDL music (the MP3 channel); WAVE and MIDI files are
// decoded whole into a chunk and play on one reserved mixer channel (the sound channel), so a stop
// sound can sound over the stage music. Every failure is silent: the draw must go on without sound.
//
// One instance per process: it opens the audio device in its constructor and closes it in its
// destructor; a second instance made while the first lives stays silent rather than closing the
// device under the first. Without a usable audio device it falls back to SDL's dummy driver, so calls keep
// working (and keep their state) on a machine with no sound card.
class SdlSoundPort : public SoundPort {
 public:
  SdlSoundPort();
  ~SdlSoundPort() override;
  SdlSoundPort(const SdlSoundPort&) = delete;
  SdlSoundPort& operator=(const SdlSoundPort&) = delete;

  void PlaySoundFile(const std::string& path, bool loop) override;
  void StopAllSounds() override;
  void SuspendStageMusic() override;
  void ResumeStageMusic() override;
  bool StageMusicPlaying() const override { return stageMusicPlaying_; }
  void SetStageMusicPlaying(bool playing) override { stageMusicPlaying_ = playing; }

  // The process-wide sound settings that ResumeStageMusic reads (stageMusicOn, stageMusicFile,
  // stageMusicLoop). The record is read at every resume, so edits reach the next resume; it must
  // outlive the port. Without settings, resuming plays nothing.
  void UseSoundSettings(const SoundSettings& settings) { settings_ = &settings; }

  // State for diagnostics and tests.
  bool AudioOpen() const { return audioOpen_; }
  bool MusicChannelPlaying() const;
  bool SoundChannelPlaying() const;
  const std::string& MusicChannelFile() const { return musicFile_; }
  const std::string& SoundChannelFile() const { return soundFile_; }

 private:
  void PlayMusic(const std::string& path, bool loop);
  void PlaySound(const std::string& path, bool loop);
  void EndMusic();
  void EndSound();

  bool audioOpen_ = false;
  bool stageMusicPlaying_ = false;
  const SoundSettings* settings_ = nullptr;
  _Mix_Music* music_ = nullptr;
  Mix_Chunk* sound_ = nullptr;
  std::string musicFile_;
  std::string soundFile_;
};

// The extension as the player sees it: the last 4 bytes, ASCII capitals made small
// (".MP3" -> ".mp3"; "a.wave" -> "wave"). Empty for a shorter path.
std::string SoundExtension(const std::string& path);

}  // namespace kavrel
