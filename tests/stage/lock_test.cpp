#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "stage/lock_password.h"
#include "stage/lock_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/scripted_prompter.h"
#include "support/widget_lookup.h"

namespace kavrel {
namespace {

void ReleaseOn(QWidget* w) {
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

class LockTest : public ::testing::Test {
 protected:
  LockTest() { dir.EnsureConfigDir(); }

  std::string Ini() const { return ReadTextFile(dir.Path(ProgramDir::kConfigIni)); }
  void Store(const char* password) { settings.WriteText("lock_screen", "password", Gb(password)); }

  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  ScriptedPrompter prompter;
};

TEST_F(LockTest, UnlockComparesTheStoredPasswordByteForByte) {
  LockPassword password(settings, prompter);
  // Nothing stored: the empty password opens, anything else does not.
  EXPECT_TRUE(password.Matches(""));
  EXPECT_FALSE(password.Matches(" "));

  Store("年会2024");
  EXPECT_TRUE(password.Matches(Gb("年会2024")));
  EXPECT_FALSE(password.Matches(Gb("年会2024 ")));
  EXPECT_FALSE(password.Matches(""));
  password.ReportWrongPassword();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, Gb("密码输入不正确！"));
  EXPECT_EQ(prompter.shown()[0].caption, Gb("错误提示："));
  EXPECT_EQ(prompter.shown()[0].icon, Icon::Warning);
}

TEST_F(LockTest, ChangingThePasswordChecksTheOldOneAndTheConfirmation) {
  Store("old");
  LockPassword password(settings, prompter);
  const std::string before = Ini();

  EXPECT_FALSE(password.ChangeLockPassword("wrong", "new", "new"));
  EXPECT_FALSE(password.ChangeLockPassword("old", "new", "new "));
  EXPECT_EQ(Ini(), before);  // nothing written
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].text, Gb("原密码输入不正确！"));
  EXPECT_EQ(prompter.shown()[1].text, Gb("两次密码输入不一致！"));
  for (const auto& box : prompter.shown()) {
    EXPECT_EQ(box.caption, Gb("错误提示："));
    EXPECT_EQ(box.icon, Icon::Warning);
  }

  EXPECT_TRUE(password.ChangeLockPassword("old", Gb("新密码"), Gb("新密码")));
  EXPECT_EQ(password.Stored(), Gb("新密码"));
  EXPECT_NE(Ini().find(Gb("password=新密码\r\n")), std::string::npos);

  // Blanks at the ends survive the settings file, so the password typed is the password that opens.
  EXPECT_TRUE(password.ChangeLockPassword(Gb("新密码"), " pw ", " pw "));
  EXPECT_TRUE(password.Matches(" pw "));
  EXPECT_FALSE(password.Matches("pw"));
  EXPECT_TRUE(password.ChangeLockPassword(" pw ", "\"q\"", "\"q\""));
  EXPECT_TRUE(password.Matches("\"q\""));

  // An empty new password is accepted: the lock opens with an empty password again.
  EXPECT_TRUE(password.ChangeLockPassword("\"q\"", "", ""));
  EXPECT_TRUE(password.Matches(""));
  EXPECT_EQ(prompter.shown().size(), 2u);
}

TEST_F(LockTest, APasswordThatCannotBeStoredIsReportedNotTakenAsChanged) {
  ASSERT_TRUE(QDir(temp.path()).mkpath(QStringLiteral("config/config.ini")));
  LockPassword password(settings, prompter);
  EXPECT_FALSE(password.ChangeLockPassword("", "new", "new"));
  ASSERT_EQ(prompter.MessageTexts().size(), 1u);
  EXPECT_NE(ToQt(prompter.MessageTexts()[0]).indexOf("未能保存"), -1);
  EXPECT_TRUE(password.Matches(""));
}

TEST_F(LockTest, LockWindowShowsTheRowOnAKeyAndUnlocksOnEnterWithNothingStored) {
  LockWindow window(settings, prompter, QRect(0, 0, 1024, 768));
  window.show();
  EXPECT_EQ(window.geometry(), QRect(0, 0, 1024, 768));
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window.RowShown());
  // The audience sees the lock picture alone: no text at all until the operator wakes the row.
  auto* message = Find<QLabel>(&window, "透明标签1");
  EXPECT_TRUE(message->isHidden());
  EXPECT_EQ(message->text(), "请输入解锁口令，按回车键解锁");
  // The row sits on one line centred on the screen; the message 100 pixels above it.
  auto* label = Find<QLabel>(&window, "透明标签_口令");
  auto* box = Find<QLineEdit>(&window, "编辑框_口令");
  auto* hide = Find<QLabel>(&window, "透明标签_隐藏");
  EXPECT_EQ(box->echoMode(), QLineEdit::Password);
  EXPECT_EQ(label->x(), 1024 - (hide->x() + hide->width()));
  EXPECT_EQ(box->y(), (768 - box->height()) / 2);
  EXPECT_EQ(message->y() + message->height() + 100, label->y());
  EXPECT_EQ(message->x(), (1024 - message->width()) / 2);

  QTest::keyClick(&window, Qt::Key_A);
  EXPECT_TRUE(window.RowShown());
  EXPECT_FALSE(message->isHidden());
  EXPECT_TRUE(box->text().isEmpty());  // the key that shows the row is not typed into the box
  ReleaseOn(hide);
  EXPECT_FALSE(window.RowShown());
  QTest::keyClick(&window, Qt::Key_Space);
  EXPECT_TRUE(window.RowShown());
  ReleaseOn(hide);

  // Escape and the close command do not unlock.
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.Unlocked());

  // Row hidden, nothing typed: Enter unlocks at once.
  ReleaseOn(hide);
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_TRUE(window.Unlocked());
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(LockTest, AWrongPasswordKeepsTheTextAndTheLock) {
  Store("abc");
  LockWindow window(settings, prompter, QRect(0, 0, 800, 600));
  window.show();
  EXPECT_FALSE(Find<QLabel>(&window, "透明标签1")->text().contains("默认密码"));
  QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_TRUE(window.RowShown());
  auto* box = Find<QLineEdit>(&window, "编辑框_口令");
  box->setText("abc ");
  ReleaseOn(Find<QLabel>(&window, "透明标签_解锁"));
  EXPECT_FALSE(window.Unlocked());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(box->text(), "abc ");
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{Gb("密码输入不正确！")});
  // Back on top once the message is gone.
  EXPECT_TRUE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);

  box->setText("abc");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(window.Unlocked());
  EXPECT_EQ(prompter.MessageTexts().size(), 1u);
}

TEST_F(LockTest, ChangePasswordOpensItsWindowFromTheLock) {
  LockWindow window(settings, prompter, QRect(0, 0, 800, 600));
  window.show();
  auto* message = Find<QLabel>(&window, "透明标签1");
  QTest::keyClick(&window, Qt::Key_A);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* change = qobject_cast<LockPasswordWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(change, nullptr);
    seen = true;
    EXPECT_EQ(change->windowTitle(), "修改锁屏密码");
    EXPECT_EQ(change->size(), QSize(380, 250));
    // The lock is not on top while its password window is open.
    EXPECT_FALSE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    auto* oldBox = Find<QLineEdit>(change, "编辑框_原密码");
    auto* newBox = Find<QLineEdit>(change, "编辑框_新密码");
    auto* again = Find<QLineEdit>(change, "编辑框_新密码1");
    EXPECT_EQ(again->echoMode(), QLineEdit::Password);
    newBox->setText("x1");
    again->setText("x1");
    // Enter in the old-password box does nothing; Enter in the confirmation box confirms.
    QTest::keyClick(oldBox, Qt::Key_Return);
    EXPECT_TRUE(change->isVisible());
    QTest::keyClick(again, Qt::Key_Return);
    EXPECT_FALSE(change->isVisible());
  });
  ReleaseOn(Find<QLabel>(&window, "透明标签_修改密码"));
  EXPECT_TRUE(seen);
  EXPECT_EQ(settings.ReadText("lock_screen", "password"), "x1");
  EXPECT_FALSE(message->text().contains("默认密码"));
  EXPECT_TRUE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window.Unlocked());
  EXPECT_TRUE(prompter.shown().empty());
}

// With the console on another screen the projector shows the lock picture and nothing else; the
// password row waits, focused, in a panel over the console, and neither Escape nor a close takes it away.
TEST_F(LockTest, WithAnOperatorWindowThePasswordIsTypedThereAndTheStageShowsOnlyThePicture) {
  Store("abc");
  QWidget console;
  console.setGeometry(100, 50, 900, 600);
  console.show();
  LockWindow window(settings, prompter, QRect(0, 0, 1024, 768), &console);
  window.show();
  QDialog* panel = window.OperatorPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
  EXPECT_EQ(panel->windowTitle(), QStringLiteral("舞台屏幕已锁定"));
  EXPECT_TRUE(console.geometry().contains(panel->geometry().center()));
  for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(child == panel || child->isHidden()) << child->objectName().toStdString() << " shows on the stage";
  auto* box = Find<QLineEdit>(panel, "编辑框_口令");
  EXPECT_TRUE(window.RowShown());
  EXPECT_TRUE(Find<QLabel>(panel, "标签_锁屏说明")->text().contains(QStringLiteral("观众只看到锁屏图片")));

  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_FALSE(panel->close());
  EXPECT_TRUE(panel->isVisible());
  box->setText("x");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_FALSE(window.Unlocked());
  EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{Gb("密码输入不正确！")});
  box->setText("abc");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(window.Unlocked());
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace kavrel
