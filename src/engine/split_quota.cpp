#include "engine/split_quota.h"

namespace kavrel {

std::vector<long long> SplitQuota(long long q, long long b) {
  if (q <= 0 || b <= 0 || b > q) return {};
  if (q % b == 0) return std::vector<long long>(static_cast<std::size_t>(b), q / b);
  const long long regular = q / b + 1;
  const long long last = q - regular * (b - 1);
  std::vector<long long> sizes;
  sizes.reserve(static_cast<std::size_t>(b));
  if (last >= 1) {
    sizes.assign(static_cast<std::size_t>(b - 1), regular);
    sizes.push_back(last);
    return sizes;
  }
  const long long base = q / b;
  const long long larger = q % b;
  for (long long i = 0; i < b; ++i) sizes.push_back(i < larger ? base + 1 : base);
  return sizes;
}

std::string BatchDetails(const std::vector<long long>& sizes) {
  std::string out;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (i > 0) out += '+';
    out += std::to_string(sizes[i]);
  }
  return out;
}

}  // namespace kavrel
