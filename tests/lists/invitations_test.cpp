#include "lists/invitations.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "storage/codec.h"

namespace kavrel {
namespace {

// Nine people, eight cards a page: two A4 pages of a PDF, with the QR codes drawn as vectors (no
// picture scaled for one printer).
TEST(Invitations, EightCardsAnA4PageAsAPdf) {
  QTemporaryDir temp;
  const QString path = temp.filePath(QStringLiteral("签到邀请函.pdf"));
  std::vector<Invitation> people;
  for (int i = 1; i <= 9; ++i) {
    const QString code = QStringLiteral("ABCDEFG%1").arg(i + 1).left(8);
    people.push_back(
        {Gb("000") + std::to_string(i) + Gb("  张三  "), QStringLiteral("http://192.168.1.5:8080/?c=") + code, code});
  }
  ASSERT_TRUE(WriteInvitationsPdf(path, QStringLiteral("年会"), people));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_TRUE(pdf.contains("/Count 2")) << pdf.size();
  // A4 in points.
  EXPECT_TRUE(pdf.contains("595") && pdf.contains("842"));
  EXPECT_FALSE(WriteInvitationsPdf(temp.filePath(QStringLiteral("no/such/folder/x.pdf")), {}, people));
}

}  // namespace
}  // namespace kavrel
