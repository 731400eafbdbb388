#include "results/result_music.h"

#include <gtest/gtest.h>

#include "support/fakes/recording_sound_port.h"

namespace kavrel {
namespace {

using Calls = std::vector<std::string>;

TEST(ResultMusic, EveryViewButTheNonWinnerListStartsTheMusic) {
  for (auto mode : {ResultViewMode::WinnerList, ResultViewMode::LatestAward, ResultViewMode::WinnerShow}) {
    RecordingSoundPort sound;
    ResultMusic music(sound, true, "/p/wav/bg4.mp3", true);
    music.StartOnOpening(mode);
    EXPECT_EQ(sound.calls, Calls{"play /p/wav/bg4.mp3 loop"});
    EXPECT_TRUE(music.playing());
  }
  RecordingSoundPort sound;
  ResultMusic music(sound, true, "/p/wav/bg4.mp3", false);
  music.StartOnOpening(ResultViewMode::NonWinnerList);
  EXPECT_TRUE(sound.calls.empty());
  // F9 still plays it there, once when the loop is off.
  music.Toggle();
  EXPECT_EQ(sound.calls, Calls{"play /p/wav/bg4.mp3 once"});
}

TEST(ResultMusic, F9TogglesAndStopClearsTheMark) {
  RecordingSoundPort sound;
  ResultMusic music(sound, true, "m.mp3", true);
  music.StartOnOpening(ResultViewMode::WinnerShow);
  music.Toggle();
  EXPECT_FALSE(music.playing());
  music.Toggle();
  EXPECT_TRUE(music.playing());
  music.Stop();
  EXPECT_FALSE(music.playing());
  music.Toggle();
  EXPECT_EQ(sound.calls, (Calls{"play m.mp3 loop", "stop", "play m.mp3 loop", "stop", "play m.mp3 loop"}));
}

TEST(ResultMusic, SwitchedOffNothingPlaysButClosingStillSilences) {
  RecordingSoundPort sound;
  ResultMusic music(sound, false, "m.mp3", true);
  music.StartOnOpening(ResultViewMode::WinnerShow);
  music.Toggle();
  music.Toggle();
  EXPECT_TRUE(sound.calls.empty());
  music.Stop();
  EXPECT_EQ(sound.calls, Calls{"stop"});
}

}  // namespace
}  // namespace kavrel
