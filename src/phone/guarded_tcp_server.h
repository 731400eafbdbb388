#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace kavrel {

// Bounds on what one phone may cost the server.
struct ConnectionLimits {
  int maxConnections = 1500;
  int idleMs = 30000;                // nothing received or sent for this long: closed
  int requestMs = 10000;             // a request must arrive whole within this (slow senders are cut off)
  qint64 maxUnanswered = 32 * 1024;  // bytes received without an answer (headers and body together)
};

// A connection that closes itself when it idles, sends a request too slowly or sends more than a
// request may hold, so a slow or hostile client costs bounded time and memory.
class GuardedSocket : public QTcpSocket {
  Q_OBJECT
 public:
  GuardedSocket(const ConnectionLimits& limits, QObject* parent);
  // A server-sent event stream: answered once and then written to for as long as it is open, so it
  // is exempt from the idle limit (the server's heartbeat keeps proving it alive).
  void SetStreaming();

 protected:
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void Cut();
  void Received();

  ConnectionLimits limits_;
  QTimer idle_;
  QTimer request_;
  qint64 unanswered_ = 0;
  bool streaming_ = false;
};

// Accepts connections up to the cap and refuses the rest at once with 503, so thousands of
// connections cannot exhaust the process's descriptors or memory.
class GuardedTcpServer : public QTcpServer {
  Q_OBJECT
 public:
  explicit GuardedTcpServer(const ConnectionLimits& limits, QObject* parent = nullptr)
      : QTcpServer(parent), limits_(limits) {}
  int OpenConnections() const { return open_; }
  // Closes every connection (the server is stopping).
  void CloseAll();

 protected:
  void incomingConnection(qintptr handle) override;

 private:
  ConnectionLimits limits_;
  int open_ = 0;
};

}  // namespace kavrel
