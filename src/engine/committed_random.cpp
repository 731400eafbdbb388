#include "engine/committed_random.h"

#include <QRandomGenerator>
#include <algorithm>

namespace kavrel {

HmacDrbg::HmacDrbg(std::string_view entropy, std::string_view nonce, std::string_view personalization)
    : key_(32, '\0'), value_(32, '\x01') {
  std::string seed;
  seed.reserve(entropy.size() + nonce.size() + personalization.size());
  seed.append(entropy).append(nonce).append(personalization);
  Update(seed);
}

QByteArray HmacDrbg::Mac(std::string_view tail, char separator, bool withSeparator) {
  mac_.setKey(key_);
  mac_.addData(value_);
  if (withSeparator) mac_.addData(&separator, 1);
  if (!tail.empty()) mac_.addData(tail.data(), static_cast<qsizetype>(tail.size()));
  return mac_.result();
}

void HmacDrbg::Update(std::string_view provided) {
  key_ = Mac(provided, '\x00', true);
  value_ = Mac();
  if (provided.empty()) return;
  key_ = Mac(provided, '\x01', true);
  value_ = Mac();
}

void HmacDrbg::Generate(std::uint8_t* out, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    value_ = Mac();
    const std::size_t take = std::min<std::size_t>(n - done, static_cast<std::size_t>(value_.size()));
    std::copy_n(reinterpret_cast<const std::uint8_t*>(value_.constData()), take, out + done);
    done += take;
  }
  Update({});
}

std::string SystemRandomBytes(std::size_t n) {
  std::string bytes(n, '\0');
  QRandomGenerator* system = QRandomGenerator::system();
  for (auto& b : bytes) b = static_cast<char>(system->bounded(256));
  return bytes;
}

std::string BatchPersonalization(const BatchInputs& in) {
  return "kavrel committed pick 1\naudience " + in.audienceNumber + "\nbatch " + std::to_string(in.batchIndex) +
         "\nattempt " + std::to_string(in.attempt) + "\n";
}

CommittedRandom::CommittedRandom(const BatchInputs& inputs) : drbg_(inputs.drawKey, {}, BatchPersonalization(inputs)) {}

int CommittedRandom::Next15() {
  if (used_ + 2 > block_.size()) {
    drbg_.Generate(block_.data(), block_.size());
    used_ = 0;
  }
  const int value = ((block_[used_] << 8) | block_[used_ + 1]) & 0x7FFF;
  used_ += 2;
  return value;
}

}  // namespace kavrel
