#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "phone/connection_budget.h"
#include "phone/phone_server.h"
#include "phone/rate_limiter.h"

struct MHD_Connection;
struct MHD_Daemon;

namespace kavrel {

class EventStream;

// The HTTP side of PhoneServer, on libmicrohttpd: the library's own polling thread reads and writes
// every connection and calls the handlers below; a small watch thread cuts late connections and
// sends the heartbeat. Routes the few fixed paths to the pages in the program's resources and to
// the answers made from the latest snapshot. No path reaches a file: the pages are a fixed table
// read from resources once.
class PhoneHttp {
 public:
  // Hands a sign-in over to the desk (on the UI thread); called on the polling thread.
  using Submit = std::function<void(quint64 ticket, const QByteArray& entryGb, const QString& address)>;

  PhoneHttp(const SnapshotSlot& slot, const PhoneServerLimits& limits, Submit submit);
  // Closes the listener and every connection; a sign-in still being saved is answered "closed".
  ~PhoneHttp();
  PhoneHttp(const PhoneHttp&) = delete;
  PhoneHttp& operator=(const PhoneHttp&) = delete;

  // Listens; the port, or 0 and `error`.
  quint16 Listen(const QHostAddress& address, quint16 port, QString* error);
  // Any thread: a new snapshot was published, every stream gets it.
  void Broadcast();
  // Any thread: the desk's answer to a sign-in (a ticket of another server is ignored).
  void Settle(quint64 ticket, int outcome);

 private:
  struct Request;
  struct Page {
    QByteArray type;
    QByteArray bytes;
  };

  // The library's callbacks (on its polling thread) call the handlers below.
  friend struct PhoneHttpCallbacks;

  // False: the library closes the connection.
  bool Handle(MHD_Connection* connection, Request& request, const QByteArray& url, const QByteArray& method,
              const char* upload, std::size_t* uploadSize);
  bool Get(MHD_Connection* connection, Request& request, const QByteArray& path);
  bool SignIn(MHD_Connection* connection, Request& request);
  bool OpenStream(MHD_Connection* connection, Request& request);
  void Watch();
  void Heartbeat(qint64 nowMs);
  qint64 Now() const;

  const SnapshotSlot& slot_;
  PhoneServerLimits limits_;
  Submit submit_;
  QHash<QByteArray, Page> pages_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::unique_ptr<ConnectionBudget> budget_;
  MHD_Daemon* daemon_ = nullptr;
  // Both only on the polling thread.
  RateLimiter signins_;
  RateLimiter lookups_;
  // Set once the server stops: nothing is suspended any more, so the library can let go of everything.
  std::atomic<bool> closing_ = false;

  std::mutex streamsMutex_;
  std::vector<std::shared_ptr<EventStream>> streams_;
  int lastBroadcast_ = -1;

  std::mutex waitingMutex_;
  std::unordered_map<quint64, std::pair<MHD_Connection*, Request*>> waiting_;  // sign-ins being saved

  std::mutex watchMutex_;
  std::condition_variable watchWake_;
  bool watchStop_ = false;
  std::thread watch_;

  std::mutex logMutex_;
  QByteArray lastLog_;  // the library's last complaint, for Listen's error
};

}  // namespace kavrel
