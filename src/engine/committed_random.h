#pragma once

#include <QByteArray>
#include <QMessageAuthenticationCode>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/random_source.h"

namespace kavrel {

// HMAC_DRBG with SHA-256 as NIST SP 800-90A defines it (no reseed, no prediction resistance, no
// additional input), built on QtCore's HMAC: the construction is the standard's, only its few lines
// of glue are ours, and a known-answer test pins them to the standard's test vectors.
class HmacDrbg {
 public:
  HmacDrbg(std::string_view entropy, std::string_view nonce, std::string_view personalization);
  // One generate request of `n` bytes.
  void Generate(std::uint8_t* out, std::size_t n);

 private:
  void Update(std::string_view provided);
  QByteArray Mac(std::string_view tail = {}, char separator = 0, bool withSeparator = false);

  QByteArray key_;
  QByteArray value_;
  QMessageAuthenticationCode mac_{QCryptographicHash::Sha256};
};

// Bytes from the operating system's entropy source (never from a seeded generator).
std::string SystemRandomBytes(std::size_t n);

// Everything one batch's winners follow from. The draw key is fixed (and its SHA-256 sealed) before
// the first press; the audience number is typed before the first press and recorded; the batch
// index counts the batches standing (an undone batch's index is drawn again) and the attempt counts
// how often a batch of that index was undone. Nothing here depends on when the operator presses.
struct BatchInputs {
  std::string drawKey;         // kDrawKeyBytes raw bytes
  std::string audienceNumber;  // ASCII digits, empty when none was typed
  int batchIndex = 1;
  int attempt = 0;
};
constexpr std::size_t kDrawKeyBytes = 32;

// How a batch's inputs other than the key personalise its generator (ASCII, one input a line).
std::string BatchPersonalization(const BatchInputs& inputs);

// The generator of one batch's committed pick: the DRBG keyed by the draw key, personalised by the
// rest of the batch's inputs, read as 15-bit values so that the pick's range rule is the same one
// the stage's show and older draws use.
class CommittedRandom final : public RangeRandom {
 public:
  explicit CommittedRandom(const BatchInputs& inputs);

  int Next15();
  std::int64_t RandomInRange(std::int64_t lo, std::int64_t hi) override {
    return UniformInRange([this] { return Next15(); }, lo, hi);
  }

 private:
  HmacDrbg drbg_;
  std::array<std::uint8_t, 32> block_{};
  std::size_t used_ = 32;
};

}  // namespace kavrel
