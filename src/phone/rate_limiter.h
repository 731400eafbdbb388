#pragma once

#include <QHash>
#include <QHostAddress>
#include <cstdint>

namespace kavrel {

// A token bucket per client address: `burst` requests at once, then one per `refillMs`. The table
// forgets everyone when it grows past `maxClients`, so a flood of addresses cannot grow it forever.
class RateLimiter {
 public:
  RateLimiter(int burst, std::int64_t refillMs, int maxClients = 20000)
      : burst_(burst), refillMs_(refillMs), maxClients_(maxClients) {}

  // True when `client` may go ahead at `nowMs` (any monotonic milliseconds); takes a token.
  bool Allow(const QHostAddress& client, std::int64_t nowMs);

 private:
  struct Bucket {
    double tokens = 0;
    std::int64_t at = 0;
  };
  int burst_;
  std::int64_t refillMs_;
  int maxClients_;
  QHash<QHostAddress, Bucket> buckets_;
};

}  // namespace kavrel
