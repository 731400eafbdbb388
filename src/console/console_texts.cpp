#include "console/console_texts.h"

#include "engine/plan.h"
#include "storage/codec.h"

namespace kavrel {

std::vector<ConsolePlanRow> ConsolePlanRows(const DrawState& state, bool forwardOrder) {
  std::vector<ConsolePlanRow> rows;
  rows.reserve(state.plan.size() + 1);
  auto rowOf = [](const std::vector<std::string>& line, bool current) {
    ConsolePlanRow row;
    row.award = ToQt(Field(line, kAwardName));
    row.batch = QStringLiteral("第%1轮/共%2轮").arg(ToQt(Field(line, kBatchNumber)), ToQt(Field(line, kBatchCount)));
    row.size = ToQt(Field(line, kBatchSize)) + QStringLiteral("名");
    row.prize = ToQt(Field(line, kPrizeName));
    row.current = current;
    return row;
  };
  // While the winners of a batch are on screen its line has left the plan: it stands first, marked,
  // until the next press announces the following line.
  const bool shown = state.WinnersShown() && !state.recordedLine.empty();
  if (shown) rows.push_back(rowOf(state.recordedLine, true));
  const std::size_t next = shown ? 0 : NextPlanPosition(state, forwardOrder);
  const std::size_t n = state.plan.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t position = forwardOrder ? k + 1 : n - k;  // 1-based, in drawing order
    rows.push_back(rowOf(SplitPlanLine(state.plan[position - 1]), position == next));
  }
  return rows;
}

QString ConsolePhaseText(const DrawState& state) {
  switch (state.phase) {
    case DrawPhase::Ready:
      return state.plan.empty() ? QStringLiteral("全部奖项已抽完") : QStringLiteral("准备就绪 — 按空格键开始滚动");
    case DrawPhase::Rolling:
    case DrawPhase::RollPaused:
      return QStringLiteral("正在滚动 — 按空格键停止");
    case DrawPhase::WinnersShown:
      return state.plan.empty() ? QStringLiteral("本批已抽出，全部奖项已抽完")
                                : QStringLiteral("本批已抽出 — 按空格键宣布下一批");
    case DrawPhase::AllDrawn:
      return QStringLiteral("全部奖项已抽完");
    case DrawPhase::Finished:
      return QStringLiteral("抽奖完毕");
  }
  return {};
}

QString ConsoleProgressText(const DrawState& state) {
  if (state.currentLine.empty()) return {};
  return ToQt(StatusText(state, state.WinnersShown()));
}

QString ConsolePoolText(const DrawState& state) {
  return QStringLiteral("奖池：共 %1 人").arg(state.pool.size());
}

std::vector<QString> ConsoleWinnerRows(const std::vector<ResultLine>& log, std::size_t limit) {
  std::vector<QString> rows;
  for (auto line = log.rbegin(); line != log.rend() && rows.size() < limit; ++line) {
    const QString award = ToQt(line->awardName);
    const QString prize = line->prizeName.empty() ? QString() : QStringLiteral("  （%1）").arg(ToQt(line->prizeName));
    for (auto w = line->winners.rbegin(); w != line->winners.rend() && rows.size() < limit; ++w)
      rows.push_back(award + QStringLiteral("  ") + ToQt(*w).trimmed() + prize);
  }
  return rows;
}

}  // namespace kavrel
