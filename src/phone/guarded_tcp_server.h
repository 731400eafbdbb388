#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace kavrel {

// Bounds on what one phone, one address and the whole room may cost the server.
struct ConnectionLimits {
  int maxConnections = 1500;
  // Connections from one address. A room behind one router shares one address, so this is a share of
  // the whole, not a phone's worth; when the server is full, a newcomer from a lighter address takes
  // the place of the heaviest address's least recently used connection instead (see Evict).
  int maxPerAddress = 1125;
  int maxRefusing = 32;              // 503 answers still being written; past that, closed unanswered
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
  bool Streaming() const { return streaming_; }
  // When the phone last sent a request (monotonic ms of the server's clock).
  qint64 LastActive() const { return lastActive_; }
  void Touch(qint64 nowMs) { lastActive_ = nowMs; }
  // Whether the phone asked for the connection to end after this answer (Connection: close, or
  // HTTP/1.0 without keep-alive): closed once the answer is written.
  void SetCloseAfterAnswer() { closeAfterAnswer_ = true; }
  bool CloseAfterAnswer() const { return closeAfterAnswer_; }
  // The request being answered came as HTTP/1.0 (whose connections end after the answer unless the
  // phone asks to keep them).
  bool Http10() const { return http10_; }
  // The answer comes later (a sign-in waits for the save that holds it).
  void SetAnswerPending(bool pending) { answerPending_ = pending; }
  bool AnswerPending() const { return answerPending_; }

 protected:
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void Cut();
  void Received();

  ConnectionLimits limits_;
  QTimer idle_;
  QTimer request_;
  qint64 unanswered_ = 0;
  qint64 lastActive_ = 0;
  bool streaming_ = false;
  bool closeAfterAnswer_ = false;
  bool http10_ = false;
  bool answerPending_ = false;
};

// Accepts connections up to the cap and refuses the rest at once with 503, so thousands of
// connections cannot exhaust the process's descriptors or memory; keeps one address from holding
// every place.
class GuardedTcpServer : public QTcpServer {
  Q_OBJECT
 public:
  explicit GuardedTcpServer(const ConnectionLimits& limits, QObject* parent = nullptr);
  int OpenConnections() const { return static_cast<int>(live_.size()); }
  int OpenFrom(const QHostAddress& address) const { return perAddress_.value(address); }
  qint64 Now() const { return clock_.elapsed(); }
  // Closes every connection (the server is stopping).
  void CloseAll();

 protected:
  void incomingConnection(qintptr handle) override;

 private:
  bool Evict(const QHostAddress& newcomer);
  void Refuse(QTcpSocket* refused);
  void Release(QObject* socket);

  ConnectionLimits limits_;
  QElapsedTimer clock_;
  QHash<QObject*, QHostAddress> live_;
  QHash<QHostAddress, int> perAddress_;
  int refusing_ = 0;
};

}  // namespace kavrel
