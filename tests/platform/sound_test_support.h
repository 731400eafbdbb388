#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl_sound_port.h"

namespace kavrel::test {

// An SdlSoundPort whose output goes to a file through SDL's disk driver, running faster than
// real time so tests can read seconds of output without waiting seconds.
class DiskSound {
 public:
  DiskSound();
  ~DiskSound();

  SdlSoundPort& port() { return *port_; }
  QString Dir() const { return dir_.path(); }
  std::string Path(const char* name) const;  // a file in the scratch folder, as GB18030 bytes

  // Marks "now" in the output: Samples() then returns what is mixed after the calls made so far.
  void Mark();
  // Waits (bounded) until `seconds` of output exist after the mark and returns them, left channel.
  std::vector<std::int16_t> Samples(double seconds);

 private:
  qint64 OutputSize() const;

  QTemporaryDir dir_;
  QString output_;
  qint64 mark_ = 0;
  std::unique_ptr<SdlSoundPort> port_;
};

// Strength (0..1 of full scale) of one frequency in the samples (Goertzel).
double ToneLevel(const std::vector<std::int16_t>& samples, double hz);
int PeakLevel(const std::vector<std::int16_t>& samples);

// Small files of our own for the sound channel.
QByteArray SineWave(double hz, double seconds);
QByteArray OneNoteMidi();
void WriteFile(const std::string& gbPath, const QByteArray& data);
std::string DataFile(const char* name);  // a fixture of tests/platform/data

}  // namespace kavrel::test
