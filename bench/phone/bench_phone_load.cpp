// A room full of phones against the phone server, on loopback only: 1,000 phones keep asking for
// the results (each on its own keep-alive connection, one request a second) while 300 sign in at
// once with their personal codes, and a stop is published in the middle. Reports the p50/p95/p99/max
// response times, the answers refused (503) or lost, the UI thread's timer lateness (where the stage
// paints) and the memory before and after. Bounded: a fixed number of requests and a hard deadline,
// then it exits by itself.
//
// With BENCH_TARGET_PORT=n it is only the room: the phones ask the running program on
// 127.0.0.1:n, signing in with the codes of BENCH_CODES (the program's config/signin-codes.dat),
// so the program can be measured as it runs (under `ulimit -n 1024`, say, with the stage drawing).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

#include "phone/phone_server.h"
#include "phone/signin_desk.h"
#include "platform/descriptor_limit.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/signin_codes.h"
#include "storage/split_text.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"

namespace {

const int kPhones = qEnvironmentVariableIsSet("BENCH_PHONES") ? qEnvironmentVariableIntValue("BENCH_PHONES") : 1000;
constexpr int kRoundsPerPhone = 5;
constexpr int kSignins = 300;
constexpr int kDeadlineMs = 90000;

long RssKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
  }
  return -1;
}

// Answers a phone got but not as a page: refused (503 past the server's budget) or lost (the
// connection ended before an answer).
std::atomic<int> refused = 0;
std::atomic<int> lost = 0;

// One phone: a connection, a request, the time until its whole answer.
class Phone : public QObject {
 public:
  Phone(quint16 port, QByteArray request, int rounds, std::vector<double>& times, std::atomic<int>& done)
      : port_(port), request_(std::move(request)), rounds_(rounds), times_(times), done_(done) {
    connect(&socket_, &QTcpSocket::connected, this, [this] { Send(); });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] { Read(); });
    connect(&socket_, &QTcpSocket::disconnected, this, [this] { Finish(); });
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, [this] { Send(); });
  }
  void Go(int delayMs) {
    QTimer::singleShot(delayMs, this, [this] { socket_.connectToHost(QStringLiteral("127.0.0.1"), port_); });
  }

 private:
  void Send() {
    buffer_.clear();
    clock_.start();
    socket_.write(request_);
  }
  void Read() {
    buffer_ += socket_.readAll();
    const qsizetype end = buffer_.indexOf("\r\n\r\n");
    if (end < 0) return;
    const qsizetype at = buffer_.indexOf("Content-Length: ");
    const qsizetype eol = buffer_.indexOf("\r\n", at);
    const int length = buffer_.mid(at + 16, eol - at - 16).toInt();
    if (buffer_.size() < end + 4 + length) return;
    if (buffer_.startsWith("HTTP/1.1 503")) {
      answered_ = true;
      ++refused;
      return Finish();
    }
    answered_ = true;
    times_.push_back(static_cast<double>(clock_.nsecsElapsed()) / 1e6);
    if (++round_ >= rounds_) return Finish();
    next_.start(1000);
  }
  void Finish() {
    if (finished_) return;
    finished_ = true;
    if (!answered_) ++lost;
    ++done_;
    socket_.abort();
  }

  QTcpSocket socket_;
  QTimer next_;
  QElapsedTimer clock_;
  QByteArray buffer_;
  quint16 port_;
  QByteArray request_;
  int rounds_;
  int round_ = 0;
  bool finished_ = false;
  bool answered_ = false;
  std::vector<double>& times_;
  std::atomic<int>& done_;
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

std::vector<std::string> Entries() {
  std::vector<std::string> entries;
  for (int i = 0; i < 2000; ++i) entries.push_back("E" + std::to_string(1000 + i) + "  " + kavrel::Gb("张小三") + "  ");
  return entries;
}

std::shared_ptr<const kavrel::PhoneSnapshot> Snapshot(int revision, int winners, const kavrel::SigninCodes& codes) {
  kavrel::PhoneSnapshotInputs in;
  in.entries = Entries();
  in.signinEntries = in.entries;
  in.codes = codes;
  kavrel::PhoneAward award{kavrel::Gb("一等奖"), kavrel::Gb("笔记本电脑"), {}};
  for (int i = 0; i < winners; ++i) award.winners.push_back(in.entries[static_cast<std::size_t>(i)]);
  in.awards.push_back(award);
  in.options.matchField = 1;
  in.options.maskNames = true;
  return kavrel::BuildPhoneSnapshot(in, revision);
}

}  // namespace

int main(int argc, char** argv) {
  // The room and the server share this process: room for both.
  kavrel::RaiseDescriptorLimit();
  QCoreApplication app(argc, argv);
  QTemporaryDir temp;
  const kavrel::ProgramDir dir(std::filesystem::path(temp.path().toStdString()));
  dir.EnsureConfigDir();
  kavrel::FakeClock clock;
  kavrel::SigninDesk desk(dir, clock);
  desk.Load();

  const quint16 target = static_cast<quint16>(qEnvironmentVariableIntValue("BENCH_TARGET_PORT"));
  kavrel::SigninCodes codes;
  if (target) {
    codes = kavrel::SigninCodes::Parse(kavrel::ReadTextFile(qEnvironmentVariable("BENCH_CODES").toStdString()));
  } else {
    codes.Complete(Entries());
  }
  std::vector<std::string> signinCodes;
  for (const auto& line : kavrel::SplitLines(codes.Text())) {
    if (static_cast<int>(signinCodes.size()) < kSignins) signinCodes.push_back(line.substr(0, line.find('\t')));
  }
  if (static_cast<int>(signinCodes.size()) < kSignins) {
    std::fprintf(stderr, "need %d sign-in codes, have %zu\n", kSignins, signinCodes.size());
    return 1;
  }

  // Every phone here shares 127.0.0.1: a room behind one router, signing in all at once. The
  // per-address limit is meant for floods and would hold back the later ones, so it is off here.
  // The program's own limits, from the descriptor limit raised above.
  kavrel::PhoneServerLimits limits = kavrel::BudgetedLimits(kavrel::DescriptorLimit());
  limits.signinBurst = 0;
  kavrel::PhoneServer server(desk, limits);
  server.Publish(Snapshot(1, 10, codes));
  const long rssBefore = RssKb();
  if (!target) {
    if (const QString error = server.Start(QHostAddress::LocalHost, 0); !error.isEmpty()) {
      std::fprintf(stderr, "cannot start: %s\n", error.toUtf8().constData());
      return 1;
    }
  }
  const quint16 port = target ? target : server.Port();

  // The phones run on a thread of their own, like a room of separate devices.
  QThread phonesThread;
  QObject phonesHome;
  phonesHome.moveToThread(&phonesThread);
  phonesThread.start();
  std::vector<double> pollTimes;
  std::vector<double> signinTimes;
  std::atomic<int> pollsDone = 0;
  std::atomic<int> signinsDone = 0;
  std::vector<std::unique_ptr<Phone>> phones;
  QMetaObject::invokeMethod(
      &phonesHome,
      [&] {
        const QByteArray poll = "GET /api/results HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        for (int i = 0; i < kPhones; ++i) {
          phones.push_back(std::make_unique<Phone>(port, poll, kRoundsPerPhone, pollTimes, pollsDone));
          phones.back()->Go(i % 1000);  // the room arrives over a second
        }
        for (int i = 0; i < kSignins; ++i) {
          const QByteArray form = "c=" + QByteArray::fromStdString(signinCodes[static_cast<std::size_t>(i)]);
          const QByteArray post =
              "POST /api/signin HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: "
              "application/x-www-form-urlencoded\r\nContent-Length: " +
              QByteArray::number(form.size()) + "\r\n\r\n" + form;
          phones.push_back(std::make_unique<Phone>(port, post, 1, signinTimes, signinsDone));
          phones.back()->Go(1500);  // all at once, while the polling runs
        }
      },
      Qt::BlockingQueuedConnection);

  // The UI thread's lateness: a 16 ms timer like a display refresh, measured against its schedule.
  std::vector<double> lateness;
  QElapsedTimer frameClock;
  frameClock.start();
  qint64 lastFrame = 0;
  QTimer frame;
  frame.setTimerType(Qt::PreciseTimer);
  frame.setInterval(16);
  QObject::connect(&frame, &QTimer::timeout, [&] {
    const qint64 now = frameClock.nsecsElapsed();
    if (lastFrame) lateness.push_back(std::max(0.0, static_cast<double>(now - lastFrame) / 1e6 - 16.0));
    lastFrame = now;
  });
  frame.start();
  // A stop in the middle of it all.
  QTimer::singleShot(2500, [&] { server.Publish(Snapshot(2, 20, codes)); });

  QElapsedTimer total;
  total.start();
  QTimer watch;
  watch.setInterval(50);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if ((pollsDone >= kPhones && signinsDone >= kSignins) || total.elapsed() > kDeadlineMs) app.quit();
  });
  watch.start();
  app.exec();
  const long rssPeak = RssKb();

  QMetaObject::invokeMethod(
      &phonesHome, [&] { phones.clear(); }, Qt::BlockingQueuedConnection);
  phonesThread.quit();
  phonesThread.wait();
  server.Stop();

  std::printf("phones %d x %d polls: %zu answered, p50 %.1f ms, p95 %.1f ms, p99 %.1f ms, max %.1f ms\n", kPhones,
              kRoundsPerPhone, pollTimes.size(), Percentile(pollTimes, 0.5), Percentile(pollTimes, 0.95),
              Percentile(pollTimes, 0.99), Percentile(pollTimes, 1.0));
  std::printf(
      "sign-ins %d at once: %zu answered (%zu saved here), p50 %.1f ms, p95 %.1f ms, p99 %.1f ms, max %.1f ms\n",
      kSignins, signinTimes.size(), desk.Count(), Percentile(signinTimes, 0.5), Percentile(signinTimes, 0.95),
      Percentile(signinTimes, 0.99), Percentile(signinTimes, 1.0));
  std::printf("refused (503): %d, lost: %d\n", refused.load(), lost.load());
  std::printf("last sign-in save (atomic, flushed): %lld ms\n", static_cast<long long>(desk.LastSaveMs()));
  std::printf("UI thread 16 ms timer lateness: p95 %.1f ms, max %.1f ms\n", Percentile(lateness, 0.95),
              Percentile(lateness, 1.0));
  std::printf("memory: %ld kB before, %ld kB at the end of the load\n", rssBefore, rssPeak);
  std::printf("wall time %.1f s\n", static_cast<double>(total.elapsed()) / 1000.0);
  const bool complete = static_cast<int>(pollTimes.size()) == kPhones * kRoundsPerPhone &&
                        static_cast<int>(signinTimes.size()) == kSignins;
  return complete ? 0 : 2;
}
