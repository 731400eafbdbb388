#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <memory>
#include <mutex>
#include <vector>

struct MHD_Connection;

namespace kavrel {

// One result stream (server-sent events): the bytes waiting for a phone, between the threads that
// write events (a publish, the heartbeat) and the server's polling thread that sends them. With
// nothing to send, the connection is suspended, so a thousand open streams cost no polling; a write
// resumes it.
class EventStream {
 public:
  EventStream(MHD_Connection* connection, qintptr socket, QHostAddress peer, qint64 openedMs, qint64 maxBacklog);

  // Any thread: queues `bytes` and wakes the connection. A phone that stopped reading is not buffered
  // for without bound: past `maxBacklog` unsent bytes the stream is cut.
  void Push(const QByteArray& bytes);
  // Any thread: ends the stream, after what is queued (`drop`: at once, queued bytes dropped).
  void End(bool drop);

  // The polling thread, as the answer's content reader: copies up to `max` bytes into `buf`, or
  // suspends the connection and returns 0 when there are none; the end of the stream when ended.
  long Read(char* buf, std::size_t max);
  // The polling thread: the library let go of the answer (the connection closed or went on to its
  // next request). No resume may follow.
  void Finished();

  // Suspended, waiting for something to send: the library does not watch its socket meanwhile.
  bool Suspended();
  qintptr Socket() const { return socket_; }
  const QHostAddress& Peer() const { return peer_; }
  qint64 OpenedMs() const { return openedMs_; }

 private:
  void Wake();

  MHD_Connection* const connection_;
  const qintptr socket_;
  const QHostAddress peer_;
  const qint64 openedMs_;
  const qint64 maxBacklog_;
  std::mutex mutex_;
  QByteArray pending_;
  bool suspended_ = false;
  bool ended_ = false;
  bool finished_ = false;
};

// Ends the suspended streams whose phone closed its end (a results page closed, a phone gone off the
// network with a reset): the library does not poll a suspended connection, so without this its place
// would be held until the next heartbeat. Any thread.
void EndStreamsOfPhonesGone(const std::vector<std::shared_ptr<EventStream>>& streams);

}  // namespace kavrel
