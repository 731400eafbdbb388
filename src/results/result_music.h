#pragma once

#include <string>

#include "engine/ports/sound_port.h"
#include "results/result_view_mode.h"

namespace kavrel {

// The result-page music of one result window. The playing mark lives as long as the window:
// every way of closing the window stops the music and clears it, so each opening starts from
// "not playing".
class ResultMusic {
 public:
  ResultMusic(SoundPort& sound, bool on, std::string file, bool loop)
      : sound_(sound), on_(on), file_(std::move(file)), loop_(loop) {}

  // Every view but the non-winner list starts the music when it is switched on.
  void StartOnOpening(ResultViewMode mode);

  // F9: toggles the music when it is switched on; does nothing otherwise.
  void Toggle();

  // "停止音乐", "返回" and every close: silence and clear the mark.
  void Stop();

  bool playing() const { return playing_; }

 private:
  void Play();

  SoundPort& sound_;
  bool on_;
  std::string file_;
  bool loop_;
  bool playing_ = false;
};

}  // namespace kavrel
