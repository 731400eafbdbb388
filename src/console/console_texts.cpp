#include "console/console_texts.h"

#include "engine/plan.h"
#include "storage/codec.h"

namespace kavrel {

std::vector<ConsolePlanRow> ConsolePlanRows(const DrawState& state, bool forwardOrder) {
  std::vector<ConsolePlanRow> rows;
  rows.reserve(state.plan.size() + 1);
  auto rowOf = [](const PlanLine& line, bool current) {
    ConsolePlanRow row;
    row.award = ToQt(line.award);
    row.batch = QStringLiteral("第%1轮/共%2轮").arg(ToQt(line.batchNumber), ToQt(line.batchCount));
    row.size = ToQt(line.batchSize) + QStringLiteral("名");
    row.prize = ToQt(line.prize);
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
    rows.push_back(rowOf(state.plan[position - 1], position == next));
  }
  return rows;
}

ConsoleNextPress ConsoleNextPressText(const DrawState& state, const StageSituation& stage) {
  using Results = StageSituation::Results;
  // What covers the stage takes the press (or refuses it) before the draw sees it.
  if (stage.locked) return {QStringLiteral("屏幕已锁定 — 在锁屏框中输入解锁口令"), QStringLiteral("已锁定"), false};
  if (stage.results != Results::None) {
    const QString shown = stage.results == Results::WinnerShow    ? QStringLiteral("全部中奖人员名单（F6）")
                          : stage.results == Results::LatestBatch ? QStringLiteral("本批中奖人员（F7）")
                                                                  : QStringLiteral("中奖名单");
    return {QStringLiteral("舞台正在展示%1 — 空格键不起作用，按 Esc 关闭展示").arg(shown), QStringLiteral("展示中"),
            false};
  }
  if (stage.blackedOut)
    return {QStringLiteral("黑屏中 — 按空格键只恢复画面（不开始也不停止）"), QStringLiteral("恢复画面  （空格）")};
  switch (state.phase) {
    case DrawPhase::Ready:
      if (!state.drawStarted && state.pool.empty())
        return {QStringLiteral("还没有抽奖名单 — 按空格键只会提示先导入名单"), QStringLiteral("开始  （空格）")};
      if (!state.drawStarted && state.plan.empty())
        return {QStringLiteral("还没有设置奖项 — 按空格键只会提示先设定奖项（设定 → 主副标题/奖项设定）"),
                QStringLiteral("开始  （空格）")};
      if (state.plan.empty())
        return {QStringLiteral("全部奖项已抽完 — 按空格键展示全部中奖人员"), QStringLiteral("展示中奖名单  （空格）")};
      return {QStringLiteral("准备就绪 — 按空格键开始滚动"), QStringLiteral("开始  （空格）")};
    case DrawPhase::Rolling:
    case DrawPhase::RollPaused:
      return {QStringLiteral("正在滚动 — 按空格键停止"), QStringLiteral("停止  （空格）")};
    case DrawPhase::WinnersShown:
      if (state.plan.empty())
        return {QStringLiteral("最后一批已抽出 — 按空格键显示“抽奖完毕！”"), QStringLiteral("抽奖完毕  （空格）")};
      return {QStringLiteral("本批已抽出 — 按空格键宣布下一批"), QStringLiteral("宣布下一批  （空格）")};
    case DrawPhase::AllDrawn:
      return {QStringLiteral("全部奖项已抽完 — 按空格键提示并展示全部中奖人员"),
              QStringLiteral("展示中奖名单  （空格）")};
    case DrawPhase::Finished:
      // The press after the show ends the "finished" press as a stop would: nothing shows.
      return {QStringLiteral("全部奖项已抽完 — 下一次按空格键没有变化，再按一次展示全部中奖人员"),
              QStringLiteral("空格  （无变化）")};
  }
  return {};
}

QString ConsoleProgressText(const DrawState& state) {
  if (state.phase == DrawPhase::AllDrawn || state.phase == DrawPhase::Finished)
    return QStringLiteral("全部奖项已经抽取完毕，舞台显示“抽奖完毕！”");
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
