#include <gtest/gtest.h>

#include <algorithm>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include "platform/chinese_ui.h"

namespace kavrel {
namespace {

bool IsCjkFamily(const QString& family) {
  return family.startsWith(QStringLiteral("Noto Sans CJK")) || family.startsWith(QStringLiteral("Noto Serif CJK")) ||
         family.startsWith(QStringLiteral("WenQuanYi"));
}

bool Installed(const QString& prefix) {
  const QStringList families = QFontDatabase::families();
  return std::any_of(families.begin(), families.end(), [&](const QString& f) { return f.startsWith(prefix); });
}

TEST(ChineseUi, WindowsFontNamesResolveToInstalledCjkFonts) {
  if (!Installed(QStringLiteral("Noto Sans CJK")) && !Installed(QStringLiteral("WenQuanYi")))
    GTEST_SKIP() << "no Chinese font installed (fonts-noto-cjk or fonts-wqy-microhei)";
  RegisterChineseFontSubstitutes();
  for (const char* name : {"微软雅黑", "宋体", "黑体", "Microsoft YaHei", "SimSun"}) {
    const QFontInfo info(QFont(QString::fromUtf8(name), 24));
    EXPECT_TRUE(IsCjkFamily(info.family())) << name << " -> " << info.family().toStdString();
  }
}

// The titles are bold: Noto has a real bold face, so the bold request is met by a bold font.
TEST(ChineseUi, BoldTitlesGetARealBoldFace) {
  if (!Installed(QStringLiteral("Noto Sans CJK"))) GTEST_SKIP() << "Noto Sans CJK (fonts-noto-cjk) is not installed";
  RegisterChineseFontSubstitutes();
  QFont title(QStringLiteral("微软雅黑"), 48);
  title.setBold(true);
  const QFontInfo bold(title);
  EXPECT_TRUE(bold.family().startsWith(QStringLiteral("Noto Sans CJK"))) << bold.family().toStdString();
  EXPECT_TRUE(bold.bold());
}

// Serif stays serif where a serif CJK face exists.
TEST(ChineseUi, SongTiStaysSerif) {
  if (!Installed(QStringLiteral("Noto Serif CJK SC")))
    GTEST_SKIP() << "Noto Serif CJK SC (fonts-noto-cjk) is not installed";
  RegisterChineseFontSubstitutes();
  EXPECT_EQ(QFontInfo(QFont(QStringLiteral("宋体"), 24)).family(), QStringLiteral("Noto Serif CJK SC"));
}

}  // namespace
}  // namespace kavrel
