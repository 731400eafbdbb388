#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>

#include "platform/gb_text.h"
#include "platform/shell_open.h"
#include "platform/system_clock.h"

namespace kavrel {
namespace {

using platform_detail::GbFromQt;
using platform_detail::NativePath;
using platform_detail::QtFromGb;

TEST(GbText, RoundTripsAndTurnsStoredBackslashesIntoNativeSeparators) {
  const QString name = QStringLiteral("奬品 𠀀");  // 奬 ends in byte 0x5C in GB18030
  const std::string gb = GbFromQt(name);
  EXPECT_EQ(static_cast<unsigned char>(gb[1]), 0x5C);
  EXPECT_EQ(QtFromGb(gb), name);
  EXPECT_EQ(NativePath(GbFromQt(QStringLiteral("/prog")) + "\\wav\\" + gb + ".mp3"),
            QStringLiteral("/prog/wav/奬品 𠀀.mp3"));
}

TEST(SystemClock, GivesTodaysDateAndATickThatDoesNotGoBack) {
  SystemClock clock;
  const std::uint32_t first = clock.MillisecondsSinceStart();
  const LocalDateTime now = clock.Now();
  const QDateTime reference = QDateTime::currentDateTime();
  const std::uint32_t second = clock.MillisecondsSinceStart();
  EXPECT_GE(second - first, 0u);
  EXPECT_LT(second - first, 60000u);
  const QDateTime seen(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second));
  EXPECT_LE(std::abs(seen.secsTo(reference)), 5);
}

TEST(OpenWithShell, AMissingFileIsNotOpened) {
  QTemporaryDir dir;
  EXPECT_FALSE(OpenWithShell(GbFromQt(dir.filePath(QStringLiteral("kavrel抽奖.chm")))));
}

}  // namespace
}  // namespace kavrel
