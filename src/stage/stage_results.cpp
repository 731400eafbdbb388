// The stage's way into the results beyond the four views: export, the history of past draws, and the
// winner show of the last draw before the fresh one has any winners.
#include <QDateTime>

#include "engine/ports/prompter.h"
#include "results/export/winner_table.h"
#include "results/history_window.h"
#include "results/winner_export_window.h"
#include "stage/stage_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/result_store.h"

namespace kavrel {

bool StageWindow::DrawUnderWay() const {
  return session_.UnderWay();
}

void StageWindow::OfferWinnerShow() {
  // After a fresh start the show would be empty: the audience is more likely waiting for the winners of
  // the draw just put aside (the program was restarted, or the draw restarted by mistake).
  if (session_.Winners().empty()) {
    if (const auto past = LatestPastDrawWithResults(dir_)) {
      const QString question =
          QStringLiteral("本次抽奖还没有中奖结果。\n是否展示上一次抽奖（%1，%2 名中奖人员）的中奖名单？")
              .arg(past->label)
              .arg(past->winners);
      if (prompter_.Message(FromQt(question), Gb("提示信息："), Buttons::YesNo, Icon::Question) == Answer::Yes)
        return OpenResults(ResultViewMode::WinnerShow, &*past);
    }
  }
  OpenResults(ResultViewMode::WinnerShow);
}

void StageWindow::ExportWinners(const PastDraw* past) {
  const DrawRecord record = past ? past->record : CurrentDraw(dir_);
  WinnerTable table = LoadWinnerTable(record, FromQt(elements_.mainTitle->text()), FromQt(elements_.subtitle->text()));
  QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"));
  if (past && !record.current) stamp = QString::fromStdString(record.folder.filename().string());
  WinnerExportWindow window(std::move(table), prompter_, detail::ToQPath(dir_.Root()),
                            QStringLiteral("中奖名单-") + stamp, OperatorWindow());
  window.exec();
}

void StageWindow::OpenDrawHistory() {
  HistoryWindow::Actions actions;
  actions.show = [this](ResultViewMode mode, const PastDraw& draw) { OpenResults(mode, &draw); };
  actions.exportDraw = [this](const PastDraw& draw) { ExportWinners(&draw); };
  actions.drawUnderWay = [this] { return DrawUnderWay(); };
  actions.broughtBack = [this] { session_.PastDrawBroughtBack(); };
  HistoryWindow window(dir_, prompter_, clock_, std::move(actions), OperatorWindow());
  window.exec();
}

}  // namespace kavrel
