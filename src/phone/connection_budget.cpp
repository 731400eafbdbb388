#include "phone/connection_budget.h"

#include <utility>

namespace kavrel {

ConnectionBudget::ConnectionBudget(const ConnectionLimits& limits, std::function<void(qintptr)> cut)
    : limits_(limits), cut_(std::move(cut)) {}

ConnectionBudget::Place* ConnectionBudget::Open(const QHostAddress& peer, qintptr socket, qint64 nowMs) {
  std::lock_guard lock(mutex_);
  auto owned = std::make_unique<Place>();
  Place* place = owned.get();
  place->peer = peer;
  place->socket = socket;
  place->since = nowMs;
  const bool atShare = perAddress_.value(peer) >= limits_.maxPerAddress;
  if ((atShare || counted_ >= limits_.maxConnections) && !Evict(peer, atShare)) {
    place->refused = true;
  } else {
    place->counted = true;
    ++counted_;
    ++perAddress_[peer];
  }
  places_.emplace(place, std::move(owned));
  return place;
}

void ConnectionBudget::Closed(Place* place) {
  std::lock_guard lock(mutex_);
  Release(place);
  places_.erase(place);
}

void ConnectionBudget::SetPhase(Place* place, Phase phase, qint64 nowMs, std::function<void()> end) {
  std::lock_guard lock(mutex_);
  place->phase = phase;
  place->since = nowMs;
  place->end = std::move(end);
}

int ConnectionBudget::OpenConnections() const {
  std::lock_guard lock(mutex_);
  return counted_;
}

// No place is free for a newcomer (the server is full, or its address holds its whole share). A
// newcomer from an address lighter than the heaviest takes the place of that address's least
// recently used connection: one device can fill the server while nobody else asks, but it cannot
// keep anybody else out. A newcomer from the heaviest address (a room behind one router, or the
// flooding device itself) takes the place of its own address's least recently used idle
// connection: a new request is served, an idle keep-alive connection closes, and the phone's
// browser simply opens another for its next request. A connection in the middle of a request or
// waiting for its answer (a sign-in being saved) is never taken; when no place can be taken the
// newcomer gets 503.
bool ConnectionBudget::Evict(const QHostAddress& newcomer, bool ownOnly) {
  QHostAddress heaviest;
  int most = 0;
  for (auto it = perAddress_.cbegin(); it != perAddress_.cend(); ++it) {
    if (it.value() > most) {
      most = it.value();
      heaviest = it.key();
    }
  }
  const bool own = ownOnly || perAddress_.value(newcomer) + 1 >= most;
  const QHostAddress from = own ? newcomer : heaviest;
  Place* victim = nullptr;
  for (const auto& [p, owned] : places_) {
    if (!p->counted || p->peer != from) continue;
    const bool streaming = p->phase == Phase::Streaming;
    if ((p->phase != Phase::Waiting && !streaming) || (own && streaming)) continue;
    // Idle keep-alive connections go before streams (which end without a page noticing more than a
    // reconnect), the least recently used first.
    if (!victim || std::pair(streaming, p->since) < std::pair(victim->phase == Phase::Streaming, victim->since))
      victim = p;
  }
  if (!victim) return false;
  Cut(victim);
  return true;
}

void ConnectionBudget::CutLate(qint64 nowMs) {
  std::lock_guard lock(mutex_);
  for (const auto& [p, owned] : places_) {
    if (p->socket < 0) continue;  // already cut
    const bool late = (p->phase == Phase::Waiting && !p->refused && nowMs - p->since > limits_.idleMs) ||
                      ((p->phase == Phase::Arriving || p->refused) && nowMs - p->since > limits_.requestMs);
    if (late) Cut(p);
  }
}

void ConnectionBudget::Release(Place* place) {
  if (!place->counted) return;
  place->counted = false;
  --counted_;
  if (--perAddress_[place->peer] <= 0) perAddress_.remove(place->peer);
}

// The place is free at once; the socket follows when the library sees it end.
void ConnectionBudget::Cut(Place* place) {
  Release(place);
  if (place->socket >= 0) cut_(place->socket);
  place->socket = -1;
  if (place->end) place->end();
}

}  // namespace kavrel
