#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <memory>
#include <mutex>

#include "phone/connection_budget.h"
#include "phone/phone_snapshot.h"

namespace kavrel {

class PhoneHttp;
class SigninDesk;

struct PhoneServerLimits {
  ConnectionLimits connections;
  // Sign-ins and lookups per address: a burst, then one per interval. A hall behind one router is one
  // address (five hundred people signing in within two minutes); these stop floods, not a room.
  int signinBurst = 120;
  int signinRefillMs = 150;
  int lookupBurst = 120;
  int lookupRefillMs = 100;
  int maxStreams = 1000;           // live result streams open at once
  int maxStreamsPerAddress = 750;  // of them from one address (the rest of its phones ask now and then)
  int streamMaxMs = 10 * 60000;    // a stream is closed after this; the page opens a new one at once
  int heartbeatMs = 15000;         // a comment line on every stream, so dead ones are noticed
};

// The limits for a process that may hold `descriptorLimit` files open (0: no such limit): the
// connections stay well below it, leaving a reserve for the draw's own files, sounds, pictures and
// the display, so a full hall gets 503 and the draw never lacks a descriptor.
PhoneServerLimits BudgetedLimits(int descriptorLimit);

// The phone pages' web server (libmicrohttpd, on its own polling thread); the draw hands it snapshots
// (Publish) and never waits for it. Sign-ins go to the SigninDesk on the UI thread and are answered
// once saved. Off until Start; Stop, or destroying it, closes every connection. Start and Stop on the
// UI thread (the desk's).
class PhoneServer : public QObject {
  Q_OBJECT
 public:
  explicit PhoneServer(SigninDesk& desk, PhoneServerLimits limits = {}, QObject* parent = nullptr);
  ~PhoneServer() override;

  // Listens on `address`:`port` (0 picks a free port). An empty text when it listens, otherwise why
  // not (Chinese, for the operator).
  QString Start(const QHostAddress& address, quint16 port);
  void Stop();
  bool Running() const { return http_ != nullptr; }
  quint16 Port() const { return port_; }
  QHostAddress Address() const { return address_; }

  // Replaces what the pages show; streams are told at once. Callable from any thread.
  void Publish(std::shared_ptr<const PhoneSnapshot> snapshot);

 private:
  SigninDesk& desk_;
  PhoneServerLimits limits_;
  SnapshotSlot slot_;
  std::mutex httpMutex_;  // Publish may come from another thread than Start and Stop
  std::unique_ptr<PhoneHttp> http_;
  quint16 port_ = 0;
  QHostAddress address_;
};

}  // namespace kavrel
