#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QStringList>

#include "platform/chinese_ui.h"

namespace kavrel {
namespace {

bool IsCjkFamily(const QString& family) {
  return family.startsWith(QStringLiteral("Noto Sans CJK")) || family.startsWith(QStringLiteral("Noto Serif CJK")) ||
         family.startsWith(QStringLiteral("WenQuanYi"));
}

TEST(ChineseUi, WindowsFontNamesResolveToInstalledCjkFonts) {
  RegisterChineseFontSubstitutes();
  for (const char* name : {"微软雅黑", "宋体", "黑体", "Microsoft YaHei", "SimSun"}) {
    const QFontInfo info(QFont(QString::fromUtf8(name), 24));
    EXPECT_TRUE(IsCjkFamily(info.family())) << name << " -> " << info.family().toStdString();
  }
  // The titles are bold: Noto has a real bold face, so the bold request is met by a bold font.
  QFont title(QStringLiteral("微软雅黑"), 48);
  title.setBold(true);
  const QFontInfo bold(title);
  if (bold.family().startsWith(QStringLiteral("Noto"))) {
    EXPECT_TRUE(bold.bold());
  }
  // Serif stays serif where a serif CJK face exists.
  const QFontInfo song(QFont(QStringLiteral("宋体"), 24));
  if (QFont::substitutes(QStringLiteral("宋体")).startsWith(QStringLiteral("Noto Serif CJK SC"))) {
    EXPECT_EQ(song.family(), QStringLiteral("Noto Serif CJK SC"));
  }
}

}  // namespace
}  // namespace kavrel
