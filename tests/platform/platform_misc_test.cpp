#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include "platform/shell_open.h"
#include "platform/single_instance.h"
#include "platform/system_clock.h"
#include "storage/codec.h"

namespace kavrel {
namespace {

TEST(SystemClock, GivesTodaysDateAndATickThatDoesNotGoBack) {
  SystemClock clock;
  const std::uint32_t first = clock.MillisecondsSinceStart();
  const LocalDateTime now = clock.Now();
  const QDateTime reference = QDateTime::currentDateTime();
  const std::uint32_t second = clock.MillisecondsSinceStart();
  EXPECT_LT(second - first, 60000u);  // unsigned: a step back would wrap to a huge number
  const QDateTime seen(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second));
  EXPECT_LE(std::abs(seen.secsTo(reference)), 5);
}

TEST(OpenWithShell, AMissingFileIsNotOpened) {
  QTemporaryDir dir;
  EXPECT_FALSE(OpenWithShell(FromQt(dir.filePath(QStringLiteral("kavrel抽奖.chm")))));
}

TEST(SingleInstance, ASecondProgramIsRefusedButALockLeftByADeadOneIsTakenOver) {
  QTemporaryDir dir;
  const std::filesystem::path lock = std::filesystem::path(dir.filePath(QStringLiteral("kavrel.lock")).toStdString());
  {
    SingleInstance first(lock);
    ASSERT_TRUE(first.Acquire());
    SingleInstance second(lock);
    EXPECT_FALSE(second.Acquire());
  }
  SingleInstance afterClose(lock);
  EXPECT_TRUE(afterClose.Acquire());

  // A crash leaves the lock file behind, naming a process that no longer runs.
  QTemporaryDir crashed;
  const QString stale = crashed.filePath(QStringLiteral("kavrel.lock"));
  QFile file(stale);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("2147483000\nkavrel-draw\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  file.close();
  SingleInstance restarted(std::filesystem::path(stale.toStdString()));
  EXPECT_TRUE(restarted.Acquire());
}

}  // namespace
}  // namespace kavrel
