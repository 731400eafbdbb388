#include "phone/guarded_tcp_server.h"

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
  if (unanswered_ == 0) request_.start(limits_.requestMs);
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

void GuardedTcpServer::incomingConnection(qintptr handle) {
  if (open_ >= limits_.maxConnections) {
    auto* refused = new QTcpSocket(this);
    if (!refused->setSocketDescriptor(handle)) {
      delete refused;
      return;
    }
    refused->write(
        "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\nRetry-After: 2\r\n\r\n");
    connect(refused, &QTcpSocket::disconnected, refused, &QObject::deleteLater);
    refused->disconnectFromHost();
    if (refused->state() == QAbstractSocket::UnconnectedState) refused->deleteLater();
    return;
  }
  auto* socket = new GuardedSocket(limits_, this);
  if (!socket->setSocketDescriptor(handle)) {
    delete socket;
    return;
  }
  ++open_;
  connect(socket, &QObject::destroyed, this, [this] { --open_; });
  addPendingConnection(socket);  // QTcpServer announces it (newConnection) after this returns
}

void GuardedTcpServer::CloseAll() {
  close();
  for (QTcpSocket* s : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) s->abort();
}

}  // namespace kavrel
