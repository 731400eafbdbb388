#include <gtest/gtest.h>

#include <QFile>
#include <csignal>
#include <filesystem>

#include "platform/sdl_sound_port.h"
#include "sound_test_support.h"
#include "storage/codec.h"
#include "storage/program_dir.h"

namespace kavrel::test {
namespace {

constexpr double kHeard = 0.05;   // a tone at half scale measures about 0.25
constexpr double kAbsent = 0.01;  // leakage of another tone, or mp3 coding noise

TEST(SoundExtension, LastFourBytesWithAsciiCapitalsMadeSmall) {
  EXPECT_EQ(SoundExtension("a.MP3"), ".mp3");
  EXPECT_EQ(SoundExtension("/x/y/bg2.Wav"), ".wav");
  EXPECT_EQ(SoundExtension("a.wave"), "wave");
  EXPECT_EQ(SoundExtension("a.midi"), "midi");
  EXPECT_EQ(SoundExtension(".mp"), "");
  EXPECT_EQ(SoundExtension(""), "");
}

#ifndef _WIN32
// A session ending (SIGTERM) or Ctrl+C (SIGINT) must still end the program once sound is open.
TEST(SdlSoundPort, LeavesTerminationSignalsToTheirDefault) {
  DiskSound disk;
  ASSERT_TRUE(disk.port().AudioOpen());
  for (int sig : {SIGTERM, SIGINT}) {
    struct sigaction current {};
    ASSERT_EQ(sigaction(sig, nullptr, &current), 0);
    EXPECT_TRUE(current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN) << "signal " << sig;
  }
}
#endif

TEST(SdlSoundPort, Mp3MusicAndWaveSoundSoundTogetherUntilStopped) {
  DiskSound disk;
  ASSERT_TRUE(disk.port().AudioOpen());
  WriteFile(disk.Path("stop.wav"), SineWave(1000, 2.0));

  disk.port().PlaySoundFile(DataFile("tone440.mp3"), true);
  disk.port().PlaySoundFile(disk.Path("stop.wav"), true);
  disk.Mark();
  EXPECT_TRUE(disk.port().MusicChannelPlaying());
  EXPECT_TRUE(disk.port().SoundChannelPlaying());
  const auto both = disk.Samples(0.5);
  EXPECT_GT(ToneLevel(both, 440), kHeard);
  EXPECT_GT(ToneLevel(both, 1000), kHeard);

  disk.port().StopAllSounds();
  EXPECT_FALSE(disk.port().MusicChannelPlaying());
  EXPECT_FALSE(disk.port().SoundChannelPlaying());
  disk.Mark();
  EXPECT_EQ(PeakLevel(disk.Samples(0.3)), 0);
}

TEST(SdlSoundPort, MissingEmptyOrUnsupportedFilesPlayNothing) {
  DiskSound disk;
  const QByteArray wave = SineWave(1000, 1.0);
  WriteFile(disk.Path("empty.wav"), {});
  WriteFile(disk.Path("text.wav"), "RIFF? no, just a note to self\r\n");
  WriteFile(disk.Path("mp3data.wav"), [] {
    QFile f(NativePath(DataFile("tone440.mp3")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }());
  WriteFile(disk.Path("text.mp3"), "not music at all\r\n");
  WriteFile(disk.Path("empty.mp3"), {});
  WriteFile(disk.Path("good.wave"), wave);
  WriteFile(disk.Path("good.midi"), OneNoteMidi());
  WriteFile(disk.Path("good.ogg"), wave);

  disk.Mark();
  for (const char* name : {"missing.mp3", "missing.wav", "missing.mid", "empty.wav", "text.wav", "mp3data.wav",
                           "text.mp3", "empty.mp3", "good.wave", "good.midi", "good.ogg"}) {
    disk.port().PlaySoundFile(disk.Path(name), true);
    EXPECT_FALSE(disk.port().MusicChannelPlaying()) << name;
    EXPECT_FALSE(disk.port().SoundChannelPlaying()) << name;
  }
  disk.port().PlaySoundFile("", true);
  disk.port().PlaySoundFile(".mp3", true);
  EXPECT_EQ(PeakLevel(disk.Samples(0.3)), 0);
}

TEST(SdlSoundPort, CapitalExtensionsAndChineseFileNamesPlay) {
  DiskSound disk;
  std::filesystem::copy_file(NativePath(DataFile("tone440.mp3")), NativePath(disk.Path("开场音乐.MP3")));
  WriteFile(disk.Path("停止.WAV"), SineWave(1000, 1.0));

  disk.port().PlaySoundFile(disk.Path("开场音乐.MP3"), true);
  disk.port().PlaySoundFile(disk.Path("停止.WAV"), true);
  disk.Mark();
  const auto samples = disk.Samples(0.4);
  EXPECT_GT(ToneLevel(samples, 440), kHeard);
  EXPECT_GT(ToneLevel(samples, 1000), kHeard);
}

TEST(SdlSoundPort, StoredBackslashPathsPlay) {
  // As the settings store it: ProgramDir + "\wav\" + name; 奬 ends in byte 0x5C in GB18030.
  DiskSound disk;
  std::filesystem::create_directory(NativePath(FromQt(disk.Dir()) + "/wav"));
  std::filesystem::copy_file(NativePath(DataFile("tone440.mp3")), NativePath(FromQt(disk.Dir()) + Gb("/wav/奬.mp3")));
  WriteFile(FromQt(disk.Dir()) + Gb("/wav/奬.wav"), SineWave(1000, 1.0));
  disk.port().PlaySoundFile(FromQt(disk.Dir()) + Gb("\\wav\\奬.mp3"), true);
  disk.port().PlaySoundFile(FromQt(disk.Dir()) + Gb("\\wav\\奬.wav"), true);
  EXPECT_TRUE(disk.port().MusicChannelPlaying());
  EXPECT_TRUE(disk.port().SoundChannelPlaying());
}

TEST(SdlSoundPort, ANewFileReplacesTheOldOnItsChannelOnly) {
  DiskSound disk;
  WriteFile(disk.Path("a.wav"), SineWave(1000, 2.0));
  WriteFile(disk.Path("b.wav"), SineWave(1500, 2.0));

  disk.port().PlaySoundFile(DataFile("tone440.mp3"), true);
  disk.port().PlaySoundFile(disk.Path("a.wav"), true);
  disk.port().PlaySoundFile(DataFile("tone660.mp3"), true);
  disk.port().PlaySoundFile(disk.Path("b.wav"), true);
  disk.Mark();
  EXPECT_EQ(disk.port().MusicChannelFile(), DataFile("tone660.mp3"));
  EXPECT_EQ(disk.port().SoundChannelFile(), disk.Path("b.wav"));
  const auto samples = disk.Samples(0.5);
  EXPECT_LT(ToneLevel(samples, 440), kAbsent);
  EXPECT_LT(ToneLevel(samples, 1000), kAbsent);
  EXPECT_GT(ToneLevel(samples, 660), kHeard);
  EXPECT_GT(ToneLevel(samples, 1500), kHeard);

  // A missing or non-WAVE file leaves the sound channel as it was; a WAVE file that fails to
  // decode ends it; an MP3 that cannot play still ends the music before it.
  disk.port().PlaySoundFile(disk.Path("missing.wav"), true);
  WriteFile(disk.Path("text.wav"), "plain text");
  disk.port().PlaySoundFile(disk.Path("text.wav"), true);
  EXPECT_EQ(disk.port().SoundChannelFile(), disk.Path("b.wav"));
  EXPECT_TRUE(disk.port().SoundChannelPlaying());
  WriteFile(disk.Path("broken.wav"), SineWave(1000, 1.0).left(12));
  disk.port().PlaySoundFile(disk.Path("broken.wav"), true);
  EXPECT_FALSE(disk.port().SoundChannelPlaying());
  EXPECT_TRUE(disk.port().MusicChannelPlaying());
  disk.port().PlaySoundFile(disk.Path("missing.mp3"), true);
  EXPECT_FALSE(disk.port().MusicChannelPlaying());
}

TEST(SdlSoundPort, MidiPlaysOnTheSoundChannel) {
  DiskSound disk;
  WriteFile(disk.Path("note.mid"), OneNoteMidi());
  disk.port().PlaySoundFile(disk.Path("note.mid"), false);  // renders the whole file first
  disk.Mark();
  EXPECT_TRUE(disk.port().SoundChannelPlaying());
  EXPECT_FALSE(disk.port().MusicChannelPlaying());
  EXPECT_GT(PeakLevel(disk.Samples(1.0)), 1000);
}

TEST(SdlSoundPort, PlayingOnceEndsAndLoopingGoesOn) {
  DiskSound disk;
  WriteFile(disk.Path("short.wav"), SineWave(1000, 0.2));
  disk.port().PlaySoundFile(disk.Path("short.wav"), false);
  disk.port().PlaySoundFile(DataFile("tone440.mp3"), false);
  disk.Mark();
  disk.Samples(1.5);  // well past both ends
  EXPECT_FALSE(disk.port().SoundChannelPlaying());
  EXPECT_FALSE(disk.port().MusicChannelPlaying());

  disk.port().PlaySoundFile(disk.Path("short.wav"), true);
  disk.port().PlaySoundFile(DataFile("tone440.mp3"), true);
  disk.Mark();
  const auto samples = disk.Samples(2.5);
  EXPECT_TRUE(disk.port().SoundChannelPlaying());
  EXPECT_TRUE(disk.port().MusicChannelPlaying());
  const std::vector<std::int16_t> late(samples.end() - 22050, samples.end());
  EXPECT_GT(ToneLevel(late, 440), kHeard);
  EXPECT_GT(ToneLevel(late, 1000), kHeard);
}

TEST(SdlSoundPort, StageMusicSuspendsAndResumesWithItsFlag) {
  DiskSound disk;
  SdlSoundPort& port = disk.port();
  SoundSettings settings;
  settings.stageMusicFile = DataFile("tone440.mp3");
  port.ResumeStageMusic();  // no settings yet: nothing to play
  EXPECT_FALSE(port.StageMusicPlaying());
  port.UseSoundSettings(settings);

  port.ResumeStageMusic();
  EXPECT_TRUE(port.StageMusicPlaying());
  EXPECT_EQ(port.MusicChannelFile(), DataFile("tone440.mp3"));

  // A roll start silences everything but the stage music still counts as playing.
  port.StopAllSounds();
  EXPECT_TRUE(port.StageMusicPlaying());

  port.SuspendStageMusic();
  EXPECT_FALSE(port.StageMusicPlaying());

  // With the flag clear, suspending leaves other music (the result window's) alone.
  port.PlaySoundFile(DataFile("tone660.mp3"), true);
  port.SuspendStageMusic();
  EXPECT_TRUE(port.MusicChannelPlaying());

  // Stage music switched off: resuming plays nothing and the flag stays as it was.
  port.StopAllSounds();
  settings.stageMusicOn = false;
  port.ResumeStageMusic();
  EXPECT_FALSE(port.StageMusicPlaying());
  EXPECT_FALSE(port.MusicChannelPlaying());
}

TEST(SdlSoundPort, ASecondPortStaysSilentAndLeavesTheFirstPlaying) {
  DiskSound disk;
  {
    SdlSoundPort second;
    EXPECT_FALSE(second.AudioOpen());
    second.PlaySoundFile(DataFile("tone660.mp3"), true);
    EXPECT_FALSE(second.MusicChannelPlaying());
  }
  disk.port().PlaySoundFile(DataFile("tone440.mp3"), true);
  disk.Mark();
  EXPECT_GT(ToneLevel(disk.Samples(0.3), 440), kHeard);
}

TEST(SdlSoundPort, FallsBackToSilentOutputWithoutAnAudioDevice) {
  qputenv("SDL_AUDIODRIVER", "no-such-driver");
  {
    SdlSoundPort port;
    EXPECT_TRUE(port.AudioOpen());
    port.PlaySoundFile(DataFile("tone440.mp3"), true);
    EXPECT_TRUE(port.MusicChannelPlaying());
  }
  qputenv("SDL_AUDIODRIVER", "dummy");
  // The fallback does not stick: the next port uses the driver it is asked for.
  DiskSound disk;
  disk.port().PlaySoundFile(DataFile("tone440.mp3"), true);
  disk.Mark();
  EXPECT_GT(ToneLevel(disk.Samples(0.3), 440), kHeard);
}

TEST(DefaultSounds, PlayTogetherAndTheDrumRollLoopsWithoutAGap) {
  DiskSound disk;
  const std::string dir = FromQt(QStringLiteral(KAVREL_DEFAULT_SOUNDS_DIR));
  for (const char* name : {"/bg2.mp3", "/bg4.mp3", "/stop1.wav"}) {
    disk.port().PlaySoundFile(dir + name, false);
  }
  EXPECT_TRUE(disk.port().MusicChannelPlaying());
  EXPECT_TRUE(disk.port().SoundChannelPlaying());

  disk.port().StopAllSounds();
  disk.port().PlaySoundFile(dir + "/start3.mp3", true);
  disk.Mark();
  const auto samples = disk.Samples(13.0);  // two joins of the 6 s loop
  ASSERT_GE(samples.size(), 13u * 44100);
  std::size_t quiet = 0, longestQuiet = 0;
  for (std::int16_t x : samples) {
    quiet = std::abs(x) < 200 ? quiet + 1 : 0;
    longestQuiet = std::max(longestQuiet, quiet);
  }
  EXPECT_LT(longestQuiet, 441u) << "a gap of " << longestQuiet << " samples";
  EXPECT_TRUE(disk.port().MusicChannelPlaying());
}

// The camera's shutter: a short click on the sound channel, heard, and over within a quarter second.
TEST(DefaultSounds, TheShutterClicksOnceOnTheSoundChannel) {
  DiskSound disk;
  disk.Mark();
  disk.port().PlaySoundFile(FromQt(QStringLiteral(KAVREL_DEFAULT_SOUNDS_DIR)) + "/shutter.wav", false);
  EXPECT_TRUE(disk.port().SoundChannelPlaying());
  const auto samples = disk.Samples(1.0);
  ASSERT_FALSE(samples.empty());
  // Through the disk driver this brief click measures far below its samples' peak (a steady tone does not), so
  // only "clearly heard" is asked for.
  EXPECT_GT(PeakLevel(samples), 300);
  // The output may start the sound a little after the mark; it ends 0.23 s after its first sample heard.
  std::size_t first = 0;
  while (first < samples.size() && std::abs(samples[first]) < 100) ++first;
  const std::size_t end = first + samples.size() * 3 / 10;  // 0.3 s later
  ASSERT_LT(end, samples.size());
  EXPECT_LT(PeakLevel(std::vector<std::int16_t>(samples.begin() + static_cast<std::ptrdiff_t>(end), samples.end())),
            200);
}

}  // namespace
}  // namespace kavrel::test
