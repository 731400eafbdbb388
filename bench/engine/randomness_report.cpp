// The evidence that the committed pick is fair, for `make randomness-report` (not a test: it takes
// two minutes and its verdicts are statistical). For pools of 10, 1,000 and 1,000,000, and of 16,385,
// 21,846 and 32,767 (with an audience number and attempts after undos), it draws 10^6 winners, each
// the one winner of its own batch (a fresh generator per batch, as a draw makes them), and puts the
// counts through a chi-square test at 99 %. It also writes the generator's raw output to a
// file for `ent` (run by the Makefile).
//
//   randomness_report OUTPUT_BYTES_FILE [MEGABYTES]
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/committed_random.h"
#include "engine/pick.h"

namespace kavrel {
namespace {

constexpr long kPicks = 1000000;

// The chi-square value a fair generator stays below 99 % of the time, for `df` degrees of freedom
// (Wilson-Hilferty; within 0.1 % of the tables for the sizes used here).
double Critical99(double df) {
  const double z = 2.326347874;  // the standard normal's 99th percentile
  const double t = 1.0 - 2.0 / (9.0 * df) + z * std::sqrt(2.0 / (9.0 * df));
  return df * t * t * t;
}

// 10^6 batches of one winner over a pool of `pool`; counts binned into at most 1,000 bins of
// (nearly) equal width so that every bin expects at least 1,000 picks, each bin's expectation in
// proportion to its width. `audience` and `attempts` (attempt b % attempts for batch b) are the other
// committed inputs a draw mixes in.
bool ChiSquare(const std::string& key, long pool, const std::string& audience = "", int attempts = 1) {
  const long bins = pool <= 1000 ? pool : 1000;
  auto binOf = [&](long position) { return static_cast<std::size_t>((position - 1) * bins / pool); };
  std::vector<long> width(static_cast<std::size_t>(bins), 0);
  for (long p = 1; p <= pool; ++p) ++width[binOf(p)];
  std::vector<long> counts(static_cast<std::size_t>(bins), 0);
  std::vector<int> positions;
  for (long b = 1; b <= kPicks; ++b) {
    CommittedRandom random(BatchInputs{key, audience, static_cast<int>(b), static_cast<int>(b % attempts)});
    DrawPositions(random, PickRange{1, static_cast<int>(pool)}, 1, false, positions);
    ++counts[binOf(positions[0])];
  }
  double chi = 0;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const double expected = static_cast<double>(kPicks) * static_cast<double>(width[i]) / static_cast<double>(pool);
    chi += (static_cast<double>(counts[i]) - expected) * (static_cast<double>(counts[i]) - expected) / expected;
  }
  const double df = static_cast<double>(bins - 1);
  const double critical = Critical99(df);
  const bool pass = chi < critical;
  std::printf("pool %8ld: %ld picks in %ld bins, chi-square %.1f (df %.0f, 99%% critical value %.1f): %s\n", pool,
              kPicks, bins, chi, df, critical, pass ? "uniform" : "NOT UNIFORM");
  return pass;
}

// The generator's output as a draw uses it: successive batches, 4 KiB each.
bool WriteOutput(const std::string& key, const char* path, long megabytes) {
  std::ofstream out(path, std::ios::binary);
  std::vector<std::uint8_t> block(4096);
  const long blocks = megabytes * 256;
  for (long b = 1; b <= blocks && out; ++b) {
    HmacDrbg drbg(key, {}, BatchPersonalization(BatchInputs{key, "", static_cast<int>(b), 0}));
    for (std::size_t i = 0; i < block.size(); i += 32) drbg.Generate(block.data() + i, 32);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  }
  return static_cast<bool>(out);
}

}  // namespace
}  // namespace kavrel

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: randomness_report OUTPUT_BYTES_FILE [MEGABYTES]\n", stderr);
    return 2;
  }
  const std::string key = kavrel::SystemRandomBytes(kavrel::kDrawKeyBytes);
  std::printf("Committed pick (HMAC-SHA-256 DRBG keyed by a fresh 256-bit draw key), one winner per batch:\n");
  bool pass = true;
  for (long pool : {10L, 1000L, 1000000L}) pass = kavrel::ChiSquare(key, pool) && pass;
  // Between 2^14 and 2^15 a plain modulo of a 15-bit value would favour the low positions up to twice
  // over (most at 2^15 / 1.5); here with an audience number and attempts after undos, as a draw makes them.
  std::printf("The same between 2^14 and 2^15, with the audience number 20261209 and attempts 0-3:\n");
  for (long pool : {16385L, 21846L, 32767L}) pass = kavrel::ChiSquare(key, pool, "20261209", 4) && pass;
  const long megabytes = argc > 2 ? std::atol(argv[2]) : 16;
  if (!kavrel::WriteOutput(key, argv[1], megabytes)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 2;
  }
  std::printf("Generator output: %ld MiB written to %s\n", megabytes, argv[1]);
  return pass ? 0 : 1;
}
