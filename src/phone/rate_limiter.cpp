#include "phone/rate_limiter.h"

#include <algorithm>

namespace kavrel {

bool RateLimiter::Allow(const QHostAddress& client, std::int64_t nowMs) {
  if (burst_ <= 0) return true;
  auto it = buckets_.find(client);
  if (it == buckets_.end()) {
    if (buckets_.size() >= maxClients_) buckets_.clear();
    it = buckets_.insert(client, Bucket{static_cast<double>(burst_), nowMs});
  }
  Bucket& b = it.value();
  if (refillMs_ > 0 && nowMs > b.at) {
    b.tokens = std::min<double>(burst_, b.tokens + static_cast<double>(nowMs - b.at) / static_cast<double>(refillMs_));
  }
  b.at = std::max(b.at, nowMs);
  if (b.tokens < 1) return false;
  b.tokens -= 1;
  return true;
}

}  // namespace kavrel
