#include "phone/phone_server.h"

#include "phone/phone_http.h"
#include "phone/signin_desk.h"

#include <algorithm>

namespace kavrel {

PhoneServerLimits BudgetedLimits(int descriptorLimit) {
  PhoneServerLimits limits;
  constexpr int kMostConnections = 2500;  // ~100 MB of connections: a hall of a thousand phones twice over
  int cap = kMostConnections;
  if (descriptorLimit > 0) {
    // The draw's own needs are a few dozen descriptors (display, sounds, threads' wake-ups, result
    // files, picture folders); a quarter of the limit, and never less than 256, stays theirs. The
    // server may hold up to 64 more for a moment, the newcomers it is telling 503 (phone_http.cpp).
    const int reserve = std::max(256, descriptorLimit / 4);
    cap = std::clamp(descriptorLimit - reserve, 16, kMostConnections);
  }
  limits.connections.maxConnections = cap;
  limits.connections.maxPerAddress = std::max(1, cap * 3 / 4);
  limits.maxStreams = std::max(1, cap * 2 / 3);
  limits.maxStreamsPerAddress = std::max(1, limits.maxStreams * 3 / 4);
  return limits;
}

PhoneServer::PhoneServer(SigninDesk& desk, PhoneServerLimits limits, QObject* parent)
    : QObject(parent), desk_(desk), limits_(limits) {
  // The desk's answers come on this (the UI) thread; the server waiting for them is whichever runs.
  connect(&desk_, &SigninDesk::Settled, this, [this](quint64 ticket, int outcome) {
    std::lock_guard lock(httpMutex_);
    if (http_) http_->Settle(ticket, outcome);
  });
}

PhoneServer::~PhoneServer() {
  Stop();
}

QString PhoneServer::Start(const QHostAddress& address, quint16 port) {
  Stop();
  if (!desk_.Loaded()) return QStringLiteral("签到记录 config\\signin.dat 无法读取，为免覆盖它，手机互动没有启动。");
  // Sign-ins cross from the server's polling thread to the desk on this thread as queued calls.
  SigninDesk* desk = &desk_;
  auto http =
      std::make_unique<PhoneHttp>(slot_, limits_, [desk](quint64 ticket, const QByteArray& entry, const QString& from) {
        QMetaObject::invokeMethod(
            desk, [desk, ticket, entry, from] { desk->Submit(ticket, entry, from); }, Qt::QueuedConnection);
      });
  QString error;
  const quint16 listening = http->Listen(address, port, &error);
  if (listening == 0) {
    return QStringLiteral("无法在 %1 端口 %2 上启动：%3")
        .arg(address.toString())
        .arg(port)
        .arg(error.isEmpty() ? QStringLiteral("未知原因") : error);
  }
  {
    std::lock_guard lock(httpMutex_);
    http_ = std::move(http);
  }
  port_ = listening;
  address_ = address;
  return {};
}

void PhoneServer::Stop() {
  std::unique_ptr<PhoneHttp> http;
  {
    std::lock_guard lock(httpMutex_);
    http = std::move(http_);
  }
  http.reset();  // closes the listener and every connection
  port_ = 0;
}

void PhoneServer::Publish(std::shared_ptr<const PhoneSnapshot> snapshot) {
  slot_.Set(std::move(snapshot));
  std::lock_guard lock(httpMutex_);
  if (http_) http_->Broadcast();
}

}  // namespace kavrel
