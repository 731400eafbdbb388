#include "phone/event_stream.h"

#include <microhttpd.h>

#include <algorithm>
#include <cstring>

#include "platform/sockets.h"

namespace kavrel {

EventStream::EventStream(MHD_Connection* connection, qintptr socket, QHostAddress peer, qint64 openedMs,
                         qint64 maxBacklog)
    : connection_(connection), socket_(socket), peer_(std::move(peer)), openedMs_(openedMs), maxBacklog_(maxBacklog) {}

bool EventStream::Suspended() {
  std::lock_guard lock(mutex_);
  return suspended_ && !finished_;
}

void EventStream::Push(const QByteArray& bytes) {
  std::lock_guard lock(mutex_);
  if (ended_ || finished_) return;
  pending_ += bytes;
  if (pending_.size() > maxBacklog_) {
    pending_.clear();
    ended_ = true;
  }
  Wake();
}

void EventStream::End(bool drop) {
  std::lock_guard lock(mutex_);
  if (finished_) return;
  ended_ = true;
  if (drop) pending_.clear();
  Wake();
}

// Under the lock, so a resume never races the suspend it undoes, and none follows Finished.
void EventStream::Wake() {
  if (!suspended_ || finished_) return;
  suspended_ = false;
  MHD_resume_connection(connection_);
}

long EventStream::Read(char* buf, std::size_t max) {
  std::lock_guard lock(mutex_);
  if (pending_.isEmpty()) {
    if (ended_) return static_cast<long>(MHD_CONTENT_READER_END_OF_STREAM);
    // The library calls again at once on 0 unless the connection is suspended; a write resumes it.
    suspended_ = true;
    MHD_suspend_connection(connection_);
    return 0;
  }
  const auto n = std::min<std::size_t>(max, static_cast<std::size_t>(pending_.size()));
  std::memcpy(buf, pending_.constData(), n);
  pending_.remove(0, static_cast<qsizetype>(n));
  return static_cast<long>(n);
}

void EventStream::Finished() {
  std::lock_guard lock(mutex_);
  finished_ = true;
  pending_.clear();
}

void EndStreamsOfPhonesGone(const std::vector<std::shared_ptr<EventStream>>& streams) {
  std::vector<std::shared_ptr<EventStream>> watched;
  std::vector<std::intptr_t> sockets;
  for (const auto& s : streams) {
    if (!s->Suspended()) continue;
    watched.push_back(s);
    sockets.push_back(s->Socket());
  }
  if (sockets.empty()) return;
  // A socket resumed and closed meanwhile (its number maybe taken by another connection) is only
  // looked at: nothing is read from it, and the stream it belonged to has finished, so End is a no-op.
  const std::vector<bool> gone = SocketsEndedByPeer(sockets);
  for (std::size_t i = 0; i < gone.size(); ++i) {
    if (gone[i]) watched[i]->End(true);
  }
}

}  // namespace kavrel
