#include "sound_test_support.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cmath>
#include <numbers>

#include "storage/codec.h"
#include "storage/program_dir.h"

namespace kavrel::test {
namespace {

constexpr int kRate = 44100;
constexpr int kFrameBytes = 4;  // 16-bit stereo, as SdlSoundPort opens the device

void PutLe(QByteArray& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

DiskSound::DiskSound() : output_(dir_.filePath(QStringLiteral("out.raw"))) {
  qputenv("SDL_AUDIODRIVER", "disk");
  qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output_));
  // 2048 frames every 4 ms: about ten times real time.
  qputenv("SDL_DISKAUDIODELAY", "4");
  port_ = std::make_unique<SdlSoundPort>();
}

DiskSound::~DiskSound() {
  port_.reset();
  qunsetenv("SDL_DISKAUDIOFILE");
  qunsetenv("SDL_DISKAUDIODELAY");
  qputenv("SDL_AUDIODRIVER", "dummy");
}

std::string DiskSound::Path(const char* name) const {
  return FromQt(dir_.filePath(QString::fromUtf8(name)));
}

qint64 DiskSound::OutputSize() const {
  return QFileInfo(output_).size();
}

void DiskSound::Mark() {
  // Skip what the mixer may already have mixed before the calls that follow.
  mark_ = OutputSize() + 3 * 2048 * kFrameBytes;
}

std::vector<std::int16_t> DiskSound::Samples(double seconds) {
  const qint64 want = static_cast<qint64>(seconds * kRate) * kFrameBytes;
  QDeadlineTimer deadline(10000);
  while (OutputSize() < mark_ + want && !deadline.hasExpired()) QThread::msleep(5);
  QFile file(output_);
  std::vector<std::int16_t> left;
  if (!file.open(QIODevice::ReadOnly) || !file.seek(mark_)) return left;
  const QByteArray raw = file.read(want);
  for (qsizetype i = 0; i + kFrameBytes <= raw.size(); i += kFrameBytes) {
    left.push_back(
        static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[i]) | (static_cast<std::uint8_t>(raw[i + 1]) << 8)));
  }
  return left;
}

double ToneLevel(const std::vector<std::int16_t>& samples, double hz) {
  if (samples.empty()) return 0;
  const double w = 2 * std::numbers::pi * hz / kRate;
  const double coeff = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (std::int16_t x : samples) {
    const double s0 = x / 32768.0 + coeff * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
  return 2 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(samples.size());
}

int PeakLevel(const std::vector<std::int16_t>& samples) {
  int peak = 0;
  for (std::int16_t x : samples) peak = std::max(peak, std::abs(static_cast<int>(x)));
  return peak;
}

QByteArray SineWave(double hz, double seconds) {
  const auto frames = static_cast<std::uint32_t>(seconds * kRate);
  QByteArray out("RIFF");
  PutLe(out, 36 + frames * 2, 4);
  out.append("WAVEfmt ");
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 1, 2);  // mono
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 2, 4);
  PutLe(out, 2, 2);
  PutLe(out, 16, 2);
  out.append("data");
  PutLe(out, frames * 2, 4);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double v = 0.5 * std::sin(2 * std::numbers::pi * hz * i / kRate);
    PutLe(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v * 32767)), 2);
  }
  return out;
}

QByteArray OneNoteMidi() {
  // Format 0, 96 ticks per beat; an organ C5 held for four beats (two seconds at 120 bpm).
  static const unsigned char bytes[] = {'M',  'T', 'h', 'd',  0,    0,    0,  6,  0,    0,    0,    1,   0,
                                        96,   'M', 'T', 'r',  'k',  0,    0,  0,  16,   0x00, 0xC0, 19,  0x00,
                                        0x90, 72,  100, 0x83, 0x00, 0x80, 72, 64, 0x00, 0xFF, 0x2F, 0x00};
  return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void WriteFile(const std::string& gbPath, const QByteArray& data) {
  QFile file(NativePath(gbPath));
  if (file.open(QIODevice::WriteOnly)) file.write(data);
}

std::string DataFile(const char* name) {
  return FromQt(QStringLiteral(KAVREL_PLATFORM_TEST_DATA "/") + QString::fromUtf8(name));
}

}  // namespace kavrel::test
