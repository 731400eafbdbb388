#pragma once

#include <QHash>
#include <QHostAddress>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace kavrel {

// Bounds on what one phone, one address and the whole room may cost the server.
struct ConnectionLimits {
  int maxConnections = 1500;
  // Connections from one address. A room behind one router shares one address, so this is a share of
  // the whole, not a phone's worth; a newcomer past it, or past the whole, takes the place of an idle
  // connection instead of being refused where one can be taken (see ConnectionBudget::Evict).
  int maxPerAddress = 1125;
  int idleMs = 30000;     // no request begun this long after the last answer (or the opening): closed
  int requestMs = 10000;  // a request must arrive whole within this (slow senders are cut off)
  // The library's memory for one connection: a request's headers past it are refused (431) and the
  // connection closed. A sign-in's form is bounded apart (phone_http.cpp).
  qint64 maxUnanswered = 32 * 1024;
};

// The places of the phone server's connections: who holds one, what each is doing, and which to
// cut. The HTTP library accepts and reads; this decides who may stay. Thread-safe: the server's
// polling thread reports what connections do, its watch thread cuts the late ones.
//
// Written here rather than left to libmicrohttpd's own limits: its total and per-address caps close
// a newcomer's socket without a word and never free a place, so one device holding its address's
// whole share would keep everyone behind the same router out until its connections time out. Here a
// newcomer past the cap takes an idle keep-alive connection's place (see Evict), and one that gets
// no place is marked to be answered 503 with Retry-After.
class ConnectionBudget {
 public:
  // What a connection is doing, for the idle and request cuts and for eviction.
  enum class Phase {
    Waiting,    // for its next request (idle keep-alive, or just opened)
    Arriving,   // a request has begun and is not yet whole
    Answering,  // a whole request, its answer being made or written (a sign-in being saved too)
    Streaming,  // a result stream: answered once, written to while it is open
  };
  struct Place {
    QHostAddress peer;
    qintptr socket = -1;
    Phase phase = Phase::Waiting;
    qint64 since = 0;           // when the phase began (monotonic ms)
    bool refused = false;       // no place: its request is answered 503 and the connection closed
    bool counted = false;       // holds one of the places (not refused, not yet cut)
    std::function<void()> end;  // ends a stream (set while Streaming)
  };

  // `cut` shuts a connection's socket down; the library then sees it end and closes it. Called with
  // the budget's lock held, never after the connection was reported closed.
  ConnectionBudget(const ConnectionLimits& limits, std::function<void(qintptr)> cut);

  // A connection opened: its place, which is `refused` when none could be had (the caller answers it
  // 503). Owned by the budget until Closed.
  Place* Open(const QHostAddress& peer, qintptr socket, qint64 nowMs);
  void Closed(Place* place);
  void SetPhase(Place* place, Phase phase, qint64 nowMs, std::function<void()> end = {});

  // Cuts the connections that waited longer than idleMs for a request, or whose request did not
  // arrive whole within requestMs (a refused one gets requestMs in all).
  void CutLate(qint64 nowMs);

  int OpenConnections() const;

 private:
  bool Evict(const QHostAddress& newcomer, bool ownOnly);
  void Release(Place* place);
  void Cut(Place* place);

  ConnectionLimits limits_;
  std::function<void(qintptr)> cut_;
  mutable std::mutex mutex_;
  std::unordered_map<Place*, std::unique_ptr<Place>> places_;
  QHash<QHostAddress, int> perAddress_;
  int counted_ = 0;
};

}  // namespace kavrel
