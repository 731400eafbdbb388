#include "start_up_guard.h"

#include <QMessageBox>
#include <QString>
#include <cstdio>
#include <filesystem>

#include "storage/codec.h"
#include "storage/program_dir.h"

namespace kavrel {

namespace {

QString PathText(const std::filesystem::path& path) {
  return ToQt(GbPath(path));
}

}  // namespace

int RunShowingFileErrors(const std::function<int()>& run) {
  try {
    return run();
  } catch (const std::filesystem::filesystem_error& error) {
    QString where = PathText(error.path1());
    if (!error.path2().empty()) where += QStringLiteral("\n") + PathText(error.path2());
    if (where.isEmpty()) where = QStringLiteral("（未知）");
    const QString reason = QString::fromLocal8Bit(error.code().message().c_str());
    std::fprintf(stderr, "kavrel-draw: %s\n", error.what());
    QMessageBox::critical(
        nullptr, QStringLiteral("错误提示："),
        QStringLiteral("抽奖程序无法访问以下文件夹或文件，不能继续运行：\n%1\n\n原因：%2\n\n"
                       "请检查该文件夹的权限（程序文件夹或用户数据文件夹），或把程序放到可写的文件夹中"
                       "后再运行。")
            .arg(where, reason));
    return 1;
  }
}

}  // namespace kavrel
