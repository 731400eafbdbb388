#include "phone/phone_http.h"

#include <microhttpd.h>

#include <QFile>
#include <QUrlQuery>
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "phone/event_stream.h"
#include "phone/phone_answers.h"
#include "phone/signin_desk.h"
#include "platform/sockets.h"

// The pages are compiled into this static library; a static library's resources are registered
// by hand, or the linker drops them.
static void InitPhonePages() {
  Q_INIT_RESOURCE(phone_pages);
}

namespace kavrel {

// One request on a connection, from its request line to its answer's end.
struct PhoneHttp::Request {
  ConnectionBudget::Place* place = nullptr;
  bool started = false;  // the handler has seen the headers
  bool post = false;     // a sign-in whose form is arriving
  QByteArray body;
  bool tooBig = false;
  quint64 ticket = 0;  // handed to the desk
  int outcome = -1;    // the desk's answer (under waitingMutex_)
  QString shown;
};

namespace {

// Unsent bytes a result stream may hold for a phone that stopped reading before it is cut.
constexpr qint64 kMaxStreamBacklog = 256 * 1024;

// Sign-in tickets are unique across servers, so a save settled after a restart answers nobody.
std::atomic<quint64> nextTicket{1};

// Every answer: never cached by a proxy, never sniffed into another type, scripts and styles from
// this server only.
void AddCommonHeaders(MHD_Response* response, const char* type) {
  MHD_add_response_header(response, "Content-Type", type);
  MHD_add_response_header(response, "Cache-Control", "no-store");
  MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
  MHD_add_response_header(response, "Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
  MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
}

bool Queue(MHD_Connection* connection, unsigned status, MHD_Response* response) {
  const MHD_Result queued = MHD_queue_response(connection, status, response);
  MHD_destroy_response(response);
  return queued == MHD_YES;
}

bool Reply(MHD_Connection* connection, unsigned status, const char* type, const QByteArray& body,
           const char* disposition = nullptr) {
  MHD_Response* response = MHD_create_response_from_buffer(static_cast<std::size_t>(body.size()),
                                                           const_cast<char*>(body.constData()), MHD_RESPMEM_MUST_COPY);
  if (!response) return false;
  AddCommonHeaders(response, type);
  if (disposition) MHD_add_response_header(response, "Content-Disposition", disposition);
  return Queue(connection, status, response);
}

bool ReplyJson(MHD_Connection* connection, const QByteArray& body, unsigned status = MHD_HTTP_OK) {
  return Reply(connection, status, "application/json; charset=utf-8", body);
}

bool ReplyText(MHD_Connection* connection, unsigned status, const char* text) {
  return Reply(connection, status, "text/plain; charset=utf-8", QByteArray(text));
}

// A connection that got no place: told to come back, and closed once told.
bool ReplyBusy(MHD_Connection* connection) {
  MHD_Response* response = MHD_create_response_from_buffer(0, const_cast<char*>(""), MHD_RESPMEM_PERSISTENT);
  if (!response) return false;
  AddCommonHeaders(response, "text/plain; charset=utf-8");
  MHD_add_response_header(response, "Retry-After", "2");
  MHD_add_response_header(response, "Connection", "close");
  return Queue(connection, MHD_HTTP_SERVICE_UNAVAILABLE, response);
}

QByteArray Argument(MHD_Connection* connection, const char* key) {
  const char* value = MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, key);
  // Through QString, as a form's fields are: bytes that are no UTF-8 become U+FFFD, never a match.
  return value ? QString::fromUtf8(value).toUtf8() : QByteArray();
}

QHostAddress PeerOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (!info || !info->client_addr) return {};
  QHostAddress peer(info->client_addr);
  // A phone on IPv4 reaching a dual-stack listener is still its IPv4 address (its sign-in record,
  // its rate limit and its share are those of the address it has).
  bool mapped = false;
  const quint32 v4 = peer.toIPv4Address(&mapped);
  return mapped ? QHostAddress(v4) : peer;
}

// Shuts a connection's socket down: the library sees it end and closes it (the library owns it).
void CutSocket(qintptr socket) {
  ShutDownSocket(socket);
}

}  // namespace

// The library's callbacks: all on its polling thread.
struct PhoneHttpCallbacks {
  static void Connection(void* self, MHD_Connection* connection, void** socketContext,
                         MHD_ConnectionNotificationCode code) {
    auto* http = static_cast<PhoneHttp*>(self);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      const MHD_ConnectionInfo* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      const qintptr socket = fd ? static_cast<qintptr>(fd->connect_fd) : -1;
      *socketContext = http->budget_->Open(PeerOf(connection), socket, http->Now());
    } else if (*socketContext) {
      http->budget_->Closed(static_cast<ConnectionBudget::Place*>(*socketContext));
      *socketContext = nullptr;
    }
  }

  // The request line is in: a request has begun, and from now on it must arrive whole in time.
  static void* RequestLine(void* self, const char*, MHD_Connection* connection) {
    auto* http = static_cast<PhoneHttp*>(self);
    auto* request = new PhoneHttp::Request;
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    request->place = info ? static_cast<ConnectionBudget::Place*>(info->socket_context) : nullptr;
    if (request->place) http->budget_->SetPhase(request->place, ConnectionBudget::Phase::Arriving, http->Now());
    return request;
  }

  static void Completed(void* self, MHD_Connection*, void** requestContext, MHD_RequestTerminationCode) {
    auto* http = static_cast<PhoneHttp*>(self);
    auto* request = static_cast<PhoneHttp::Request*>(*requestContext);
    if (!request) return;
    if (request->place) http->budget_->SetPhase(request->place, ConnectionBudget::Phase::Waiting, http->Now());
    delete request;
    *requestContext = nullptr;
  }

  static MHD_Result Request(void* self, MHD_Connection* connection, const char* url, const char* method, const char*,
                            const char* upload, std::size_t* uploadSize, void** requestContext) {
    auto* request = static_cast<PhoneHttp::Request*>(*requestContext);
    if (!request) return MHD_NO;
    return static_cast<PhoneHttp*>(self)->Handle(connection, *request, QByteArray(url), QByteArray(method), upload,
                                                 uploadSize)
               ? MHD_YES
               : MHD_NO;
  }

  static void Log(void* self, const char* format, va_list args) {
    auto* http = static_cast<PhoneHttp*>(self);
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::lock_guard lock(http->logMutex_);
    http->lastLog_ = QByteArray(text).trimmed();
  }

  struct StreamAnswer {
    PhoneHttp* http;
    std::shared_ptr<EventStream> stream;
  };
  static ssize_t ReadStream(void* cls, uint64_t, char* buf, std::size_t max) {
    return static_cast<ssize_t>(static_cast<StreamAnswer*>(cls)->stream->Read(buf, max));
  }
  static void StreamGone(void* cls) {
    auto* answer = static_cast<StreamAnswer*>(cls);
    answer->stream->Finished();
    {
      std::lock_guard lock(answer->http->streamsMutex_);
      std::erase(answer->http->streams_, answer->stream);
    }
    delete answer;
  }
};

PhoneHttp::PhoneHttp(const SnapshotSlot& slot, const PhoneServerLimits& limits, Submit submit)
    : slot_(slot),
      limits_(limits),
      submit_(std::move(submit)),
      budget_(std::make_unique<ConnectionBudget>(limits.connections, CutSocket)),
      signins_(limits.signinBurst, limits.signinRefillMs),
      lookups_(limits.lookupBurst, limits.lookupRefillMs) {
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
    if (file.open(QIODevice::ReadOnly)) pages_.insert(QByteArray(p.path), Page{p.type, file.readAll()});
  }
}

PhoneHttp::~PhoneHttp() {
  closing_ = true;
  if (watch_.joinable()) {
    {
      std::lock_guard lock(watchMutex_);
      watchStop_ = true;
    }
    watchWake_.notify_all();
    watch_.join();
  }
  // The library refuses to stop while a connection is suspended: every stream ends and every sign-in
  // still being saved is answered "closed" (the desk's later answer finds no ticket). Nothing is
  // suspended again once closing_ is set.
  {
    std::lock_guard lock(streamsMutex_);
    for (const auto& stream : streams_) stream->End(true);
  }
  {
    std::lock_guard lock(waitingMutex_);
    for (auto& [ticket, waiting] : waiting_) {
      waiting.second->outcome = SigninDesk::Closed;
      MHD_resume_connection(waiting.first);
    }
    waiting_.clear();
  }
  if (daemon_) MHD_stop_daemon(daemon_);
}

qint64 PhoneHttp::Now() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
}

quint16 PhoneHttp::Listen(const QHostAddress& address, quint16 port, QString* error) {
  // Never select: winsock's holds 64 sockets by default, and a hall keeps 1,500 connections open. epoll
  // where the system has it (Linux), else poll (Windows); a library built without either fails to start
  // and says so, rather than serving a hall through select.
  const unsigned int polling = MHD_is_feature_supported(MHD_FEATURE_EPOLL) == MHD_YES ? MHD_USE_EPOLL_INTERNAL_THREAD
                                                                                      : MHD_USE_POLL_INTERNAL_THREAD;
  unsigned int flags = polling | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG;
  std::uint8_t any[16] = {};
  ListenAddress where = ListenAddress::IPv6(any, port);
  if (address.protocol() == QAbstractSocket::IPv4Protocol) {
    where = ListenAddress::IPv4(address.toIPv4Address(), port);
  } else if (address == QHostAddress::Any) {
    flags |= MHD_USE_DUAL_STACK;  // Qt's "any" is both families
  } else {
    flags |= MHD_USE_IPv6;
    const Q_IPV6ADDR bytes = address.toIPv6Address();
    where = ListenAddress::IPv6(bytes.c, port);
  }
  const ConnectionLimits& c = limits_.connections;
  // The library's own cap sits a little above ours: the connections past ours are the ones told 503
  // (a clean answer, not a reset), each for requestMs at most. Beyond that it closes newcomers
  // unanswered, so the descriptors stay within the budget whatever a hall does.
  const unsigned int hardCap = static_cast<unsigned int>(c.maxConnections + std::clamp(c.maxConnections / 16, 4, 64));
  // Idle connections are cut by the budget to the millisecond; the library's own timeout (whole
  // seconds, reset by every byte) cuts an answer the phone stopped reading.
  const unsigned int timeoutS = static_cast<unsigned int>(std::max(1, (c.idleMs + 999) / 1000));
  daemon_ = MHD_start_daemon(flags, port, nullptr, nullptr, &PhoneHttpCallbacks::Request, this,
                             MHD_OPTION_EXTERNAL_LOGGER, &PhoneHttpCallbacks::Log, this, MHD_OPTION_SOCK_ADDR,
                             where.Get(), MHD_OPTION_CONNECTION_LIMIT, hardCap, MHD_OPTION_CONNECTION_TIMEOUT, timeoutS,
                             MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<std::size_t>(c.maxUnanswered),
                             MHD_OPTION_NOTIFY_CONNECTION, &PhoneHttpCallbacks::Connection, this,
                             MHD_OPTION_URI_LOG_CALLBACK, &PhoneHttpCallbacks::RequestLine, this,
                             MHD_OPTION_NOTIFY_COMPLETED, &PhoneHttpCallbacks::Completed, this, MHD_OPTION_END);
  if (!daemon_) {
    std::lock_guard lock(logMutex_);
    if (error) *error = QString::fromLocal8Bit(lastLog_);
    return 0;
  }
  const MHD_DaemonInfo* bound = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  watch_ = std::thread([this] { Watch(); });
  return bound ? bound->port : port;
}

bool PhoneHttp::Handle(MHD_Connection* connection, Request& request, const QByteArray& url, const QByteArray& method,
                       const char* upload, std::size_t* uploadSize) {
  const auto answering = [&] {
    if (request.place) budget_->SetPhase(request.place, ConnectionBudget::Phase::Answering, Now());
  };
  if (!request.started) {
    // The headers are in. An answer queued now ends the connection after it (the library reads no
    // further), so only a refusal is answered here; the rest once the request is whole.
    request.started = true;
    if (!request.place || request.place->refused) {
      answering();
      return ReplyBusy(connection);
    }
    request.post = method == MHD_HTTP_METHOD_POST && url == "/api/signin";
    const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (request.post && length && QByteArray(length).trimmed().toLongLong() > 4 * kMaxQueryBytes) {
      answering();
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Invalid, {}), MHD_HTTP_CONTENT_TOO_LARGE);
    }
    return true;
  }
  if (*uploadSize > 0) {
    // A sign-in's form is a code or a typed answer; anything longer is refused once it is all in.
    // Any other body is nobody's business and is dropped.
    if (request.post && !request.tooBig) {
      request.body.append(upload, static_cast<qsizetype>(*uploadSize));
      if (request.body.size() > 4 * kMaxQueryBytes) {
        request.tooBig = true;
        request.body.clear();
      }
    }
    *uploadSize = 0;
    return true;
  }
  if (!request.post) {
    answering();
    if (method == MHD_HTTP_METHOD_GET) return Get(connection, request, url);
    return ReplyText(connection, MHD_HTTP_METHOD_NOT_ALLOWED, "method not allowed\n");
  }
  if (request.ticket == 0) {
    answering();
    if (!signins_.Allow(request.place->peer, Now())) {
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::TooMany, {}), MHD_HTTP_TOO_MANY_REQUESTS);
    }
    return SignIn(connection, request);
  }
  // Resumed: the desk has answered.
  int outcome = SigninDesk::SaveFailed;
  {
    std::lock_guard lock(waitingMutex_);
    if (request.outcome >= 0) outcome = request.outcome;
  }
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
  return ReplyJson(connection, SigninAnswerJson(result, request.shown));
}

bool PhoneHttp::Get(MHD_Connection* connection, Request& request, const QByteArray& path) {
  const auto page = pages_.constFind(path);
  if (page != pages_.constEnd()) {
    MHD_Response* response = MHD_create_response_from_buffer(
        static_cast<std::size_t>(page->bytes.size()), const_cast<char*>(page->bytes.constData()),
        MHD_RESPMEM_PERSISTENT);  // the table lives as long as the server
    if (!response) return false;
    AddCommonHeaders(response, page->type.constData());
    return Queue(connection, MHD_HTTP_OK, response);
  }
  const auto snap = slot_.Get();
  if (path == "/api/results") {
    return ReplyJson(connection, snap ? snap->resultsJson : QByteArray("{\"rev\":0,\"awards\":[]}"));
  }
  if (path == "/api/events") return OpenStream(connection, request);
  if (path != "/api/lookup" && path != "/api/proof") return ReplyText(connection, MHD_HTTP_NOT_FOUND, "not found\n");
  if (!lookups_.Allow(request.place->peer, Now())) {
    return ReplyJson(connection, SigninAnswerJson(SigninOutcome::TooMany, {}), MHD_HTTP_TOO_MANY_REQUESTS);
  }
  if (!snap) {
    return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Closed, {}), MHD_HTTP_SERVICE_UNAVAILABLE);
  }
  const EntryMatch match = ResolvePerson(*snap, snap->entries, Argument(connection, "c"), Argument(connection, "q"));
  if (path == "/api/lookup") return ReplyJson(connection, LookupAnswerJson(*snap, match));
  const QByteArray proof = match.kind == EntryMatch::Kind::One ? EntryProofJson(*snap, match.entry) : QByteArray();
  if (proof.isEmpty()) return ReplyText(connection, MHD_HTTP_NOT_FOUND, "no proof\n");
  return Reply(connection, MHD_HTTP_OK, "application/json; charset=utf-8", proof,
               "attachment; filename=\"kavrel-proof.json\"");
}

bool PhoneHttp::SignIn(MHD_Connection* connection, Request& request) {
  const auto snap = slot_.Get();
  if (!snap) return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Closed, {}), MHD_HTTP_SERVICE_UNAVAILABLE);
  if (request.tooBig) {
    return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Invalid, {}), MHD_HTTP_CONTENT_TOO_LARGE);
  }
  const QUrlQuery form(QString::fromUtf8(request.body).replace(QLatin1Char('+'), QLatin1Char(' ')));
  const QByteArray code = form.queryItemValue(QStringLiteral("c"), QUrl::FullyDecoded).toUtf8();
  const QByteArray typed = form.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded).toUtf8();
  const EntryMatch match = ResolvePerson(*snap, snap->signinEntries, code, typed);
  switch (match.kind) {
    case EntryMatch::Kind::CodeNeeded:
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::CodeNeeded, {}));
    case EntryMatch::Kind::Invalid:
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Invalid, {}), MHD_HTTP_BAD_REQUEST);
    case EntryMatch::Kind::None:
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Unknown, {}));
    case EntryMatch::Kind::Several:
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::NotUnique, {}));
    case EntryMatch::Kind::One:
      break;
  }
  request.shown = AnswerShown(*snap, match.entry);
  {
    std::lock_guard lock(waitingMutex_);
    if (closing_) {
      return ReplyJson(connection, SigninAnswerJson(SigninOutcome::Closed, request.shown),
                       MHD_HTTP_SERVICE_UNAVAILABLE);
    }
    request.ticket = nextTicket++;
    waiting_.emplace(request.ticket, std::pair(connection, &request));
    // Answered when the desk has saved it: the connection waits without being polled or timed out,
    // and Settle resumes it.
    MHD_suspend_connection(connection);
  }
  submit_(request.ticket, QByteArray(match.entry.data(), static_cast<qsizetype>(match.entry.size())),
          request.place->peer.toString());
  return true;
}

void PhoneHttp::Settle(quint64 ticket, int outcome) {
  std::lock_guard lock(waitingMutex_);
  const auto it = waiting_.find(ticket);
  if (it == waiting_.end()) return;
  it->second.second->outcome = outcome;
  MHD_resume_connection(it->second.first);
  waiting_.erase(it);
}

bool PhoneHttp::OpenStream(MHD_Connection* connection, Request& request) {
  const QHostAddress& peer = request.place->peer;
  const MHD_ConnectionInfo* fd = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
  auto stream = std::make_shared<EventStream>(connection, fd ? static_cast<qintptr>(fd->connect_fd) : -1, peer, Now(),
                                              kMaxStreamBacklog);
  {
    std::lock_guard lock(streamsMutex_);
    const auto fromPeer =
        std::count_if(streams_.begin(), streams_.end(), [&](const auto& s) { return s->Peer() == peer; });
    if (closing_ || static_cast<int>(streams_.size()) >= limits_.maxStreams ||
        fromPeer >= limits_.maxStreamsPerAddress) {
      // The page falls back to asking now and then.
      return ReplyText(connection, MHD_HTTP_SERVICE_UNAVAILABLE, "busy\n");
    }
    streams_.push_back(stream);
  }
  const auto snap = slot_.Get();
  QByteArray first = "retry: 1000\n\n";
  if (snap) first += "data: " + snap->resultsJson + "\n\n";
  stream->Push(first);
  auto* answer = new PhoneHttpCallbacks::StreamAnswer{this, stream};
  MHD_Response* response = MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, 4096, &PhoneHttpCallbacks::ReadStream,
                                                             answer, &PhoneHttpCallbacks::StreamGone);
  if (!response) {
    PhoneHttpCallbacks::StreamGone(answer);
    return false;
  }
  AddCommonHeaders(response, "text/event-stream; charset=utf-8");
  // Sent as it comes and ended by closing, as before chunked encoding: every event reaches the phone
  // as written, and the connection is not reused after a stream.
  MHD_set_response_options(response, MHD_RF_HTTP_1_0_COMPATIBLE_STRICT, MHD_RO_END);
  std::weak_ptr<EventStream> weak = stream;
  budget_->SetPhase(request.place, ConnectionBudget::Phase::Streaming, Now(), [weak] {
    if (auto s = weak.lock()) s->End(true);
  });
  return Queue(connection, MHD_HTTP_OK, response);
}

void PhoneHttp::Broadcast() {
  const auto snap = slot_.Get();
  if (!snap) return;
  std::lock_guard lock(streamsMutex_);
  if (snap->revision == lastBroadcast_) return;
  lastBroadcast_ = snap->revision;
  const QByteArray event = "data: " + snap->resultsJson + "\n\n";
  for (const auto& s : streams_) s->Push(event);
}

void PhoneHttp::Heartbeat(qint64 nowMs) {
  std::lock_guard lock(streamsMutex_);
  for (const auto& s : streams_) {
    // A stream that lived its time ends, and the page opens a new one at once: no stream holds its
    // place for ever.
    if (nowMs - s->OpenedMs() > limits_.streamMaxMs) {
      s->End(false);
    } else {
      s->Push(":\n\n");
    }
  }
}

// Every few hundred milliseconds: the late connections are cut and the streams whose phone left end;
// every heartbeat, a comment line on
// every stream, so one whose phone is gone is noticed (the library's timeout cuts a write that does
// not move, so the heartbeat comes at least twice per idle limit).
void PhoneHttp::Watch() {
  const qint64 beat = std::max(100, std::min(limits_.heartbeatMs, limits_.connections.idleMs / 2));
  qint64 nextBeat = Now() + beat;
  std::unique_lock lock(watchMutex_);
  while (!watchStop_) {
    watchWake_.wait_for(lock, std::chrono::milliseconds(200));
    if (watchStop_) break;
    lock.unlock();
    const qint64 now = Now();
    budget_->CutLate(now);
    {
      std::vector<std::shared_ptr<EventStream>> streams;
      {
        std::lock_guard streamsLock(streamsMutex_);
        streams = streams_;
      }
      EndStreamsOfPhonesGone(streams);
    }
    if (now >= nextBeat) {
      Heartbeat(now);
      nextBeat = now + beat;
    }
    lock.lock();
  }
}

}  // namespace kavrel
