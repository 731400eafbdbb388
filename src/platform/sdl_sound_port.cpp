#include "platform/sdl_sound_port.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <limits>

#include "storage/program_dir.h"

namespace kavrel {
namespace {

constexpr int kSoundChannel = 0;
bool deviceTaken = false;  // SDL_mixer has one device per process

// MIDI needs a General MIDI soundfont; the small timgm6mb font is the one the program ships with.
void ChooseSoundFont() {
  if (SDL_getenv("SDL_SOUNDFONTS") != nullptr) return;  // the user's choice wins
  for (const char* font : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                           "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
    if (QFileInfo::exists(QString::fromLatin1(font))) {
      Mix_SetSoundFonts(font);
      return;
    }
  }
}

bool OpenDevice() {
  // SDL would otherwise turn SIGTERM and SIGINT into quit events that nobody here reads, so the
  // program could be neither shut down with the session nor stopped with Ctrl+C. The draw keeps
  // its resume record current, so ending at once loses nothing.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

// SDL takes UTF-8 file names on Windows and the bytes of the native name elsewhere.
std::string SdlFileName(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
#else
  return path.native();
#endif
}

bool IsWave(const QByteArray& data) {
  return data.size() >= 12 && data.startsWith("RIFF") && data.mid(8, 4) == "WAVE";
}

bool IsMidi(const QByteArray& data) {
  return data.startsWith("MThd");
}

}  // namespace

std::string SoundExtension(const std::string& path) {
  if (path.size() < 4) return {};
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

SdlSoundPort::SdlSoundPort() {
  if (deviceTaken) return;
  ChooseSoundFont();
  audioOpen_ = OpenDevice();
  if (!audioOpen_) {
    // No sound card (a server, a locked-down PC): play into nothing rather than fail, and put
    // the driver choice back so a later open tries the real device again.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    audioOpen_ = OpenDevice();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  }
  if (!audioOpen_) return;
  deviceTaken = true;
  // Decoders load lazily as well; initialising here only moves their start-up cost out of the
  // first press of the start button. The result is not an error: a missing decoder just means
  // those files stay silent.
  Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
  Mix_AllocateChannels(8);
  Mix_ReserveChannels(1);  // channel 0 is the sound channel, never picked by Mix_PlayChannel(-1)
}

SdlSoundPort::~SdlSoundPort() {
  if (!audioOpen_) return;
  EndMusic();
  EndSound();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  deviceTaken = false;
}

void SdlSoundPort::PlaySoundFile(const std::string& path, bool loop) {
  const std::string ext = SoundExtension(path);
  if (ext == ".mp3") {
    PlayMusic(path, loop);
  } else if (ext == ".wav" || ext == ".mid") {
    PlaySound(path, loop);
  }
}

void SdlSoundPort::PlayMusic(const std::string& path, bool loop) {
  if (!audioOpen_) return;
  // A new file ends the old one even when the new one cannot be played.
  EndMusic();
  // Checked by return value only: Mix_GetError() may still hold a message from an earlier call.
  Mix_Music* music = Mix_LoadMUS(SdlFileName(NativePath(path)).c_str());
  if (music == nullptr) return;
  if (Mix_PlayMusic(music, loop ? -1 : 1) != 0) {
    Mix_FreeMusic(music);
    return;
  }
  music_ = music;
  musicFile_ = path;
}

void SdlSoundPort::PlaySound(const std::string& path, bool loop) {
  if (!audioOpen_) return;
  // A file that is missing, empty or not WAVE/MIDI data (a renamed text or MP3 file) is ignored
  // and whatever the channel plays goes on.
  QFile file(NativePath(path));
  if (!file.open(QIODevice::ReadOnly)) return;
  if (file.size() > std::numeric_limits<int>::max()) return;  // SDL's memory reader counts in int
  const QByteArray data = file.readAll();
  if (!IsWave(data) && !IsMidi(data)) return;
  // Decoded before the old sound ends: rendering a MIDI file takes a moment, and the old sound
  // covers it. Once the content looked right, the old sound ends even if decoding fails.
  SDL_RWops* rw = SDL_RWFromConstMem(data.constData(), static_cast<int>(data.size()));
  Mix_Chunk* chunk = rw != nullptr ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  EndSound();
  if (chunk == nullptr) return;
  if (Mix_PlayChannel(kSoundChannel, chunk, loop ? -1 : 0) != kSoundChannel) {
    Mix_FreeChunk(chunk);
    return;
  }
  sound_ = chunk;
  soundFile_ = path;
}

void SdlSoundPort::EndMusic() {
  if (music_ == nullptr) return;
  Mix_HaltMusic();
  Mix_FreeMusic(music_);
  music_ = nullptr;
  musicFile_.clear();
}

void SdlSoundPort::EndSound() {
  if (sound_ == nullptr) return;
  Mix_HaltChannel(kSoundChannel);
  Mix_FreeChunk(sound_);
  sound_ = nullptr;
  soundFile_.clear();
}

void SdlSoundPort::StopAllSounds() {
  EndMusic();
  EndSound();
}

void SdlSoundPort::SuspendStageMusic() {
  if (!stageMusicPlaying_) return;
  StopAllSounds();
  stageMusicPlaying_ = false;
}

void SdlSoundPort::ResumeStageMusic() {
  if (settings_ == nullptr || !settings_->stageMusicOn) return;
  PlaySoundFile(settings_->stageMusicFile, settings_->stageMusicLoop);
  stageMusicPlaying_ = true;
}

bool SdlSoundPort::MusicChannelPlaying() const {
  return audioOpen_ && music_ != nullptr && Mix_PlayingMusic() != 0;
}

bool SdlSoundPort::SoundChannelPlaying() const {
  return audioOpen_ && sound_ != nullptr && Mix_Playing(kSoundChannel) != 0;
}

}  // namespace kavrel
