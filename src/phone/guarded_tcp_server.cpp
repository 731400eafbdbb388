#include "phone/guarded_tcp_server.h"

#include <algorithm>

namespace kavrel {

GuardedSocket::GuardedSocket(const ConnectionLimits& limits, QObject* parent) : QTcpSocket(parent), limits_(limits) {
  // No read buffer limit: a full buffer stops the socket reading, and the HTTP server then waits for
  // the rest of a request that never comes. The byte count below cuts it off instead.
  idle_.setSingleShot(true);
  request_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, &GuardedSocket::Cut);
  connect(&request_, &QTimer::timeout, this, &GuardedSocket::Cut);
  connect(this, &QTcpSocket::readyRead, this, &GuardedSocket::Received);
  idle_.start(limits_.idleMs);
}

void GuardedSocket::SetStreaming() {
  streaming_ = true;
  idle_.stop();
}

void GuardedSocket::Cut() {
  abort();
}

// Connected before the HTTP server's own handler, which then reads everything buffered: what is
// available now is what just arrived.
void GuardedSocket::Received() {
  const qint64 n = bytesAvailable();
  if (n <= 0) return;
  if (unanswered_ == 0) {
    request_.start(limits_.requestMs);
    // The request line's version, read ahead of the parser (which does not tell it).
    const QByteArray head = peek(std::min<qint64>(n, 4096));
    const qsizetype eol = head.indexOf("\r\n");
    http10_ = eol > 0 && head.left(eol).endsWith(" HTTP/1.0");
  }
  unanswered_ += n;
  if (!streaming_) idle_.start(limits_.idleMs);
  // Not from inside this signal: the parser's handler still runs after it.
  if (unanswered_ > limits_.maxUnanswered) QMetaObject::invokeMethod(this, &GuardedSocket::Cut, Qt::QueuedConnection);
}

qint64 GuardedSocket::writeData(const char* data, qint64 size) {
  unanswered_ = 0;
  request_.stop();
  if (!streaming_) idle_.start(limits_.idleMs);
  return QTcpSocket::writeData(data, size);
}

GuardedTcpServer::GuardedTcpServer(const ConnectionLimits& limits, QObject* parent)
    : QTcpServer(parent), limits_(limits) {
  clock_.start();
}

void GuardedTcpServer::incomingConnection(qintptr handle) {
  auto* socket = new GuardedSocket(limits_, this);
  if (!socket->setSocketDescriptor(handle)) {
    delete socket;
    return;
  }
  const QHostAddress peer = socket->peerAddress();
  const bool full = OpenConnections() >= limits_.maxConnections && !Evict(peer);
  if (full || perAddress_.value(peer) >= limits_.maxPerAddress) {
    Refuse(socket);
    return;
  }
  socket->Touch(Now());
  live_.insert(socket, peer);
  ++perAddress_[peer];
  connect(socket, &QObject::destroyed, this, [this](QObject* s) { Release(s); });
  connect(socket, &QAbstractSocket::disconnected, this, [this, socket] { Release(socket); });
  addPendingConnection(socket);  // QTcpServer announces it (newConnection) after this returns
}

// The server is full. A newcomer from an address holding fewer places than the heaviest one takes
// the place of that address's least recently used connection: one device (or one router) can fill
// the server while nobody else asks, but it cannot keep anybody else out. The evicted phone's
// browser simply opens a new connection for its next request.
bool GuardedTcpServer::Evict(const QHostAddress& newcomer) {
  QHostAddress heaviest;
  int most = 0;
  for (auto it = perAddress_.cbegin(); it != perAddress_.cend(); ++it) {
    if (it.value() > most) {
      most = it.value();
      heaviest = it.key();
    }
  }
  if (most <= perAddress_.value(newcomer) + 1) return false;
  GuardedSocket* victim = nullptr;
  for (auto it = live_.cbegin(); it != live_.cend(); ++it) {
    if (it.value() != heaviest) continue;
    auto* s = static_cast<GuardedSocket*>(it.key());
    // A connection waiting for its answer (a sign-in being saved) is the last one to go.
    if (!victim ||
        std::pair(s->AnswerPending(), s->LastActive()) < std::pair(victim->AnswerPending(), victim->LastActive()))
      victim = s;
  }
  if (!victim) return false;
  Release(victim);
  victim->abort();
  return true;
}

// A short answer on a connection that gets no place. The answers in flight are bounded too: a flood
// of connections past the cap costs at most maxRefusing descriptors beyond it.
void GuardedTcpServer::Refuse(QTcpSocket* refused) {
  if (refusing_ >= limits_.maxRefusing) {
    refused->abort();
    refused->deleteLater();
    return;
  }
  ++refusing_;
  connect(refused, &QObject::destroyed, this, [this] { --refusing_; });
  connect(refused, &QTcpSocket::disconnected, refused, &QObject::deleteLater);
  // A client that does not read its refusal does not keep the descriptor either.
  QTimer::singleShot(2000, refused, [refused] { refused->abort(); });
  refused->write(
      "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\nRetry-After: 2\r\n\r\n");
  refused->disconnectFromHost();
  if (refused->state() == QAbstractSocket::UnconnectedState) refused->deleteLater();
}

void GuardedTcpServer::Release(QObject* socket) {
  const auto it = live_.constFind(socket);
  if (it == live_.cend()) return;
  const QHostAddress peer = it.value();
  live_.erase(it);
  if (--perAddress_[peer] <= 0) perAddress_.remove(peer);
}

void GuardedTcpServer::CloseAll() {
  close();
  for (QTcpSocket* s : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) s->abort();
}

}  // namespace kavrel
