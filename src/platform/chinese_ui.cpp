#include "platform/chinese_ui.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace kavrel {
namespace {

// The installed families out of the wanted ones, in order of preference.
QStringList Installed(const QStringList& wanted) {
  const QStringList families = QFontDatabase::families();
  QStringList found;
  for (const QString& family : wanted) {
    if (families.contains(family, Qt::CaseInsensitive)) found << family;
  }
  return found;
}

}  // namespace

void RegisterChineseFontSubstitutes() {
  // Noto CJK has a real bold face; WenQuanYi Micro Hei is the smaller fallback.
  const QStringList sans = Installed({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
  const QStringList serif = Installed(
      {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
  const struct {
    const char* family;
    const QStringList& substitutes;
  } table[] = {
      {"微软雅黑", sans}, {"Microsoft YaHei", sans}, {"黑体", sans},
      {"SimHei", sans},   {"宋体", serif},           {"SimSun", serif},
  };
  for (const auto& row : table) {
    if (!row.substitutes.isEmpty()) QFont::insertSubstitutions(QString::fromUtf8(row.family), row.substitutes);
  }
}

void InstallChineseUi(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  } else {
    delete translator;  // English buttons are better than none
  }
  RegisterChineseFontSubstitutes();
}

}  // namespace kavrel
