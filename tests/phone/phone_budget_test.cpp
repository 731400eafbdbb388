// The program at a desktop's usual descriptor limit (1,024) with a hall of phones past it: the
// server keeps to its budget, the phones past it get 503, and the draw can still open and write its
// files. The phones are a child process (its own descriptors), holding their connections open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "http_probe.h"
#include "phone/phone_server.h"
#include "phone/signin_desk.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "support/fakes/fake_clock.h"

namespace kavrel {
namespace {

// In the child: `count` connections to 127.0.0.1:`port`, each asking for the results, held until
// the parent writes to `release`; `ready` is written once all are made. Only system calls after fork().
[[noreturn]] void HoldConnections(quint16 port, int count, int ready, int release) {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(0x7f000001U);  // 127.0.0.1
  const char request[] = "GET /api/results HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  timeval wait{2, 0};
  for (int i = 0; i < count; ++i) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) break;
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
      (void)!write(s, request, sizeof request - 1);
    }
  }
  (void)!write(ready, "r", 1);
  char done = 0;
  (void)!read(release, &done, 1);
  _exit(0);
}

TEST(PhoneBudgetTest, AHallPastTheDescriptorLimitLeavesTheDrawItsFiles) {
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
  if (before.rlim_max < 1024) GTEST_SKIP() << "the hard descriptor limit is below 1024";
  rlimit lowered = before;
  lowered.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);

  QTemporaryDir temp;
  ProgramDir dir(std::filesystem::path(temp.path().toStdString()));
  dir.EnsureConfigDir();
  FakeClock clock;
  SigninDesk desk(dir, clock, 20);
  desk.Load();
  const PhoneServerLimits limits = BudgetedLimits(1024);
  EXPECT_LE(limits.connections.maxConnections, 1024 - 256);
  EXPECT_EQ(BudgetedLimits(0).connections.maxConnections, 2500);  // no limit to keep to: the server's own cap
  {
    PhoneServer server(desk, limits);
    server.Publish(BuildPhoneSnapshot(PhoneSnapshotInputs{}, 1));
    ASSERT_EQ(server.Start(QHostAddress::LocalHost, 0), QString());

    int pipeFds[2];
    int readyFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    ASSERT_EQ(pipe(readyFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) HoldConnections(server.Port(), 1100, readyFds[1], pipeFds[0]);
    close(pipeFds[0]);
    close(readyFds[1]);
    ASSERT_TRUE(test::PollUntil(
        [&] {
          pollfd ready{readyFds[0], POLLIN, 0};
          return ::poll(&ready, 1, 0) == 1;
        },
        60000));
    close(readyFds[0]);

    // The hall takes every place the budget gives it (the server accepts on its own thread, at its
    // own pace); a phone past it is still answered.
    auto openNow = [] {
      return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
    };
    EXPECT_TRUE(test::PollUntil([&] { return openNow() >= limits.connections.maxConnections / 2; }, 30000))
        << openNow();
    const int status = test::Exchange(server.Port(), test::Get("/"), 5000).status;
    EXPECT_TRUE(status == 200 || status == 503) << status;
    // The server stays within its budget, well below the limit.
    const auto held = openNow();
    EXPECT_GE(held, limits.connections.maxConnections / 2);
    EXPECT_LE(held, 1024 - 128);
    // The draw records a batch and opens its files while the hall holds every place it may.
    const LocalDateTime when{2026, 12, 10, 20, 0, 0};
    EXPECT_TRUE(RecordBatch(dir, Gb("一等奖"), Gb("电脑"), {Gb("0001  张三  ")}, false, when));
    EXPECT_EQ(LoadResultLog(dir).size(), 1u);
    std::vector<int> opened;
    for (int i = 0; i < 64; ++i) opened.push_back(open("/dev/null", O_RDONLY));
    EXPECT_TRUE(std::none_of(opened.begin(), opened.end(), [](int fd) { return fd < 0; }));
    for (int fd : opened) {
      if (fd >= 0) close(fd);
    }

    (void)!write(pipeFds[1], "x", 1);
    close(pipeFds[1]);
    int exited = 0;
    waitpid(child, &exited, 0);
    // The hall gone, phones get in again.
    EXPECT_TRUE(
        test::PollUntil([&] { return test::Exchange(server.Port(), test::Get("/"), 2000).status == 200; }, 30000));
  }
  setrlimit(RLIMIT_NOFILE, &before);
}

}  // namespace
}  // namespace kavrel
