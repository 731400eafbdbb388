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
  const bool atShare = perAddress_.value(peer) >= limits_.maxPerAddress;
  if ((atShare || OpenConnections() >= limits_.maxConnections) && !Evict(peer, atShare)) {
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

// No place is free for a newcomer (the server is full, or its address holds its whole share). A
// newcomer from an address lighter than the heaviest takes the place of that address's least
// recently used connection: one device can fill the server while nobody else asks, but it cannot
// keep anybody else out. A newcomer from the heaviest address (a room behind one router, or the
// flooding device itself) takes the place of its own address's least recently used idle
// connection: a new request is served, an idle keep-alive connection closes, and the phone's
// browser simply opens another for its next request. A connection in the middle of a request or
// waiting for its answer (a sign-in being saved) is never taken; when no place can be taken the
// newcomer gets 503.
bool GuardedTcpServer::Evict(const QHostAddress& newcomer, bool ownOnly) {
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
  GuardedSocket* victim = nullptr;
  for (auto it = live_.cbegin(); it != live_.cend(); ++it) {
    if (it.value() != from) continue;
    auto* s = static_cast<GuardedSocket*>(it.key());
    if (s->Busy() || (own && s->Streaming())) continue;
    // Idle keep-alive connections go before streams (which end without a page noticing more than a
    // reconnect), the least recently used first.
    if (!victim || std::pair(s->Streaming(), s->LastActive()) < std::pair(victim->Streaming(), victim->LastActive()))
      victim = s;
  }
  if (!victim) return false;
  Release(victim);
  victim->abort();
  return true;
}

// A short answer on a connection that gets no place.
void GuardedTcpServer::Refuse(QTcpSocket* refused) {
  // Handed to the system at once and closed: a refusal holds no descriptor beyond this call, and the
  // answer does not wait on this socket's own events (which never came for a socket the HTTP server
  // was not given: the phone waited for nothing).
  refused->write(
      "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\nRetry-After: 2\r\n\r\n");
  refused->flush();
  refused->close();
  refused->deleteLater();
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
