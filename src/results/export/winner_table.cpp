#include "results/export/winner_table.h"

#include <algorithm>
#include <limits>
#include <map>

#include "storage/codec.h"
#include "storage/list_columns.h"
#include "storage/receipt_log.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

const std::string kSeparator(110, '-');

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The entry without its abandon mark, and whether it had one.
std::pair<std::string, bool> StripMark(const std::string& winner) {
  const std::string& mark = AbandonedMark();
  if (!EndsWith(winner, mark)) return {winner, false};
  return {winner.substr(0, winner.size() - mark.size()), true};
}

// Batches are matched to result lines in order; after damage (a block cut by hand, a line edited)
// the next batch of the same award that starts with this winner picks the thread up again.
class BatchCursor {
 public:
  explicit BatchCursor(const std::vector<LoggedBatch>& batches) : batches_(batches) {}

  std::string TimeOf(const std::string& award, const std::string& entry) {
    while (batch_ < batches_.size() && next_ >= batches_[batch_].winners.size()) {
      ++batch_;
      next_ = 0;
    }
    if (Matches(batch_, next_, award, entry)) return Take();
    for (std::size_t b = batch_; b < batches_.size(); ++b) {
      if (!Matches(b, 0, award, entry)) continue;
      batch_ = b;
      next_ = 0;
      return Take();
    }
    return {};
  }

 private:
  bool Matches(std::size_t b, std::size_t k, const std::string& award, const std::string& entry) const {
    return b < batches_.size() && k < batches_[b].winners.size() && batches_[b].awardName == award &&
           StripMark(batches_[b].winners[k]).first == entry;
  }
  std::string Take() {
    ++next_;
    return batches_[batch_].drawnAt;
  }

  const std::vector<LoggedBatch>& batches_;
  std::size_t batch_ = 0;
  std::size_t next_ = 0;
};

}  // namespace

std::vector<std::string> SplitEntryColumns(const std::string& entry) {
  if (!EndsWith(entry, "  ")) return {entry};
  auto columns = SplitText(entry, "  ");
  if (columns.empty()) columns.emplace_back();
  return columns;
}

namespace {

bool JoinedFromColumns(const std::string& entry) {
  return EndsWith(entry, "  ");
}

// How many columns a joined entry splits into, without splitting it. A space is never a byte of a
// two- or four-byte character, so every "  " found is a delimiter.
std::size_t ColumnCount(const std::string& entry) {
  std::size_t count = 0;
  for (std::size_t pos = entry.find("  "); pos != std::string::npos; pos = entry.find("  ", pos + 2)) ++count;
  return count;
}

bool OneCharacter(const std::string& piece) {
  const QString text = ToQt(piece);
  return (text.size() == 1 && !text[0].isSpace()) || (text.size() == 2 && text[0].isHighSurrogate());
}

bool HasPaddedPair(const std::vector<std::string>& columns) {
  for (std::size_t i = 0; i + 1 < columns.size(); ++i)
    if (OneCharacter(columns[i]) && OneCharacter(columns[i + 1])) return true;
  return false;
}

void JoinPaddedCells(std::vector<std::string>& columns, std::size_t wanted) {
  for (std::size_t i = 0; columns.size() > wanted && i + 1 < columns.size(); ++i) {
    if (OneCharacter(columns[i]) && OneCharacter(columns[i + 1])) {
      columns[i] += "  " + columns[i + 1];
      columns.erase(columns.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
  }
}

}  // namespace

void AlignEntryColumns(WinnerTable& table, const std::function<std::vector<std::string>()>& readList) {
  std::size_t fewest = std::numeric_limits<std::size_t>::max();
  bool padded = false;
  for (const WinnerRow& row : table.rows) {
    if (!JoinedFromColumns(row.entry)) continue;
    fewest = std::min(fewest, row.columns.size());
    padded = padded || HasPaddedPair(row.columns);
  }
  if (!padded) return;
  // The winners may all have padded names (a single winner, an award of two-character names): the
  // whole list says how many columns an entry has.
  if (readList)
    for (const std::string& entry : readList())
      if (JoinedFromColumns(entry)) fewest = std::min(fewest, ColumnCount(entry));
  int widest = 1;
  for (WinnerRow& row : table.rows) {
    if (JoinedFromColumns(row.entry)) JoinPaddedCells(row.columns, fewest);
    widest = std::max(widest, static_cast<int>(row.columns.size()));
  }
  table.entryColumns = widest;
}

std::vector<LoggedBatch> ParseResultExport(const std::string& text) {
  std::vector<LoggedBatch> batches;
  const std::string open = Gb("【");
  const std::string close = Gb("】");
  std::size_t pos = text.find(kSeparator);
  while (pos != std::string::npos) {
    const std::size_t start = pos + kSeparator.size();
    std::size_t end = text.find(kSeparator, start);
    const std::string block = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    pos = end;

    LoggedBatch batch;
    bool headed = false;
    for (const auto& line : SplitText(block, "\r\n")) {
      if (line.empty()) continue;
      if (!headed && line.compare(0, open.size(), open) == 0) {
        const std::size_t awardEnd = line.find(close + "\t");
        if (awardEnd == std::string::npos) break;
        batch.awardName = line.substr(open.size(), awardEnd - open.size());
        batch.winners = SplitText(std::string_view(line).substr(awardEnd + close.size() + 1), "\t");
        headed = true;
        break;
      }
      if (batch.drawnAt.empty()) batch.drawnAt = line;
    }
    // An undo leaves the separator of the batch it took back with nothing after it.
    if (headed) batches.push_back(std::move(batch));
  }
  return batches;
}

WinnerTable BuildWinnerTable(const std::vector<ResultLine>& lines, const std::vector<LoggedBatch>& batches,
                             const std::vector<AwardRow>& awardTable) {
  WinnerTable table;
  BatchCursor cursor(batches);
  std::map<std::string, std::size_t> awardIndex;
  std::vector<std::vector<std::string>> prizesOf;  // per award, in the order first drawn
  // The groups as drawn; a "补抽" line joins the latest group of its award, so the rows are laid out
  // group by group only at the end.
  std::vector<std::pair<WinnerGroup, std::vector<WinnerRow>>> drawn;
  std::map<std::string, std::size_t> latestGroup;
  const std::string redrawPrefix = Gb("补抽");
  int lineNo = 0;
  for (const auto& line : lines) {
    ++lineNo;
    if (line.winners.empty())
      table.problems.push_back("中奖结果第 " + std::to_string(lineNo) + " 行没有中奖人员，可能已损坏");

    // "补抽三等奖" (and "补抽补抽三等奖", a redraw of a redraw) belongs to 三等奖 when that award was drawn.
    std::string award = line.awardName;
    bool redrawn = false;
    for (std::string root = award; root.rfind(redrawPrefix, 0) == 0;) {
      root.erase(0, redrawPrefix.size());
      if (latestGroup.count(root)) {
        award = root;
        redrawn = true;
        break;
      }
    }

    auto [it, added] = awardIndex.try_emplace(award, table.awards.size());
    if (added) {
      AwardTotals totals;
      totals.awardName = award;
      for (const auto& row : awardTable)
        if (row.name == award) {
          totals.quota = row.quota;
          break;
        }
      table.awards.push_back(std::move(totals));
      prizesOf.emplace_back();
    }
    AwardTotals& totals = table.awards[it->second];
    // A prize changed during the event shows up as another line of the same award.
    auto& prizes = prizesOf[it->second];
    if (std::find(prizes.begin(), prizes.end(), line.prizeName) == prizes.end()) {
      totals.prizeNames += (prizes.empty() ? std::string() : Gb("、")) + line.prizeName;
      prizes.push_back(line.prizeName);
    }

    std::vector<WinnerRow>* rows = nullptr;
    if (redrawn) {
      rows = &drawn[latestGroup[award]].second;
    } else {
      latestGroup[award] = drawn.size();
      drawn.push_back({WinnerGroup{award, line.prizeName, 0, 0}, {}});
      rows = &drawn.back().second;
    }
    for (const auto& winner : line.winners) {
      WinnerRow row;
      row.awardName = award;
      row.prizeName = line.prizeName;
      row.redrawn = redrawn;
      std::tie(row.entry, row.abandoned) = StripMark(winner);
      row.columns = SplitEntryColumns(row.entry);
      row.drawnAt = cursor.TimeOf(line.awardName, row.entry);
      row.number = ++totals.drawn;
      if (row.abandoned) ++totals.abandoned;
      table.entryColumns = std::max(table.entryColumns, static_cast<int>(row.columns.size()));
      rows->push_back(std::move(row));
    }
  }
  for (auto& [group, rows] : drawn) {
    group.firstRow = table.rows.size();
    group.rowCount = rows.size();
    for (auto& row : rows) table.rows.push_back(std::move(row));
    table.groups.push_back(std::move(group));
  }
  if (!lines.empty() && batches.empty()) table.problems.push_back("没有找到 result.txt 的抽取记录，抽取时间空缺");
  return table;
}

WinnerTable LoadWinnerTable(const DrawRecord& record, const std::string& mainTitle, const std::string& subTitle) {
  const auto log = TryReadTextFile(record.resultDat);
  const auto exported = TryReadTextFile(record.resultTxt);
  WinnerTable table = BuildWinnerTable(log ? ParseResultLog(*log) : std::vector<ResultLine>{},
                                       exported ? ParseResultExport(*exported) : std::vector<LoggedBatch>{},
                                       ParseAwardTable(ReadTextFile(record.awardTable)));
  if (!log) table.problems.insert(table.problems.begin(), "无法读取中奖结果文件 result.dat");
  table.columnNames = LoadListColumnNames(record.resultDat.parent_path() / kListColumnsFileName);
  AlignEntryColumns(table, [&record] {
    const auto list = TryReadTextFile(record.sealedList);
    return list ? SplitText(*list, "\r\n") : std::vector<std::string>{};
  });
  table.mainTitle = mainTitle;
  table.subTitle = subTitle;
  if (!record.receipts.empty()) {
    const ReceiptSummary receipts = SummarizeReceipts(record.receipts);
    table.seal = receipts.seal;
    table.lastReceiptHash = receipts.lastHash;
  }
  if (!record.current) {
    const HistoryNote note = ReadHistoryNote(record);
    if (!note.mainTitle.empty() || !note.subTitle.empty()) {
      table.mainTitle = note.mainTitle;
      table.subTitle = note.subTitle;
    }
  }
  return table;
}

std::vector<std::string> WinnerHeaders(const WinnerTable& table) {
  std::vector<std::string> headers{"奖项", "奖品", "序号"};
  const bool named = table.columnNames.size() == static_cast<std::size_t>(table.entryColumns);
  if (table.entryColumns <= 1) {
    headers.emplace_back("中奖人员");
  } else {
    for (int c = 1; c <= table.entryColumns; ++c) {
      const std::string name =
          named ? ToQt(table.columnNames[static_cast<std::size_t>(c - 1)]).trimmed().toStdString() : std::string();
      headers.push_back(name.empty() ? "中奖信息" + std::to_string(c) : name);
    }
  }
  headers.emplace_back("抽取时间");
  headers.emplace_back("备注");
  return headers;
}

std::string WinnerRemark(const WinnerRow& row) {
  if (row.redrawn && row.abandoned) return "补抽，已弃奖";
  if (row.redrawn) return "补抽";
  return row.abandoned ? "已弃奖" : "";
}

}  // namespace kavrel
