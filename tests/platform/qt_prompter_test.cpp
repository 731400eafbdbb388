#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "platform/chinese_ui.h"
#include "platform/qt_prompter.h"
#include "storage/codec.h"
#include "storage/number_text.h"
#include "support/when_shown.h"

namespace kavrel {
namespace {

class QtPrompterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InstallChineseUi(*qobject_cast<QApplication*>(QCoreApplication::instance())); }
};

struct SeenBox {
  QString caption, text;
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

SeenBox Read(QMessageBox* box) {
  SeenBox seen{box->windowTitle(), box->text(), {}, box->icon()};
  for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
  seen.buttons.sort();
  return seen;
}

TEST_F(QtPrompterTest, MessageShowsExactTextsChineseButtonsAndIcon) {
  QtPrompter prompter;
  SeenBox seen;
  WhenShown<QMessageBox>([&](QMessageBox* box) {
    seen = Read(box);
    box->button(QMessageBox::Cancel)->click();
  });
  const Answer a = prompter.Message(Gb("是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"), Gb("提示信息："),
                                    Buttons::OkCancel, Icon::Question);
  EXPECT_EQ(a, Answer::Cancel);
  EXPECT_EQ(seen.caption, QStringLiteral("提示信息："));
  EXPECT_EQ(seen.text, QStringLiteral("是否要重新开始抽奖(所有奖项和名单都将回到奖池)？"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));

  WhenShown<QMessageBox>([&](QMessageBox* box) {
    seen = Read(box);
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(prompter.Message(Gb("导入图片？"), Gb("提示信息："), Buttons::YesNo, Icon::Warning), Answer::Yes);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  ASSERT_EQ(seen.buttons.size(), 2);
  EXPECT_TRUE(seen.buttons[0].startsWith(QStringLiteral("否")) || seen.buttons[1].startsWith(QStringLiteral("否")));

  WhenShown<QMessageBox>([&](QMessageBox* box) {
    seen = Read(box);
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(prompter.Message(Gb("密码输入不正确！"), Gb("错误提示："), Buttons::Ok, Icon::Error), Answer::Ok);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("确定")});
}

TEST_F(QtPrompterTest, EscapeAbandonsAndDataTextIsNeverMarkup) {
  QtPrompter prompter;
  QString shownText;
  WhenShown<QMessageBox>([&](QMessageBox* box) {
    shownText = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->textFormat(), Qt::PlainText);
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(prompter.Message(Gb("<b>张三</b> 已中奖"), Gb("提示："), Buttons::YesNo, Icon::Question), Answer::No);
  EXPECT_EQ(shownText, QStringLiteral("<b>张三</b> 已中奖"));

  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(prompter.Message(Gb("确定要退出吗？"), Gb("退出提示："), Buttons::OkCancel, Icon::Question),
            Answer::Cancel);
}

// The space bar is the draw key: a press meant for the stage that lands in a question never
// confirms a quit, restart or undo. Yes/No questions keep 是, whose action loses nothing.
TEST_F(QtPrompterTest, SpaceAndReturnInAnOkCancelQuestionAbandonIt) {
  QtPrompter prompter;
  for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
    WhenShown<QMessageBox>(
        [key](QMessageBox* box) {
          QWidget* focused = box->focusWidget();
          EXPECT_EQ(focused, box->button(QMessageBox::Cancel));
          QTest::keyClick(focused, key);
        },
        ShownNeeds::Focus);
    EXPECT_EQ(prompter.Message(Gb("奖项还未抽取完毕，确定要退出吗？"), Gb("退出提示："), Buttons::OkCancel,
                               Icon::Information),
              Answer::Cancel)
        << "key " << key;
  }
  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box->focusWidget(), Qt::Key_Return); },
                         ShownNeeds::Focus);
  EXPECT_EQ(prompter.Message(Gb("是否要继续上次的抽奖？"), Gb("开始抽奖前确认信息："), Buttons::YesNo, Icon::Question),
            Answer::Yes);
}

TEST_F(QtPrompterTest, BoxesAreCentredOnTheInjectedParent) {
  QWidget window;
  window.show();
  QtPrompter prompter(&window);
  QWidget* parent = nullptr;
  WhenShown<QMessageBox>([&](QMessageBox* box) {
    parent = box->parentWidget();
    box->accept();
  });
  prompter.Message(Gb("x"), Gb("信息："), Buttons::Ok, Icon::None);
  EXPECT_EQ(parent, &window);
}

TEST_F(QtPrompterTest, IntegerBoxTakesDigitsAndMinusOnlyAndAnswersTheLeadingInteger) {
  QtPrompter prompter;
  QString title, label, initial;
  WhenShown<QInputDialog>([&](QInputDialog* dialog) {
    title = dialog->windowTitle();
    label = dialog->labelText();
    QLineEdit* edit = dialog->findChild<QLineEdit*>();
    initial = edit->text();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("12a-3"));
    edit->insert(QStringLiteral("三"));  // as a paste would
    EXPECT_EQ(edit->text(), QStringLiteral("12-3"));
    dialog->accept();
  });
  EXPECT_EQ(prompter.InputInteger(Gb("从第几个奖项开始抽取"), Gb("请输入序号："), "5"), 12);
  EXPECT_EQ(title, QStringLiteral("从第几个奖项开始抽取"));
  EXPECT_EQ(label, QStringLiteral("请输入序号："));
  EXPECT_EQ(initial, QStringLiteral("5"));

  WhenShown<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(prompter.InputInteger(Gb("t"), Gb("p"), ""), std::nullopt);

  WhenShown<QInputDialog>([](QInputDialog* dialog) { dialog->accept(); });
  EXPECT_EQ(prompter.InputInteger(Gb("t"), Gb("p"), "-"), 0);
}

TEST_F(QtPrompterTest, TextBoxReturnsGbTextOrNothingWhenCancelled) {
  QtPrompter prompter;
  WhenShown<QInputDialog>([](QInputDialog* dialog) {
    EXPECT_EQ(dialog->textValue(), QStringLiteral("一等奖"));
    dialog->setTextValue(QStringLiteral("特等奖 𠀀"));  // beyond GBK: GB18030 keeps it
    dialog->accept();
  });
  EXPECT_EQ(prompter.InputText(Gb("修改"), Gb("奖项名称："), Gb("一等奖")), Gb("特等奖 𠀀"));

  WhenShown<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(prompter.InputText(Gb("修改"), Gb("奖项名称："), ""), std::nullopt);
}

// Both pickers start in the program's data folder, never in the folder the program was started from.
TEST_F(QtPrompterTest, FilePickersStartInTheDataFolderAndReturnTheChosenFileAsGb) {
  QTemporaryDir dir;
  const QString data = dir.filePath(QStringLiteral("数据"));
  ASSERT_TRUE(QDir().mkpath(data));
  ASSERT_NE(QDir(data).canonicalPath(), QDir::current().canonicalPath());
  const QString file = dir.filePath(QStringLiteral("奬品.png"));
  QFile(file).open(QIODevice::WriteOnly);
  QtPrompter prompter(nullptr, std::filesystem::path(QFile::encodeName(data).toStdString()));
  QStringList filters;
  QString startedIn;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    startedIn = dialog->directory().canonicalPath();
    dialog->selectFile(file);
    QMetaObject::invokeMethod(dialog, "accept");
  });
  EXPECT_EQ(prompter.PickOpenFile(Gb("选择图片"), Gb("图片|*.png;*.jpg|所有文件|*.*")),
            FromQt(QDir::toNativeSeparators(file)));
  EXPECT_EQ(filters, (QStringList{QStringLiteral("图片 (*.png *.jpg)"), QStringLiteral("所有文件 (*)")}));
  EXPECT_EQ(startedIn.toStdString(), QDir(data).canonicalPath().toStdString());

  startedIn.clear();
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    startedIn = dialog->directory().canonicalPath();
    dialog->reject();
  });
  EXPECT_EQ(prompter.PickFolder(Gb("选择文件夹")), std::nullopt);
  EXPECT_EQ(startedIn.toStdString(), QDir(data).canonicalPath().toStdString());
}

// A description that already names its patterns would show them twice in the dialog's type box.
TEST(QtFileFilter, NamesEachPatternListOnce) {
  EXPECT_EQ(QtFileFilter(QStringLiteral("图片文件(*.png;*.jpg)|*.png;*.jpg")),
            QStringLiteral("图片文件 (*.png *.jpg)"));
  EXPECT_EQ(QtFileFilter(QStringLiteral("图片文件（*.jpg）|*.jpg")), QStringLiteral("图片文件 (*.jpg)"));
  EXPECT_EQ(QtFileFilter(QStringLiteral("文本文件(*.txt)|*.txt|所有文件(All)|*.*")),
            QStringLiteral("文本文件 (*.txt);;所有文件(All) (*)"));
}

TEST(LeadingInteger, ReadsOptionalBlanksSignAndDigits) {
  EXPECT_EQ(LeadingInteger(std::string("42")), 42);
  EXPECT_EQ(LeadingInteger(std::string("  -17x")), -17);
  EXPECT_EQ(LeadingInteger(std::string("12-3")), 12);
  EXPECT_EQ(LeadingInteger(std::string("--5")), 0);
  EXPECT_EQ(LeadingInteger(std::string()), 0);
  EXPECT_EQ(LeadingInteger(std::string("99999999999999999999999")), std::numeric_limits<long long>::max());
  EXPECT_EQ(LeadingInteger(std::string("-99999999999999999999999")), std::numeric_limits<long long>::min());
}

}  // namespace
}  // namespace kavrel
