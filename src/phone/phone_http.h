#pragma once

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <QHash>
#include <QHttpServerResponder>
#include <QPointer>
#include <QTimer>
#include <unordered_map>
#include <vector>

#include "phone/phone_server.h"
#include "phone/rate_limiter.h"

namespace kavrel {

// The HTTP side of PhoneServer, living on the server's thread: routes the few fixed paths to the
// pages in the program's resources and to the answers made from the latest snapshot. No path
// reaches a file: the pages are a fixed table read from resources once.
class PhoneHttp : public QAbstractHttpServer {
  Q_OBJECT
 public:
  PhoneHttp(const SnapshotSlot& slot, const PhoneServerLimits& limits);
  ~PhoneHttp() override;

  // On the server's thread: listens; the port, or 0 and `error`.
  quint16 Listen(const QHostAddress& address, quint16 port, QString* error);
  // Closes the listener and every connection.
  void Shut();
  // A new snapshot was published: every stream gets it.
  void Broadcast();
  // The desk's answer to a sign-in.
  void Settle(quint64 ticket, int outcome);

 signals:
  void SigninWanted(quint64 ticket, const QByteArray& entryGb, const QString& address);

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  void Get(const QHttpServerRequest& request, QTcpSocket* socket, QHttpServerResponder& responder);
  void SignIn(const QHttpServerRequest& request, QTcpSocket* socket, QHttpServerResponder& responder);
  void OpenStream(const QHttpServerRequest& request, QTcpSocket* socket, QHttpServerResponder& responder);
  void Heartbeat();
  // Drops the streams that closed; cuts those that stopped reading or lived their time.
  void PruneStreams(bool cutOld);
  static void Answered(QTcpSocket* socket);

  struct Page {
    QByteArray type;
    QByteArray bytes;
  };
  struct Waiting {
    QPointer<QTcpSocket> socket;
    QHttpServerResponder responder;
    QString shown;
  };

  const SnapshotSlot& slot_;
  PhoneServerLimits limits_;
  GuardedTcpServer* tcp_ = nullptr;
  QHash<QString, Page> pages_;
  struct Stream {
    QPointer<QTcpSocket> socket;
    QHostAddress peer;
    qint64 openedMs = 0;
  };
  std::vector<Stream> streams_;
  std::unordered_map<quint64, Waiting> waiting_;
  quint64 nextTicket_ = 1;
  RateLimiter signins_;
  RateLimiter lookups_;
  QElapsedTimer clock_;
  QTimer heartbeat_;
  int lastBroadcast_ = -1;
};

}  // namespace kavrel
