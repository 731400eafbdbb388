#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>

#include "platform/shell_open.h"
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

}  // namespace
}  // namespace kavrel
