#include "lists/list_editor_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest/QTest>

#include "list_fixture.h"
#include "workbook/workbook_fixtures.h"

namespace kavrel::test {
namespace {

class ListEditorWindowTest : public ListTest {
 protected:
  std::unique_ptr<ListEditorWindow> Open() {
    return std::make_unique<ListEditorWindow>(ListEditorContext{dir_, prompter_, clock_, drawUnderWay_, find_});
  }
  static QString CountLine(ListEditorWindow& w) { return w.findChild<QLabel*>(QStringLiteral("标签1"))->text(); }
};

TEST_F(ListEditorWindowTest, ImportSaveAndReopen) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("编辑抽奖人员名单"));
  EXPECT_EQ(CountLine(*window), QStringLiteral("还未导入任何数据"));
  ASSERT_NE(window->findChild<QTableView*>(QStringLiteral("高级表格_名单")), nullptr);
  auto* progress = window->findChild<QProgressBar*>(QStringLiteral("进度条1"));
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isHidden());
  auto* workbook = window->findChild<QAction*>(QStringLiteral("导入Excel(E)"));
  ASSERT_NE(workbook, nullptr);
  EXPECT_TRUE(workbook->isEnabled());
  EXPECT_EQ(workbook->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));

  prompter_.ScriptPath(Put("names.txt", "\xEF\xBB\xBF张三\n李四\n王五\n"));
  window->findChild<QAction*>(QStringLiteral("导入TXT(T)"))->trigger();
  EXPECT_EQ(CountLine(*window), QStringLiteral("参与抽奖名单共：3个"));
  ListTableModel& model = window->Model();
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QStringLiteral("李四"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("抽奖名单"));
  EXPECT_TRUE(model.data(model.index(0, 1), Qt::FontRole).value<QFont>().bold());
  EXPECT_TRUE(progress->isHidden());

  window->findChild<QAction*>(QStringLiteral("保存"))->trigger();
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("张三\r\n李四\r\n王五\r\n"));
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(prompter_.MessageTexts().empty());  // saved: no close question

  auto reopened = Open();
  EXPECT_EQ(CountLine(*reopened), QStringLiteral("参与抽奖名单共：3个"));
  EXPECT_EQ(reopened->Model().data(reopened->Model().index(2, 1), Qt::DisplayRole).toString(), QStringLiteral("王五"));
  EXPECT_EQ(reopened->TableView()->columnWidth(0), 40);
}

TEST_F(ListEditorWindowTest, WorkbookImportThenSaveWithTheDisplayColumns) {
  testing::HandXlsx book;
  book.sheets = {{"员工", testing::Worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>工号</t></is></c>)"
                                             R"(<c r="B1" t="inlineStr"><is><t>姓名</t></is></c></row>)"
                                             R"(<row r="2"><c r="A2" t="inlineStr"><is><t>007</t></is></c>)"
                                             R"(<c r="B2" t="inlineStr"><is><t>张三</t></is></c></row>)"
                                             R"(<row r="3"><c r="A3"><v>8</v></c>)"
                                             R"(<c r="B3" t="inlineStr"><is><t>李-四</t></is></c></row>)")}};
  book.targets = {"worksheets/sheet1.xml"};
  const auto path = dir_.Root() / "staff.xlsx";
  testing::WriteHandXlsx(QString::fromStdString(path.string()), book);

  auto window = Open();
  window->show();
  prompter_.ScriptAnswer(Answer::Ok);  // the reminder
  prompter_.ScriptPath(GbPath(path));
  prompter_.ScriptInteger(1);
  window->findChild<QAction*>(QStringLiteral("导入Excel(E)"))->trigger();
  EXPECT_EQ(CountLine(*window), QStringLiteral("参与抽奖名单共：2个"));
  ListTableModel& model = window->Model();
  ASSERT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("序号"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("工号"));
  EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("1"));
  EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("007"));
  EXPECT_EQ(model.data(model.index(1, 2), Qt::DisplayRole).toString(), QStringLiteral("李-四"));
  EXPECT_TRUE(window->findChild<QProgressBar*>(QStringLiteral("进度条1"))->isHidden());
  EXPECT_TRUE(window->findChild<QPushButton*>(QStringLiteral("按钮_取消导入"))->isHidden());
  EXPECT_TRUE(window->TableView()->isEnabled());

  // Two data columns: the save asks which to show; the dash becomes the full-width one (OK).
  prompter_.ScriptText("2-3");
  window->findChild<QAction*>(QStringLiteral("保存"))->trigger();
  EXPECT_EQ(Read(ProgramDir::kSetDat), Gb("007  张三  \r\n8  李－四  \r\n"));
  EXPECT_FALSE(window->Editor().ListChanged());
  window->close();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ListEditorWindowTest, MenusCarryTheirItemsAndTheCloseQuestionCanKeepTheWindow) {
  auto window = Open();
  auto* edit = window->findChild<QMenu*>(QStringLiteral("编辑(E)"));
  ASSERT_NE(edit, nullptr);
  QStringList items;
  for (QAction* a : edit->actions()) items << (a->isSeparator() ? QStringLiteral("—") : a->objectName());
  EXPECT_EQ(items,
            (QStringList{"剪切(X)", "复制(C)", "粘贴(V)", "删除(L)", "—", "查找(F)", "查找下一个(N)", "—", "全选(A)"}));
  EXPECT_EQ(edit->actions().front()->text(), QStringLiteral("剪切(&X)")) << "the letter chooses the item";
  auto* dedupe = window->findChild<QAction*>(QStringLiteral("保存自动删除重复行"));
  EXPECT_TRUE(dedupe->isCheckable() && dedupe->isChecked());

  window->show();
  ASSERT_TRUE(window->Editor().ImportTextFile(Put("l.txt", "a\r\n")));
  prompter_.ScriptAnswer(Answer::Cancel);
  window->close();
  EXPECT_TRUE(window->isVisible());
  prompter_.ScriptAnswer(Answer::No);
  window->close();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ListEditorWindowTest, EditingACellGoesThroughTheGuard) {
  auto window = Open();
  window->show();
  ASSERT_TRUE(window->Editor().ImportTextFile(Put("l.txt", "a\r\nb\r\n")));
  window->RefreshTable(false);
  ASSERT_TRUE(window->Editor().Save());
  QTableView* view = window->TableView();
  auto typeInto = [&](int row, const QString& text) {
    const QModelIndex at = window->Model().index(row, 1);
    view->setCurrentIndex(at);
    view->edit(at);
    QLineEdit* editor = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((editor = view->viewport()->findChild<QLineEdit*>()) != nullptr, 5000);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
  };
  // 否 puts the old text back; 是 saves the list with the new text.
  prompter_.ScriptAnswer(Answer::No);
  typeInto(1, QStringLiteral("x"));
  QTRY_COMPARE_WITH_TIMEOUT(prompter_.MessageTexts().size(), std::size_t(1), 5000);
  EXPECT_EQ(window->Editor().Table().Cell(2, 1), "b");
  typeInto(1, QStringLiteral("c"));
  QTRY_COMPARE_WITH_TIMEOUT(Read(ProgramDir::kSetDat), std::string("a\r\nc\r\n"), 5000);
  EXPECT_FALSE(window->Editor().ListChanged());
}

}  // namespace
}  // namespace kavrel::test
