#include "engine/resume_check.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "engine/draw_texts.h"
#include "engine/plan.h"
#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/participant_store.h"
#include "storage/split_text.h"

namespace kavrel {

namespace {

using Known = std::unordered_set<std::string_view>;

// An entry named in a message, cut at a character boundary when long.
std::string Quoted(std::string_view entry) {
  constexpr std::size_t kMax = 40;
  std::size_t end = 0;
  while (end < entry.size() && end < kMax) end += static_cast<unsigned char>(entry[end]) >= 0x80 ? 2 : 1;
  std::string shown(entry.substr(0, std::min(end, entry.size())));
  if (end < entry.size()) shown += "...";
  return Gb("“") + shown + Gb("”");
}

std::string_view WithoutAbandonMark(std::string_view winner) {
  static const std::string kMark = Gb("(已弃奖)");
  if (winner.ends_with(kMark)) winner.remove_suffix(kMark.size());
  return winner;
}

// The batch the result files hold beyond the record.
struct SurplusBatch {
  bool readable = true;
  std::string award;
  std::vector<std::string> winners;
};

SurplusBatch ReadDatSurplus(std::string_view confirmed, std::string_view surplus, const std::string& lastAwardName) {
  SurplusBatch batch;
  const bool newLine = confirmed.empty() || surplus.starts_with("\r\n");
  if (newLine && !confirmed.empty()) surplus.remove_prefix(2);
  if (surplus.empty() || !surplus.ends_with("-") || surplus.find("\r\n") != std::string_view::npos) {
    batch.readable = false;
    return batch;
  }
  auto fields = SplitText(surplus, "-");
  if (newLine) {
    if (fields.size() < 3) {
      batch.readable = false;
      return batch;
    }
    batch.award = fields[0];
    batch.winners.assign(fields.begin() + 2, fields.end());
  } else {
    // Winners appended to the award's line: they continue the award the record names.
    const std::size_t lineStart = confirmed.rfind("\r\n");
    const auto lastLine = SplitText(confirmed.substr(lineStart == std::string_view::npos ? 0 : lineStart + 2), "-");
    if (lastLine.empty() || lastLine[0] != lastAwardName) {
      batch.readable = false;
      return batch;
    }
    batch.award = lastAwardName;
    batch.winners = std::move(fields);
  }
  return batch;
}

SurplusBatch ReadTxtSurplus(std::string_view surplus) {
  SurplusBatch batch;
  batch.readable = false;
  const std::string head = "\r\n\r\n" + std::string(110, '-') + "\r\n\r\n";
  if (!surplus.starts_with(head) || !surplus.ends_with("\t\r\n")) return batch;
  surplus.remove_prefix(head.size());
  const std::size_t timeEnd = surplus.find("\r\n\r\n");
  if (timeEnd == std::string_view::npos) return batch;
  surplus.remove_prefix(timeEnd + 4);
  surplus.remove_suffix(2);
  const std::string open = Gb("【");
  const std::string close = Gb("】") + "\t";
  const std::size_t awardEnd = surplus.find(close);
  if (!surplus.starts_with(open) || awardEnd == std::string_view::npos) return batch;
  batch.award = std::string(surplus.substr(open.size(), awardEnd - open.size()));
  batch.winners = SplitText(surplus.substr(awardEnd + close.size()), "\t");
  batch.readable = batch.award.find("\r\n") == std::string::npos;
  return batch;
}

using Counts = std::unordered_map<std::string_view, int>;

Counts CountOf(const std::vector<std::string>& entries) {
  Counts counts;
  for (const auto& entry : entries) ++counts[entry];
  return counts;
}

int RecordedBatches(std::string_view resultTxt) {
  // An undone batch leaves its separator behind, so this counts at least the batches recorded.
  const std::string separator = "\r\n\r\n" + std::string(110, '-');
  int count = 0;
  for (std::size_t at = resultTxt.find(separator); at != std::string_view::npos;
       at = resultTxt.find(separator, at + separator.size()))
    ++count;
  return count;
}

// The last award and its counters as the stage will announce them for the award's next batch: the
// award was recorded or is still to be drawn, and no more of its batches and winners are counted than
// the result files hold. (Plan lines are no bound: a batch queued for an award afterwards carries
// counts of its own.)
std::string CheckCounters(const ExitRecord& record, const Counts& recordedAwardWinners, std::string_view resultTxt,
                          bool planned) {
  if (record.lastAwardName.empty()) return {};
  const auto recorded = recordedAwardWinners.find(record.lastAwardName);
  if (!planned && recorded == recordedAwardWinners.end())
    return Gb("记录中上次抽取的奖项") + Quoted(record.lastAwardName) + Gb("既不在奖项计划中，也不在中奖结果中");
  const int batches = RecordedBatches(resultTxt);
  if (record.batchNo > batches)
    return Gb("记录中的批次(第") + std::to_string(record.batchNo) + Gb("轮)比中奖结果中记录的") +
           std::to_string(batches) + Gb("批还多");
  const int winners = recorded == recordedAwardWinners.end() ? 0 : recorded->second;
  if (record.drawnInAward > winners)
    return Gb("记录中") + Quoted(record.lastAwardName) + Gb("的已抽人数(") + std::to_string(record.drawnInAward) +
           Gb("名)比中奖结果中记录的") + std::to_string(winners) + Gb("名还多");
  return {};
}

bool IsOneBatch(const ExitRecord& record, const SurplusBatch& batch, const Known& pool) {
  if (!batch.readable || batch.winners.empty()) return false;
  for (const auto& winner : batch.winners)
    if (!pool.contains(winner)) return false;
  for (const auto& stored : record.plan) {
    const PlanLine line(stored);
    if (line.award == batch.award && LeadingInteger(line.batchSize) == static_cast<long long>(batch.winners.size()))
      return true;
  }
  return false;
}

}  // namespace

std::string ListChangeNote(const ResumeVerdict& verdict) {
  if (!verdict.ListChanged()) return {};
  auto filled = [](const char* text, const char* marker, int value) {
    std::string s = Gb(text);
    s.replace(s.find(marker), 2, std::to_string(value));
    return s;
  };
  std::string note = filled(texts::kListChangedNote, "%a", verdict.listAdded);
  note.replace(note.find("%r"), 2, std::to_string(verdict.listRemoved));
  if (verdict.listAdded > 0) note += Gb(texts::kListChangedAdded);
  if (verdict.removedStillInPool > 0)
    note += filled(texts::kListChangedRemovedInPool, "%p", verdict.removedStillInPool);
  return note + Gb(texts::kListChangedChoice);
}

bool WellFormedPlanLine(const PlanLine& line) {
  if (!line.complete || line.award.empty()) return false;
  for (const std::string* number : {&line.quota, &line.batchCount, &line.batchNumber})
    if (LeadingInteger(*number) < 1) return false;
  return true;
}

ResumeVerdict CheckResumeRecord(const ExitRecord& record, const std::vector<std::string>& listEntries,
                                std::string_view resultDat, std::string_view resultTxt, bool repeatAllowed) {
  ResumeVerdict verdict;
  auto fail = [&](std::string problem) {
    verdict.problem = std::move(problem);
    return verdict;
  };
  if (record.resultDatSize < 0 || record.resultTxtSize < 0) return fail(Gb("记录中没有中奖结果文件的大小"));
  for (std::size_t i = 0; i < record.plan.size(); ++i)
    if (!WellFormedPlanLine(PlanLine(record.plan[i])))
      return fail(Gb("记录中奖项计划的第") + std::to_string(i + 1) + Gb("行格式不正确"));
  // The list load never gives such an entry, so no draw of ours ever had one in its pool.
  for (const auto& entry : record.pool)
    if (IsBlankEntry(entry) || entry.find_first_of("-\r\n") != std::string::npos)
      return fail(Gb("待抽名单中的") + Quoted(entry) + Gb("不是名单文件能有的条目"));

  if (static_cast<long long>(resultDat.size()) < record.resultDatSize ||
      static_cast<long long>(resultTxt.size()) < record.resultTxtSize)
    return fail(Gb("中奖结果文件比记录中的短，上次的中奖结果可能已被移走或改动"));

  const auto confirmed = resultDat.substr(0, static_cast<std::size_t>(record.resultDatSize));
  const auto confirmedTxt = resultTxt.substr(0, static_cast<std::size_t>(record.resultTxtSize));
  const Counts pool = CountOf(record.pool);
  const Counts list = CountOf(listEntries);
  Counts winners;          // every winner recorded, a mark of giving up removed
  Counts standingWinners;  // those who kept their prize
  Counts recordedAwardWinners;
  // The counts look into these fields, so they stay until the end.
  std::vector<std::vector<std::string>> datLines;
  for (const auto& line : SplitText(confirmed, "\r\n")) datLines.push_back(SplitText(line, "-"));
  for (const auto& fields : datLines) {
    if (fields.empty()) continue;
    recordedAwardWinners[fields[0]] += static_cast<int>(fields.size() > 2 ? fields.size() - 2 : 0);
    for (std::size_t i = 2; i < fields.size(); ++i) {
      const std::string_view winner = WithoutAbandonMark(fields[i]);
      ++winners[winner];
      if (winner.size() == fields[i].size()) ++standingWinners[winner];
    }
  }
  if (!repeatAllowed) {
    // A winner who kept the prize has left the pool: finding the entry there again means more of
    // them than the list ever held.
    for (const auto& [winner, won] : standingWinners) {
      const auto inPool = pool.find(winner);
      const auto inList = list.find(winner);
      if (inPool != pool.end() && inPool->second + won > (inList == list.end() ? 0 : inList->second))
        return fail(Gb("中奖者") + Quoted(winner) + Gb("又出现在待抽名单中"));
    }
  }
  const bool planned = std::any_of(record.plan.begin(), record.plan.end(), [&](const std::string& line) {
    return PlanLine(line).award == record.lastAwardName;
  });
  if (auto problem = CheckCounters(record, recordedAwardWinners, confirmedTxt, planned); !problem.empty())
    return fail(problem);

  // A draw among those signed in never held the list's other entries: they are no addition.
  if (!record.presentOnly)
    for (const auto& [entry, n] : list)
      if (!pool.contains(entry) && !winners.contains(entry)) ++verdict.listAdded;
  for (const auto& [entry, n] : pool)
    if (!list.contains(entry)) ++verdict.removedStillInPool;
  verdict.listRemoved = verdict.removedStillInPool;
  for (const auto& [entry, n] : winners)
    if (!list.contains(entry) && !pool.contains(entry)) ++verdict.listRemoved;

  const auto datSurplus = resultDat.substr(static_cast<std::size_t>(record.resultDatSize));
  const auto txtSurplus = resultTxt.substr(static_cast<std::size_t>(record.resultTxtSize));
  if (datSurplus.empty() && txtSurplus.empty()) return verdict;

  const Known inPool(record.pool.begin(), record.pool.end());
  const SurplusBatch fromDat =
      datSurplus.empty() ? SurplusBatch{} : ReadDatSurplus(confirmed, datSurplus, record.lastAwardName);
  const SurplusBatch fromTxt = txtSurplus.empty() ? SurplusBatch{} : ReadTxtSurplus(txtSurplus);
  bool oneBatch = true;
  if (!datSurplus.empty()) oneBatch = IsOneBatch(record, fromDat, inPool);
  if (oneBatch && !txtSurplus.empty()) oneBatch = IsOneBatch(record, fromTxt, inPool);
  if (oneBatch && !datSurplus.empty() && !txtSurplus.empty())
    oneBatch = fromDat.award == fromTxt.award && fromDat.winners == fromTxt.winners;
  if (!oneBatch) return fail(Gb("中奖结果文件比记录中的长，多出的内容不只是中断时正在记录的那一批"));
  verdict.unconfirmedBatch = true;
  return verdict;
}

}  // namespace kavrel
