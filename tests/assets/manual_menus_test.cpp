// The manual names menu items as <span class="menu">功能 → 弃奖(V)</span>. These tests build the program's
// real menus and fail when a page names an item the program does not have, so a renamed or removed item
// cannot leave the manual describing a menu that is not there.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>

#include "lists/list_editor_window.h"
#include "lists/list_tools.h"
#include "stage/command_actions.h"
#include "stage/stage_menus.h"
#include "storage/program_dir.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

const QString kArrow = QStringLiteral(" → ");

// An item as the operator reads it: no accelerator mark ("重新开始抽奖(&T)" is "重新开始抽奖(T)").
QString Shown(QString text) {
  return text.remove(QLatin1Char('&')).trimmed();
}

// Every path of a menu and its submenus, the menu's own path included.
void Collect(const QString& path, const QMenu* menu, QSet<QString>& paths) {
  paths.insert(path);
  for (const QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    const QString item = path + kArrow + Shown(a->text());
    if (a->menu() != nullptr)
      Collect(item, a->menu(), paths);
    else
      paths.insert(item);
  }
}

QSet<QString> ProgramMenuPaths() {
  QSet<QString> paths;
  QWidget stage;
  CommandActions actions;
  StageMenus menus(actions, &stage);
  for (int i = 0; i < StageMenus::kPopupCount; ++i) {
    const QMenu* popup = menus.menu(static_cast<StageMenus::Popup>(i));
    Collect(Shown(popup->title()), popup, paths);
  }

  QTemporaryDir temp;
  const ProgramDir dir(std::filesystem::path(QFile::encodeName(temp.path()).toStdString()));
  dir.EnsureConfigDir();
  ScriptedPrompter prompter;
  FakeClock clock;
  FindState find;
  ListEditorWindow editor(ListEditorContext{dir, prompter, clock, false, find});
  for (const QMenuBar* bar : editor.findChildren<QMenuBar*>())
    for (const QAction* a : bar->actions())
      if (a->menu() != nullptr) Collect(Shown(a->text()), a->menu(), paths);
  return paths;
}

struct Page {
  QString name, html;
};

std::vector<Page> ManualPages() {
  std::vector<Page> pages;
  const QDir manual(QStringLiteral(KAVREL_ASSETS_DIR "/manual"));
  for (const QString& name : manual.entryList({QStringLiteral("*.html")})) {
    QFile file(manual.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    pages.push_back({name, QString::fromUtf8(file.readAll())});
  }
  EXPECT_GE(pages.size(), 6u);
  return pages;
}

TEST(ManualMenus, EveryMenuPathThePagesNameIsInTheProgram) {
  const QSet<QString> paths = ProgramMenuPaths();
  // The collection itself must have worked, or every check below would pass on nothing.
  ASSERT_TRUE(paths.contains(QStringLiteral("功能 → 弃奖(V)")));
  ASSERT_TRUE(paths.contains(QStringLiteral("界面 → 更改背景图片(S) → 自定义")));
  ASSERT_TRUE(paths.contains(QStringLiteral("名单处理(F) → 导入TXT(T)")));

  const QRegularExpression span(QStringLiteral("<span class=\"menu\">(.*?)</span>"),
                                QRegularExpression::DotMatchesEverythingOption);
  int named = 0;
  for (const Page& page : ManualPages()) {
    for (auto it = span.globalMatch(page.html); it.hasNext();) {
      const QString path = it.next().captured(1).simplified();
      ++named;
      EXPECT_TRUE(paths.contains(path)) << page.name.toStdString() << " names \"" << path.toStdString()
                                        << "\", which is not a menu item of the program";
    }
  }
  EXPECT_GE(named, 20);
}

// The key a stage menu item shows beside its text ("弃奖(V)" → "F3"), by the item's path.
QMap<QString, QString> ProgramMenuKeys() {
  QMap<QString, QString> keys;
  QWidget stage;
  CommandActions actions;
  StageMenus menus(actions, &stage);
  for (int i = 0; i < StageMenus::kPopupCount; ++i) {
    const QMenu* popup = menus.menu(static_cast<StageMenus::Popup>(i));
    for (const QAction* a : popup->actions())
      if (!a->shortcut().isEmpty())
        keys.insert(Shown(popup->title()) + kArrow + Shown(a->text()), a->shortcut().toString());
  }
  return keys;
}

// The key table of the manual ("快捷键一览") against the menus: every row that names a menu item gives
// the key that item shows, and every item that shows a key has its row, so a key moved to another
// command cannot leave the manual teaching the old one.
TEST(ManualMenus, TheKeyTableGivesEachMenuItemItsKey) {
  const QMap<QString, QString> keys = ProgramMenuKeys();
  ASSERT_EQ(keys.value(QStringLiteral("功能 → 弃奖(V)")), QStringLiteral("F3"));
  QString draw;
  for (const Page& page : ManualPages())
    if (page.name == QStringLiteral("draw.html")) draw = page.html;
  const qsizetype start = draw.indexOf(QStringLiteral("<h2 id=\"keys\">"));
  ASSERT_GE(start, 0) << "draw.html has no key table";
  const QString table = draw.mid(start, draw.indexOf(QStringLiteral("</table>"), start) - start);
  static const QRegularExpression row(QStringLiteral("<tr><td>(.*?)</td><td>.*?</td><td>(.*?)</td></tr>"),
                                      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression kbd(QStringLiteral("<kbd>(.*?)</kbd>"));
  static const QRegularExpression menu(QStringLiteral("<span class=\"menu\">(.*?)</span>"));
  QSet<QString> taught;
  for (auto it = row.globalMatch(table); it.hasNext();) {
    const auto m = it.next();
    const auto path = menu.match(m.captured(2));
    if (!path.hasMatch()) continue;
    const QString item = path.captured(1).simplified();
    QStringList pressed;
    for (auto k = kbd.globalMatch(m.captured(1)); k.hasNext();) pressed << k.next().captured(1);
    ASSERT_EQ(pressed.size(), 1) << item.toStdString();
    taught.insert(item);
    if (keys.contains(item)) {
      EXPECT_EQ(keys.value(item), pressed.front()) << item.toStdString();
    } else {
      // An item that shows no key after its text carries it in its name ("自动隐藏主菜单(ESC)").
      EXPECT_TRUE(item.contains(QLatin1Char('(') + pressed.front() + QLatin1Char(')')))
          << "the manual gives " << pressed.front().toStdString() << " for " << item.toStdString()
          << ", whose menu item shows no key";
    }
  }
  for (auto it = keys.cbegin(); it != keys.cend(); ++it)
    EXPECT_TRUE(taught.contains(it.key()))
        << it.key().toStdString() << " (" << it.value().toStdString() << ") is missing from the manual's key table";
}

// “补奖设定”窗口: every window the pages name by its title is a window of the program.
TEST(ManualMenus, EveryWindowThePagesNameIsAWindowOfTheProgram) {
  QSet<QString> titles;
  static const QRegularExpression set(QStringLiteral("setWindowTitle\\((?:QStringLiteral\\()?\"([^\"]+)\""));
  QDirIterator files(QStringLiteral(KAVREL_SOURCE_DIR), {QStringLiteral("*.cpp")}, QDir::Files,
                     QDirIterator::Subdirectories);
  while (files.hasNext()) {
    QFile file(files.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(file.readAll());
    for (auto it = set.globalMatch(source); it.hasNext();) titles.insert(it.next().captured(1));
  }
  ASSERT_TRUE(titles.contains(QStringLiteral("补奖设定")));

  static const QRegularExpression named(QStringLiteral("“([^”<]+)”小?窗口"));
  int count = 0;
  for (const Page& page : ManualPages()) {
    for (auto it = named.globalMatch(page.html); it.hasNext();) {
      const QString title = it.next().captured(1);
      ++count;
      EXPECT_TRUE(titles.contains(title)) << page.name.toStdString() << " names the window \"" << title.toStdString()
                                          << "\", which the program does not have";
    }
  }
  EXPECT_GE(count, 10);
}

TEST(ManualMenus, NoPagePromisesALaterVersion) {
  for (const Page& page : ManualPages()) {
    EXPECT_FALSE(page.html.contains(QStringLiteral("后续版本"))) << page.name.toStdString();
  }
}

}  // namespace
}  // namespace kavrel
