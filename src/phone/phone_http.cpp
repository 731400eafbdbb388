#include "phone/phone_http.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QUrlQuery>
#include <algorithm>

#include "phone/phone_answers.h"
#include "phone/phone_mask.h"
#include "phone/signin_desk.h"

// The pages are compiled into this static library; a static library's resources are registered
// by hand, or the linker drops them.
static void InitPhonePages() {
  Q_INIT_RESOURCE(phone_pages);
}

namespace kavrel {

namespace {

using Status = QHttpServerResponder::StatusCode;

// Every answer: never cached by a proxy, never sniffed into another type, scripts and styles from
// this server only.
void Reply(QHttpServerResponder& responder, const QByteArray& type, const QByteArray& body, Status status = Status::Ok,
           const QByteArray& disposition = {}) {
  responder.writeStatusLine(status);
  responder.writeHeader("Content-Type", type);
  responder.writeHeader("Content-Length", QByteArray::number(body.size()));
  responder.writeHeader("Cache-Control", "no-store");
  responder.writeHeader("X-Content-Type-Options", "nosniff");
  responder.writeHeader("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
  responder.writeHeader("Referrer-Policy", "no-referrer");
  if (!disposition.isEmpty()) responder.writeHeader("Content-Disposition", disposition);
  responder.writeBody(body);
}

void ReplyJson(QHttpServerResponder& responder, const QByteArray& body, Status status = Status::Ok) {
  Reply(responder, "application/json; charset=utf-8", body, status);
}

// Connection: close, or HTTP/1.0 without keep-alive: the phone wants the connection ended after the
// answer, and keeping it would hold a place for nothing.
bool WantsClose(const QHttpServerRequest& request, bool http10) {
  bool close = false;
  bool keepAlive = false;
  for (const auto& [name, value] : request.headers()) {
    if (name.compare("connection", Qt::CaseInsensitive) != 0) continue;
    for (const QByteArray& token : value.split(',')) {
      const QByteArray t = token.trimmed().toLower();
      close = close || t == "close";
      keepAlive = keepAlive || t == "keep-alive";
    }
  }
  return close || (http10 && !keepAlive);
}

}  // namespace

PhoneHttp::PhoneHttp(const SnapshotSlot& slot, const PhoneServerLimits& limits)
    : slot_(slot),
      limits_(limits),
      signins_(limits.signinBurst, limits.signinRefillMs),
      lookups_(limits.lookupBurst, limits.lookupRefillMs),
      heartbeat_(this) {
  InitPhonePages();
  // The fixed table of pages: a request names one of these or gets 404.
  const struct {
    const char* path;
    const char* resource;
    const char* type;
  } pages[] = {
      {"/", ":/phone/signin.html", "text/html; charset=utf-8"},
      {"/results", ":/phone/results.html", "text/html; charset=utf-8"},
      {"/lookup", ":/phone/lookup.html", "text/html; charset=utf-8"},
      {"/phone.css", ":/phone/phone.css", "text/css; charset=utf-8"},
      {"/phone.js", ":/phone/phone.js", "text/javascript; charset=utf-8"},
  };
  for (const auto& p : pages) {
    QFile file(QString::fromLatin1(p.resource));
    if (file.open(QIODevice::ReadOnly)) pages_.insert(QString::fromLatin1(p.path), Page{p.type, file.readAll()});
  }
  clock_.start();
  heartbeat_.setInterval(limits_.heartbeatMs);
  connect(&heartbeat_, &QTimer::timeout, this, &PhoneHttp::Heartbeat);
}

PhoneHttp::~PhoneHttp() {
  Shut();
}

quint16 PhoneHttp::Listen(const QHostAddress& address, quint16 port, QString* error) {
  tcp_ = new GuardedTcpServer(limits_.connections, this);
  if (!tcp_->listen(address, port)) {
    if (error) *error = tcp_->errorString();
    delete tcp_;
    tcp_ = nullptr;
    return 0;
  }
  bind(tcp_);
  heartbeat_.start();
  return tcp_->serverPort();
}

void PhoneHttp::Shut() {
  heartbeat_.stop();
  waiting_.clear();
  streams_.clear();
  if (tcp_) tcp_->CloseAll();
}

bool PhoneHttp::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  if (auto* guarded = qobject_cast<GuardedSocket*>(socket)) {
    guarded->Touch(tcp_ ? tcp_->Now() : 0);
    if (WantsClose(request, guarded->Http10())) guarded->SetCloseAfterAnswer();
  }
  {
    auto responder = makeResponder(request, socket);
    const QString path = request.url().path();
    if (request.method() == QHttpServerRequest::Method::Get) {
      Get(request, socket, responder);
    } else if (request.method() == QHttpServerRequest::Method::Post && path == QLatin1String("/api/signin")) {
      SignIn(request, socket, responder);
    } else {
      Reply(responder, "text/plain; charset=utf-8", "method not allowed\n", Status::MethodNotAllowed);
    }
  }
  Answered(socket);
  return true;
}

void PhoneHttp::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  {
    auto responder = makeResponder(request, socket);
    Reply(responder, "text/plain; charset=utf-8", "not found\n", Status::NotFound);
  }
  Answered(socket);
}

// After a request's handler: a phone that asked for the connection to end gets it ended once its
// answer is out (a sign-in still being saved and a stream are answered later, and end then).
void PhoneHttp::Answered(QTcpSocket* socket) {
  auto* guarded = qobject_cast<GuardedSocket*>(socket);
  if (!guarded || !guarded->CloseAfterAnswer() || guarded->Streaming()) return;
  if (guarded->AnswerPending()) return;
  guarded->disconnectFromHost();
}

void PhoneHttp::Get(const QHttpServerRequest& request, QTcpSocket* socket, QHttpServerResponder& responder) {
  const QString path = request.url().path();
  const auto page = pages_.constFind(path);
  if (page != pages_.constEnd()) {
    Reply(responder, page->type, page->bytes);
    return;
  }
  const auto snap = slot_.Get();
  if (path == QLatin1String("/api/results")) {
    ReplyJson(responder, snap ? snap->resultsJson : QByteArray("{\"rev\":0,\"awards\":[]}"));
  } else if (path == QLatin1String("/api/events")) {
    OpenStream(request, socket, responder);
  } else if (path == QLatin1String("/api/lookup") || path == QLatin1String("/api/proof")) {
    if (!lookups_.Allow(request.remoteAddress(), clock_.elapsed())) {
      ReplyJson(responder, SigninAnswerJson(SigninOutcome::TooMany, {}), Status::TooManyRequests);
      return;
    }
    if (!snap) {
      ReplyJson(responder, SigninAnswerJson(SigninOutcome::Closed, {}), Status::ServiceUnavailable);
      return;
    }
    const QUrlQuery query = request.query();
    const QByteArray code = query.queryItemValue(QStringLiteral("c"), QUrl::FullyDecoded).toUtf8();
    const QByteArray typed = query.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded).toUtf8();
    const EntryMatch match = ResolvePerson(*snap, snap->entries, code, typed);
    if (path == QLatin1String("/api/lookup")) {
      ReplyJson(responder, LookupAnswerJson(*snap, match));
      return;
    }
    const QByteArray proof = match.kind == EntryMatch::Kind::One ? EntryProofJson(*snap, match.entry) : QByteArray();
    if (proof.isEmpty()) {
      Reply(responder, "text/plain; charset=utf-8", "no proof\n", Status::NotFound);
      return;
    }
    Reply(responder, "application/json; charset=utf-8", proof, Status::Ok,
          "attachment; filename=\"kavrel-proof.json\"");
  } else {
    Reply(responder, "text/plain; charset=utf-8", "not found\n", Status::NotFound);
  }
}

void PhoneHttp::SignIn(const QHttpServerRequest& request, QTcpSocket* socket, QHttpServerResponder& responder) {
  if (!signins_.Allow(request.remoteAddress(), clock_.elapsed())) {
    ReplyJson(responder, SigninAnswerJson(SigninOutcome::TooMany, {}), Status::TooManyRequests);
    return;
  }
  const auto snap = slot_.Get();
  if (!snap) {
    ReplyJson(responder, SigninAnswerJson(SigninOutcome::Closed, {}), Status::ServiceUnavailable);
    return;
  }
  const QByteArray body = request.body();
  if (body.size() > 4 * kMaxQueryBytes) {
    ReplyJson(responder, SigninAnswerJson(SigninOutcome::Invalid, {}), Status::PayloadTooLarge);
    return;
  }
  const QUrlQuery form(QString::fromUtf8(body).replace(QLatin1Char('+'), QLatin1Char(' ')));
  const QByteArray code = form.queryItemValue(QStringLiteral("c"), QUrl::FullyDecoded).toUtf8();
  const QByteArray typed = form.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded).toUtf8();
  const EntryMatch match = ResolvePerson(*snap, snap->signinEntries, code, typed);
  switch (match.kind) {
    case EntryMatch::Kind::CodeNeeded:
      ReplyJson(responder, SigninAnswerJson(SigninOutcome::CodeNeeded, {}));
      return;
    case EntryMatch::Kind::Invalid:
      ReplyJson(responder, SigninAnswerJson(SigninOutcome::Invalid, {}), Status::BadRequest);
      return;
    case EntryMatch::Kind::None:
      ReplyJson(responder, SigninAnswerJson(SigninOutcome::Unknown, {}));
      return;
    case EntryMatch::Kind::Several:
      ReplyJson(responder, SigninAnswerJson(SigninOutcome::NotUnique, {}));
      return;
    case EntryMatch::Kind::One:
      break;
  }
  const quint64 ticket = nextTicket_++;
  const QString shown = AnswerShown(*snap, match.entry);
  if (auto* guarded = qobject_cast<GuardedSocket*>(socket)) guarded->SetAnswerPending(true);
  waiting_.emplace(ticket, Waiting{QPointer<QTcpSocket>(socket), std::move(responder), shown});
  emit SigninWanted(ticket, QByteArray(match.entry.data(), static_cast<qsizetype>(match.entry.size())),
                    request.remoteAddress().toString());
}

void PhoneHttp::Settle(quint64 ticket, int outcome) {
  const auto it = waiting_.find(ticket);
  if (it == waiting_.end()) return;
  Waiting w = std::move(it->second);
  waiting_.erase(it);
  if (!w.socket || w.socket->state() != QAbstractSocket::ConnectedState) return;  // the phone gave up
  SigninOutcome result = SigninOutcome::SaveFailed;
  switch (outcome) {
    case SigninDesk::Added:
      result = SigninOutcome::Added;
      break;
    case SigninDesk::AlreadySignedIn:
      result = SigninOutcome::AlreadySignedIn;
      break;
    case SigninDesk::Closed:
      result = SigninOutcome::Closed;
      break;
    default:
      break;
  }
  ReplyJson(w.responder, SigninAnswerJson(result, w.shown));
  if (auto* guarded = qobject_cast<GuardedSocket*>(w.socket.data())) guarded->SetAnswerPending(false);
  Answered(w.socket);
}

void PhoneHttp::OpenStream(const QHttpServerRequest& request, QTcpSocket* socket, QHttpServerResponder& responder) {
  PruneStreams(false);
  const QHostAddress peer = request.remoteAddress();
  const auto fromPeer =
      std::count_if(streams_.begin(), streams_.end(), [&](const Stream& s) { return s.peer == peer; });
  if (static_cast<int>(streams_.size()) >= limits_.maxStreams || fromPeer >= limits_.maxStreamsPerAddress) {
    // The page falls back to asking now and then.
    Reply(responder, "text/plain; charset=utf-8", "busy\n", Status::ServiceUnavailable);
    return;
  }
  if (auto* guarded = qobject_cast<GuardedSocket*>(socket)) guarded->SetStreaming();
  responder.writeStatusLine(Status::Ok);
  responder.writeHeader("Content-Type", "text/event-stream; charset=utf-8");
  responder.writeHeader("Cache-Control", "no-store");
  responder.writeHeader("X-Content-Type-Options", "nosniff");
  responder.writeHeader("Connection", "close");
  const auto snap = slot_.Get();
  QByteArray first = "retry: 1000\n\n";
  if (snap) first += "data: " + snap->resultsJson + "\n\n";
  responder.writeBody(first);
  streams_.push_back(Stream{QPointer<QTcpSocket>(socket), peer, clock_.elapsed()});
}

void PhoneHttp::PruneStreams(bool cutOld) {
  const qint64 now = clock_.elapsed();
  std::erase_if(streams_, [&](const Stream& s) {
    if (!s.socket) return true;
    // A phone that stopped reading is not buffered for without bound; a stream that lived its time
    // ends, and the page opens a new one at once: no stream holds its place for ever.
    if (s.socket->bytesToWrite() > 256 * 1024 || (cutOld && now - s.openedMs > limits_.streamMaxMs)) {
      s.socket->abort();
      return true;
    }
    return false;
  });
}

void PhoneHttp::Broadcast() {
  const auto snap = slot_.Get();
  if (!snap || snap->revision == lastBroadcast_) return;
  lastBroadcast_ = snap->revision;
  const QByteArray event = "data: " + snap->resultsJson + "\n\n";
  PruneStreams(false);
  for (const auto& s : streams_) s.socket->write(event);
}

void PhoneHttp::Heartbeat() {
  PruneStreams(true);
  for (const auto& s : streams_) s.socket->write(":\n\n");
}

}  // namespace kavrel
