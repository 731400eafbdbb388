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
    // files, picture folders); a quarter of the limit, and never less than 256, stays theirs.
    const int reserve = std::max(256, descriptorLimit / 4);
    cap = std::clamp(descriptorLimit - reserve - limits.connections.maxRefusing, 16, kMostConnections);
  }
  limits.connections.maxConnections = cap;
  limits.connections.maxPerAddress = std::max(1, cap * 3 / 4);
  limits.maxStreams = std::max(1, cap * 2 / 3);
  limits.maxStreamsPerAddress = std::max(1, limits.maxStreams * 3 / 4);
  return limits;
}

PhoneServer::PhoneServer(SigninDesk& desk, PhoneServerLimits limits, QObject* parent)
    : QObject(parent), desk_(desk), limits_(limits) {
  thread_.setObjectName(QStringLiteral("phone server"));
}

PhoneServer::~PhoneServer() {
  Stop();
}

QString PhoneServer::Start(const QHostAddress& address, quint16 port) {
  Stop();
  if (!desk_.Loaded()) return QStringLiteral("签到记录 config\\signin.dat 无法读取，为免覆盖它，手机互动没有启动。");
  http_ = new PhoneHttp(slot_, limits_);
  http_->moveToThread(&thread_);
  // Sign-ins cross to the desk on this (UI) thread and the answers back, both queued.
  connect(http_, &PhoneHttp::SigninWanted, &desk_, &SigninDesk::Submit, Qt::QueuedConnection);
  connect(&desk_, &SigninDesk::Settled, http_, &PhoneHttp::Settle, Qt::QueuedConnection);
  thread_.start();
  QString error;
  quint16 listening = 0;
  QMetaObject::invokeMethod(
      http_, [&] { listening = http_->Listen(address, port, &error); }, Qt::BlockingQueuedConnection);
  if (listening == 0) {
    Stop();
    return QStringLiteral("无法在 %1 端口 %2 上启动：%3")
        .arg(address.toString())
        .arg(port)
        .arg(error.isEmpty() ? QStringLiteral("未知原因") : error);
  }
  port_ = listening;
  address_ = address;
  return {};
}

void PhoneServer::Stop() {
  if (http_) {
    PhoneHttp* http = http_;
    http_ = nullptr;
    // Deleted on its own thread, which closes the listener and every connection.
    QMetaObject::invokeMethod(
        http, [http] { delete http; }, Qt::BlockingQueuedConnection);
  }
  thread_.quit();
  thread_.wait();
  port_ = 0;
}

void PhoneServer::Publish(std::shared_ptr<const PhoneSnapshot> snapshot) {
  slot_.Set(std::move(snapshot));
  if (http_) QMetaObject::invokeMethod(http_, &PhoneHttp::Broadcast, Qt::QueuedConnection);
}

}  // namespace kavrel
