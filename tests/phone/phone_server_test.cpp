#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

#include "http_probe.h"
#include "phone/phone_server.h"
#include "phone/signin_desk.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/signin_codes.h"
#include "support/fakes/fake_clock.h"

namespace kavrel {
namespace {

using test::Exchange;
using test::Get;
using test::PollUntil;

class PhoneServerTest : public ::testing::Test {
 protected:
  PhoneServerTest() : dir_(std::filesystem::path(temp_.path().toStdString())), desk_(dir_, clock_, 20) {
    dir_.EnsureConfigDir();
    desk_.Load();
  }

  void Start(PhoneServerLimits limits = {}) {
    server_ = std::make_unique<PhoneServer>(desk_, limits);
    Publish({});
    ASSERT_EQ(server_->Start(QHostAddress::LocalHost, 0), QString());
    port_ = server_->Port();
  }

  void Publish(std::vector<PhoneAward> awards) {
    PhoneSnapshotInputs in;
    in.entries = {Gb("E001  张小三  13812345678"), Gb("E002  李四  ")};
    // The draw took only those signed in: its sealed list lacks E003, who may still sign in.
    in.signinEntries = in.entries;
    in.signinEntries.push_back(Gb("E003  王五  "));
    in.sealed = true;
    in.sealLine = R"({"kind":"seal"})";
    in.awards = std::move(awards);
    in.options.matchField = 1;
    in.options.maskNames = true;
    in.options.typedSignin = typed_;
    in.codes = codes_;
    in.stageMask = StageMask{true, 1, 4};
    server_->Publish(BuildPhoneSnapshot(in, ++revision_));
  }

  QTemporaryDir temp_;
  ProgramDir dir_;
  FakeClock clock_;
  SigninDesk desk_;
  std::unique_ptr<PhoneServer> server_;
  quint16 port_ = 0;
  int revision_ = 0;
  bool typed_ = true;
  SigninCodes codes_ =
      SigninCodes::Parse(Gb("ABCDEFG2\tE001  张小三  13812345678\r\nABCDEFG3\tE002  李四  \r\n"
                            "ABCDEFG4\tE003  王五  \r\n"));
};

TEST_F(PhoneServerTest, ServesOnlyItsOwnPagesAndAnswers) {
  Start();
  const auto page = Exchange(port_, Get("/"));
  EXPECT_EQ(page.status, 200);
  EXPECT_TRUE(page.body.contains("签到"));
  EXPECT_TRUE(page.head.contains("Content-Security-Policy"));
  for (const char* path : {"/../config/config.ini", "/%2e%2e/config/signin.dat", "/phone/signin.html",
                           "/:/phone/signin.html", "/config/signin.dat"}) {
    EXPECT_EQ(Exchange(port_, Get(path)).status, 404) << path;
  }
  EXPECT_EQ(Exchange(port_, "DELETE /api/results HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n").status, 405);
  // Garbage is refused (an error answer, or closing), not answered with a crash.
  const auto garbage = Exchange(port_, "\x01\x02 not http at all\r\n\r\n");
  EXPECT_TRUE(garbage.closed || garbage.status >= 400) << garbage.status;
  EXPECT_EQ(Exchange(port_, Get("/")).status, 200);  // and the server is still there
}

TEST_F(PhoneServerTest, SigninIsAnsweredOnceSavedAndOnlyOnce) {
  Start();
  const auto signin = Exchange(port_, test::PostSignin("q=e001"));
  ASSERT_EQ(signin.status, 200);
  const auto answer = QJsonDocument::fromJson(signin.body).object();
  EXPECT_TRUE(answer[QStringLiteral("ok")].toBool());
  // The page repeats who signed in, masked like the results.
  EXPECT_TRUE(answer[QStringLiteral("text")].toString().contains(QStringLiteral("张*三")));
  EXPECT_TRUE(desk_.Contains(Gb("E001  张小三  13812345678")));
  EXPECT_EQ(LoadSignins(dir_)->records.size(), 1u);

  const auto again = QJsonDocument::fromJson(Exchange(port_, test::PostSignin("q=E001")).body).object();
  EXPECT_FALSE(again[QStringLiteral("ok")].toBool());
  EXPECT_EQ(desk_.Refused(), 1);
  const auto unknown = QJsonDocument::fromJson(Exchange(port_, test::PostSignin("q=E404")).body).object();
  EXPECT_FALSE(unknown[QStringLiteral("ok")].toBool());
  EXPECT_EQ(desk_.Count(), 1u);

  // Someone left out of a sealed draw of those present signs in for the next one.
  const auto late = QJsonDocument::fromJson(Exchange(port_, test::PostSignin("q=E003")).body).object();
  EXPECT_TRUE(late[QStringLiteral("ok")].toBool());
  EXPECT_TRUE(desk_.Contains(Gb("E003  王五  ")));
}

TEST_F(PhoneServerTest, RefusesFloodsOversizedRequestsAndTooManyConnections) {
  PhoneServerLimits limits;
  limits.signinBurst = 2;
  limits.signinRefillMs = 60000;
  limits.connections.maxConnections = 3;
  limits.connections.maxUnanswered = 4096;
  Start(limits);
  Exchange(port_, test::PostSignin("q=E404"));
  Exchange(port_, test::PostSignin("q=E404"));
  EXPECT_EQ(Exchange(port_, test::PostSignin("q=E002")).status, 429);
  EXPECT_FALSE(desk_.Contains(Gb("E002  李四  ")));

  // A header far past any request's size: refused, or the connection cut.
  const QByteArray huge = "GET / HTTP/1.1\r\nHost: x\r\nX-Fill: " + QByteArray(64 * 1024, 'a') + "\r\n\r\n";
  const auto refusedHuge = Exchange(port_, huge);
  EXPECT_TRUE(refusedHuge.closed || refusedHuge.status >= 400) << refusedHuge.status;

  // Idle connections held past the cap keep no request out: the least recently used makes room.
  std::vector<std::unique_ptr<QTcpSocket>> held;
  for (int i = 0; i < 5; ++i) {
    held.push_back(std::make_unique<QTcpSocket>());
    held.back()->connectToHost(QStringLiteral("127.0.0.1"), port_);
    ASSERT_TRUE(PollUntil([&] { return held.back()->state() == QAbstractSocket::ConnectedState; }));
  }
  EXPECT_EQ(Exchange(port_, Get("/")).status, 200);
  auto connected = [&] {
    return std::count_if(held.begin(), held.end(), [](const auto& h) {
      h->waitForReadyRead(1);
      return h->state() == QAbstractSocket::ConnectedState;
    });
  };
  EXPECT_TRUE(PollUntil([&] { return connected() <= 2; })) << connected();
  held.clear();
  // Places in use (result streams) are not taken: past them a phone is told to come back.
  for (int i = 0; i < 3; ++i) {
    held.push_back(std::make_unique<QTcpSocket>());
    QTcpSocket& s = *held.back();
    s.connectToHost(QStringLiteral("127.0.0.1"), port_);
    ASSERT_TRUE(PollUntil([&] { return s.state() == QAbstractSocket::ConnectedState; }));
    s.write(Get("/api/events"));
    QByteArray got;
    ASSERT_TRUE(PollUntil([&] {
      s.waitForReadyRead(5);
      got += s.readAll();
      return got.contains("text/event-stream");
    })) << got.constData();
  }
  EXPECT_TRUE(PollUntil(
      [&] {
        const auto refused = Exchange(port_, Get("/"), 1000);
        return refused.status == 503 && refused.head.contains("Retry-After");
      },
      20000));
  held.clear();
  EXPECT_TRUE(PollUntil([&] { return Exchange(port_, Get("/")).status == 200; }));
}

// The cuts the server makes itself, at short limits: a connection that never asks and a request
// trickled in slower than allowed are closed; a result stream, quiet but for the heartbeat, is not.
TEST_F(PhoneServerTest, IdleConnectionsAndSlowRequestsAreCutButStreamsStay) {
  PhoneServerLimits limits;
  limits.connections.idleMs = 400;
  limits.connections.requestMs = 400;
  Start(limits);
  QTcpSocket idle, slow, stream;
  for (QTcpSocket* s : {&idle, &slow, &stream}) {
    s->connectToHost(QStringLiteral("127.0.0.1"), port_);
    ASSERT_TRUE(PollUntil([&] { return s->state() == QAbstractSocket::ConnectedState; }));
  }
  stream.write(Get("/api/events"));
  slow.write("GET / HTTP/1.1\r\nHost: x\r\n");
  QElapsedTimer trickle;
  trickle.start();
  QByteArray got;
  auto gone = [](QTcpSocket& s) {
    s.waitForReadyRead(1);
    return s.state() == QAbstractSocket::UnconnectedState;
  };
  EXPECT_TRUE(PollUntil([&] {
    // A byte every 50 ms keeps the connection busy, never the request whole.
    if (slow.state() == QAbstractSocket::ConnectedState && trickle.elapsed() > 50) {
      slow.write("X");
      trickle.restart();
    }
    stream.waitForReadyRead(1);
    got += stream.readAll();
    return gone(idle) && gone(slow) && got.count(":\n\n") >= 3;
  })) << got.constData();
  EXPECT_EQ(stream.state(), QAbstractSocket::ConnectedState);
  EXPECT_TRUE(got.contains("retry: 1000"));
}

TEST_F(PhoneServerTest, StreamsEachPublishedStopAndStoppingClosesEverything) {
  Start();
  QTcpSocket stream;
  stream.connectToHost(QStringLiteral("127.0.0.1"), port_);
  ASSERT_TRUE(PollUntil([&] { return stream.state() == QAbstractSocket::ConnectedState; }));
  stream.write(Get("/api/events"));
  QByteArray got;
  auto read = [&](const QByteArray& wanted) {
    return PollUntil([&] {
      stream.waitForReadyRead(5);
      got += stream.readAll();
      return got.contains(wanted);
    });
  };
  ASSERT_TRUE(read("text/event-stream"));
  Publish({PhoneAward{Gb("一等奖"), Gb("电脑"), {Gb("E001  张小三  13812345678")}}});
  ASSERT_TRUE(read("一等奖"));
  // Stage mask (bytes 1-4), then the name mask; the phone number keeps its unmasked tail.
  EXPECT_TRUE(got.contains("****  张*三  138****5678")) << got.constData();
  EXPECT_FALSE(got.contains("张小三"));

  server_->Stop();
  EXPECT_TRUE(PollUntil([&] {
    stream.waitForReadyRead(5);
    return stream.state() == QAbstractSocket::UnconnectedState;
  }));
  EXPECT_EQ(Exchange(port_, Get("/"), 500).status, 0);
}

// A sign-in waits for its save without a thread or a timer of its own; stopping the server then must
// still let go of it, at once.
TEST_F(PhoneServerTest, StoppingLetsGoOfASigninStillBeingSaved) {
  SigninDesk slow(dir_, clock_, 60000);
  ASSERT_TRUE(slow.Load());
  server_ = std::make_unique<PhoneServer>(slow);
  Publish({});
  ASSERT_EQ(server_->Start(QHostAddress::LocalHost, 0), QString());
  // Saved at once; the next save is a minute away.
  ASSERT_EQ(Exchange(server_->Port(), test::PostSignin("q=E001")).status, 200);
  QTcpSocket waiting;
  waiting.connectToHost(QStringLiteral("127.0.0.1"), server_->Port());
  ASSERT_TRUE(PollUntil([&] { return waiting.state() == QAbstractSocket::ConnectedState; }));
  waiting.write(test::PostSignin("q=E002"));
  ASSERT_TRUE(PollUntil([&] { return slow.Count() == 2u; }));
  server_->Stop();
  QByteArray got;
  EXPECT_TRUE(PollUntil([&] {
    waiting.waitForReadyRead(5);
    got += waiting.readAll();
    return waiting.state() == QAbstractSocket::UnconnectedState;
  }));
  EXPECT_FALSE(got.contains("\"ok\":true")) << got.constData();  // not saved yet: never told it was
  server_.reset();
}

TEST_F(PhoneServerTest, OnlyTheOwnCodeSignsInAndLooksUpAndAnswersShowTheMaskedEntry) {
  typed_ = false;
  Start();
  auto text = [](const test::HttpReply& r) {
    return QJsonDocument::fromJson(r.body).object()[QStringLiteral("text")].toString();
  };
  // A colleague's employee number signs nobody in, and the answer names nobody.
  const auto typed = Exchange(port_, test::PostSignin("q=E001"));
  EXPECT_TRUE(text(typed).contains(QStringLiteral("签到码"))) << text(typed).toStdString();
  EXPECT_FALSE(typed.body.contains("E001"));
  EXPECT_EQ(desk_.Count(), 0u);
  // The personal link's code (in either case) signs in exactly its person.
  const auto own = Exchange(port_, test::PostSignin("c=abcdefg4"));
  EXPECT_TRUE(QJsonDocument::fromJson(own.body).object()[QStringLiteral("ok")].toBool()) << own.body.constData();
  EXPECT_TRUE(desk_.Contains(Gb("E003  王五  ")));
  EXPECT_EQ(desk_.Count(), 1u);
  EXPECT_EQ(LoadSignins(dir_)->records.front().address, "127.0.0.1");
  // A code typed into the field works like the link; a made-up one is nobody's.
  EXPECT_TRUE(text(Exchange(port_, test::PostSignin("q=ABCDEFG3"))).contains(QStringLiteral("签到成功")));
  EXPECT_TRUE(text(Exchange(port_, test::PostSignin("c=ZZZZZZZZ"))).contains(QStringLiteral("没有找到")));
  EXPECT_EQ(desk_.Count(), 2u);

  // A lookup by number needs the code; with it, the entry masked whatever the results page does.
  EXPECT_TRUE(text(Exchange(port_, Get("/api/lookup?q=E001"))).contains(QStringLiteral("签到码")));
  const auto lookup = Exchange(port_, Get("/api/lookup?c=ABCDEFG2"));
  EXPECT_TRUE(text(lookup).contains(QStringLiteral("张*三"))) << text(lookup).toStdString();
  EXPECT_FALSE(lookup.body.contains("13812345678"));
  EXPECT_FALSE(Exchange(port_, Get("/api/proof?q=E001")).body.contains("13812345678"));
  const auto proof = Exchange(port_, Get("/api/proof?c=ABCDEFG2"));
  ASSERT_EQ(proof.status, 200);
  EXPECT_FALSE(proof.body.contains("13812345678"));
  EXPECT_FALSE(proof.body.contains("张小三"));

  // The operator takes a sign-in back.
  EXPECT_TRUE(desk_.Undo(Gb("E003  王五  ")));
  EXPECT_FALSE(desk_.Contains(Gb("E003  王五  ")));
  EXPECT_EQ(LoadSignins(dir_)->records.size(), 1u);
}

TEST_F(PhoneServerTest, OneAddressCannotHoldEveryPlaceAndConnectionCloseIsHonoured) {
  PhoneServerLimits limits;
  limits.connections.maxConnections = 6;
  Start(limits);
  // Another loopback address fills the server with idle connections.
  std::vector<std::unique_ptr<QTcpSocket>> held;
  auto from = [&](const char* address) {
    held.push_back(std::make_unique<QTcpSocket>());
    held.back()->bind(QHostAddress(QString::fromLatin1(address)));
    held.back()->connectToHost(QStringLiteral("127.0.0.1"), port_);
    return PollUntil([&] { return held.back()->state() == QAbstractSocket::ConnectedState; });
  };
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(from("127.0.0.2"));
  // Its next connection takes the place of its own oldest idle one, not anybody else's; and a phone
  // from another address still gets in, every time.
  ASSERT_TRUE(from("127.0.0.2"));
  EXPECT_TRUE(PollUntil([&] {
    return std::any_of(held.begin(), held.end() - 1, [](const auto& h) {
      h->waitForReadyRead(1);
      return h->state() == QAbstractSocket::UnconnectedState;
    });
  }));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Exchange(port_, Get("/")).status, 200) << i;

  // Connection: close and HTTP/1.0 end the connection once answered, long before the idle cut.
  for (const QByteArray& request : {Get("/api/results"), QByteArray("GET /api/results HTTP/1.0\r\n\r\n")}) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port_);
    ASSERT_TRUE(PollUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }));
    socket.write(request);
    QByteArray got;
    EXPECT_TRUE(PollUntil(
        [&] {
          socket.waitForReadyRead(5);
          got += socket.readAll();
          return socket.state() == QAbstractSocket::UnconnectedState;
        },
        3000))
        << request.constData();
    EXPECT_TRUE(got.startsWith("HTTP/1.") && got.contains(" 200 ")) << got.constData();
  }
}

}  // namespace
}  // namespace kavrel
