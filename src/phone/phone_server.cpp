#include "phone/phone_server.h"

#include "phone/phone_http.h"
#include "phone/signin_desk.h"

namespace kavrel {

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
