#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <functional>

namespace kavrel::test {

// Polls the event loop (the sign-in desk lives on this thread) until `done` or `ms` pass.
inline bool PollUntil(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// A raw HTTP exchange with the server on 127.0.0.1, for the requests a browser would never send.
struct HttpReply {
  int status = 0;
  QByteArray head;
  QByteArray body;
  bool closed = false;  // the server closed the connection
};

inline bool ReplyComplete(const QByteArray& raw, HttpReply& reply) {
  const qsizetype end = raw.indexOf("\r\n\r\n");
  if (end < 0) return false;
  reply.head = raw.left(end);
  reply.status = raw.mid(9, 3).toInt();
  reply.body = raw.mid(end + 4);
  const qsizetype at = reply.head.toLower().indexOf("content-length:");
  if (at < 0) return false;
  const qsizetype eol = reply.head.indexOf("\r\n", at);
  const int length = reply.head.mid(at + 15, (eol < 0 ? reply.head.size() : eol) - at - 15).trimmed().toInt();
  return reply.body.size() >= length;
}

inline HttpReply Exchange(quint16 port, const QByteArray& request, int ms = 5000) {
  HttpReply reply;
  QTcpSocket socket;
  socket.connectToHost(QStringLiteral("127.0.0.1"), port);
  if (!PollUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, ms)) return reply;
  socket.write(request);
  QByteArray raw;
  PollUntil(
      [&] {
        socket.waitForReadyRead(5);
        raw += socket.readAll();
        reply.closed = socket.state() == QAbstractSocket::UnconnectedState;
        return reply.closed || ReplyComplete(raw, reply);
      },
      ms);
  ReplyComplete(raw, reply);
  return reply;
}

inline QByteArray Get(const QByteArray& path) {
  return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

inline QByteArray PostSignin(const QByteArray& form) {
  return "POST /api/signin HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
         "Content-Length: " +
         QByteArray::number(form.size()) + "\r\nConnection: close\r\n\r\n" + form;
}

}  // namespace kavrel::test
