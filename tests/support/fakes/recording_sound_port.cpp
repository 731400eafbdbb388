#include "support/fakes/recording_sound_port.h"

namespace kavrel {

void RecordingSoundPort::PlaySoundFile(const std::string& path, bool loop) {
  calls.push_back("play " + path + (loop ? " loop" : " once"));
}

void RecordingSoundPort::StopAllSounds() {
  calls.push_back("stop");
}

void RecordingSoundPort::SuspendStageMusic() {
  calls.push_back("suspend");
  if (playing_) playing_ = false;
}

void RecordingSoundPort::ResumeStageMusic() {
  calls.push_back("resume");
  if (!stageMusicFile.empty()) playing_ = true;
}

}  // namespace kavrel
