#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/qr_code.h"
#include "stage/command_actions.h"
#include "stage/notary_window.h"
#include "stage/stage_menus.h"
#include "storage/receipt_log.h"

namespace kavrel {
namespace {

// What zbarimg reads from a picture: the decoded text, or "" when it finds no code.
QString Decode(const QImage& image) {
  QTemporaryDir folder;
  const QString file = folder.filePath(QStringLiteral("code.png"));
  if (!image.save(file)) return {};
  QProcess zbar;
  zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), file});
  if (!zbar.waitForFinished(30000)) return {};
  return QString::fromLatin1(zbar.readAllStandardOutput()).trimmed();
}

TEST(NotaryWindow, ShowsTheShortSealLargeAndAQrCodeThatReadsAsTheSeal) {
  if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
    GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  const std::string seal = EventSeal(ListSha256({"001", "002"}), ListSha256({"plan"}));
  const std::string last = Sha256Hex("last line");
  NotaryWindow window({.seal = seal, .lastHash = last, .closed = false, .audienceNumber = "", .duplicates = ""});
  EXPECT_EQ(window.windowTitle(), QStringLiteral("公证信息"));
  EXPECT_EQ(window.sealLabel()->text(), QString::fromStdString(seal.substr(0, 16)));
  EXPECT_GE(window.sealLabel()->font().pixelSize(), 24);
  auto* details = window.findChild<QLabel*>(QStringLiteral("标签_公证说明"));
  ASSERT_NE(details, nullptr);
  // Long hashes are shown on two lines.
  const QString text = details->text().remove(QLatin1Char('\n'));
  EXPECT_TRUE(text.contains(QString::fromStdString(seal)));
  EXPECT_TRUE(text.contains(QString::fromStdString(last)));
  const QPixmap code = window.qrLabel()->pixmap();
  ASSERT_FALSE(code.isNull());
  EXPECT_EQ(Decode(code.toImage()), QString::fromStdString(seal));
}

TEST(NotaryWindow, QrCodesOfOtherTextsDecodeToThemAtSmallSizesToo) {
  if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
    GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  for (const std::string& text : {std::string("0123456789abcdef"), Sha256Hex("x") + Sha256Hex("y")}) {
    const auto qr = QrCode::Encode(text);
    ASSERT_TRUE(qr);
    EXPECT_EQ(Decode(qr->ToImage(3)), QString::fromStdString(text));
  }
  EXPECT_FALSE(QrCode::Encode(""));
}

TEST(NotaryWindow, IsAnItemOfTheFunctionsMenu) {
  QWidget stage;
  CommandActions actions;
  StageMenus menus(actions, &stage);
  QAction* item = menus.action(StageCommand::NotaryInfo);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), QStringLiteral("公证信息"));
  EXPECT_TRUE(item->isEnabled());
  EXPECT_TRUE(menus.menu(StageMenus::kFunctions)->actions().contains(item));
}

TEST(NotaryWindow, WithoutReceiptsItSaysSoInsteadOfShowingASeal) {
  NotaryWindow window(NotaryFacts{});
  EXPECT_EQ(window.sealLabel()->text(), QStringLiteral("——"));
  EXPECT_TRUE(window.qrLabel()->isHidden());
  auto* details = window.findChild<QLabel*>(QStringLiteral("标签_公证说明"));
  ASSERT_NE(details, nullptr);
  EXPECT_TRUE(details->text().contains(QStringLiteral("没有公证记录")));
}

}  // namespace
}  // namespace kavrel
