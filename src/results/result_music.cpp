#include "results/result_music.h"

namespace kavrel {

void ResultMusic::Play() {
  sound_.PlaySoundFile(file_, loop_);
  playing_ = true;
}

void ResultMusic::StartOnOpening(ResultViewMode mode) {
  if (mode != ResultViewMode::NonWinnerList && on_ && !playing_) Play();
}

void ResultMusic::Toggle() {
  if (!on_) return;
  if (playing_)
    Stop();
  else
    Play();
}

void ResultMusic::Stop() {
  sound_.StopAllSounds();
  playing_ = false;
}

}  // namespace kavrel
