#include "engine/resume_check.h"

#include <unordered_set>

#include "engine/plan.h"
#include "storage/codec.h"
#include "storage/number_text.h"
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

bool IsOneBatch(const ExitRecord& record, const SurplusBatch& batch, const Known& pool) {
  if (!batch.readable || batch.winners.empty()) return false;
  for (const auto& winner : batch.winners)
    if (!pool.contains(winner)) return false;
  for (const auto& line : record.plan) {
    const auto fields = SplitPlanLine(line);
    if (Field(fields, kAwardName) == batch.award &&
        LeadingInteger(Field(fields, kBatchSize)) == static_cast<long long>(batch.winners.size()))
      return true;
  }
  return false;
}

}  // namespace

bool WellFormedPlanLine(const std::vector<std::string>& fields) {
  if (fields.size() < 7 || Field(fields, kAwardName).empty()) return false;
  for (const int n : {kAwardQuota, kBatchCount, kBatchNumber})
    if (LeadingInteger(Field(fields, n)) < 1) return false;
  return true;
}

ResumeVerdict CheckResumeRecord(const ExitRecord& record, const std::vector<std::string>& listEntries,
                                std::string_view resultDat, std::string_view resultTxt) {
  ResumeVerdict verdict;
  auto fail = [&](std::string problem) {
    verdict.problem = std::move(problem);
    return verdict;
  };
  if (record.resultDatSize < 0 || record.resultTxtSize < 0) return fail(Gb("记录中没有中奖结果文件的大小"));
  for (std::size_t i = 0; i < record.plan.size(); ++i)
    if (!WellFormedPlanLine(SplitPlanLine(record.plan[i])))
      return fail(Gb("记录中奖项计划的第") + std::to_string(i + 1) + Gb("行格式不正确"));

  const Known list(listEntries.begin(), listEntries.end());
  for (const auto& entry : record.pool)
    if (!list.contains(entry)) return fail(Gb("待抽名单中的") + Quoted(entry) + Gb("不在名单文件 config\\set.dat 中"));

  if (static_cast<long long>(resultDat.size()) < record.resultDatSize ||
      static_cast<long long>(resultTxt.size()) < record.resultTxtSize)
    return fail(Gb("中奖结果文件比记录中的短，上次的中奖结果可能已被移走或改动"));

  const auto confirmed = resultDat.substr(0, static_cast<std::size_t>(record.resultDatSize));
  for (const auto& line : SplitText(confirmed, "\r\n")) {
    const auto fields = SplitText(line, "-");
    for (std::size_t i = 2; i < fields.size(); ++i)
      if (!list.contains(WithoutAbandonMark(fields[i])))
        return fail(Gb("中奖结果中的") + Quoted(fields[i]) + Gb("不在名单文件 config\\set.dat 中"));
  }

  const auto datSurplus = resultDat.substr(static_cast<std::size_t>(record.resultDatSize));
  const auto txtSurplus = resultTxt.substr(static_cast<std::size_t>(record.resultTxtSize));
  if (datSurplus.empty() && txtSurplus.empty()) return verdict;

  const Known pool(record.pool.begin(), record.pool.end());
  const SurplusBatch fromDat =
      datSurplus.empty() ? SurplusBatch{} : ReadDatSurplus(confirmed, datSurplus, record.lastAwardName);
  const SurplusBatch fromTxt = txtSurplus.empty() ? SurplusBatch{} : ReadTxtSurplus(txtSurplus);
  bool oneBatch = true;
  if (!datSurplus.empty()) oneBatch = IsOneBatch(record, fromDat, pool);
  if (oneBatch && !txtSurplus.empty()) oneBatch = IsOneBatch(record, fromTxt, pool);
  if (oneBatch && !datSurplus.empty() && !txtSurplus.empty())
    oneBatch = fromDat.award == fromTxt.award && fromDat.winners == fromTxt.winners;
  if (!oneBatch) return fail(Gb("中奖结果文件比记录中的长，多出的内容不只是中断时正在记录的那一批"));
  verdict.unconfirmedBatch = true;
  return verdict;
}

}  // namespace kavrel
