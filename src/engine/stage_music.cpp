#include "engine/stage_music.h"

namespace kavrel {

void StageMusic::StartOnStage() {
  if (settings_.stageMusicOn && !sound_.StageMusicPlaying()) sound_.ResumeStageMusic();
}

void StageMusic::Suspend() {
  sound_.SuspendStageMusic();
}

void StageMusic::Resume() {
  sound_.ResumeStageMusic();
}

void StageMusic::AfterSilencingWindow() {
  if (sound_.StageMusicPlaying()) sound_.ResumeStageMusic();
}

void StageMusic::Toggle() {
  if (!settings_.stageMusicOn) return;
  if (sound_.StageMusicPlaying()) {
    sound_.StopAllSounds();
    sound_.SetStageMusicPlaying(false);
  } else {
    sound_.PlaySoundFile(settings_.stageMusicFile, settings_.stageMusicLoop);
    sound_.SetStageMusicPlaying(true);
  }
}

}  // namespace kavrel
