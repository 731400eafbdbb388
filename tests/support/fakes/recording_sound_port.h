#pragma once

#include <string>
#include <vector>

#include "engine/ports/sound_port.h"

namespace kavrel {

// Test double of SoundPort: records every call as a line ("play <path> loop", "stop", ...).
class RecordingSoundPort : public SoundPort {
 public:
  std::vector<std::string> calls;
  std::string stageMusicFile;  // what ResumeStageMusic plays; empty means stage music is off

  void PlaySoundFile(const std::string& path, bool loop) override;
  void StopAllSounds() override;
  void SuspendStageMusic() override;
  void ResumeStageMusic() override;
  bool StageMusicPlaying() const override { return playing_; }
  void SetStageMusicPlaying(bool playing) override { playing_ = playing; }

 private:
  bool playing_ = false;
};

}  // namespace kavrel
