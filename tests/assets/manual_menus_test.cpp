// The manual names menu items as <span class="menu">功能 → 弃奖(V)</span>. These tests build the program's
// real menus and fail when a page names an item the program does not have, so a renamed or removed item
// cannot leave the manual describing a menu that is not there.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>

#include "lists/list_editor_window.h"
#include "lists/list_tools.h"
#include "stage/stage_menus.h"
#include "storage/program_dir.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {
namespace {

const QString kArrow = QStringLiteral(" → ");

// An item as the operator reads it: no accelerator mark, no key name after the text
// ("重新开始抽奖(&T)   F1" is "重新开始抽奖(T)").
QString Shown(QString text) {
  text.remove(QLatin1Char('&'));
  static const QRegularExpression keyName(QStringLiteral("\\s{2,}.*$"));
  return text.remove(keyName).trimmed();
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
  StageMenus menus(&stage);
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

TEST(ManualMenus, NoPagePromisesALaterVersion) {
  for (const Page& page : ManualPages()) {
    EXPECT_FALSE(page.html.contains(QStringLiteral("后续版本"))) << page.name.toStdString();
  }
}

}  // namespace
}  // namespace kavrel
