#include "storage/result_store.h"

#include <QFile>
#include <algorithm>

#include "storage/codec.h"
#include "storage/file_step.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

const std::string kSeparator(110, '-');

std::string AbandonMark() {
  return AbandonedMark();
}

// The last line of result.dat: where it starts (after the last CR LF) and its fields.
struct LastLine {
  std::size_t start = 0;
  std::vector<std::string> fields;
};

LastLine FindLastLine(const std::string& text) {
  const std::size_t crlf = text.rfind("\r\n");
  LastLine last;
  last.start = crlf == std::string::npos ? 0 : crlf + 2;
  last.fields = SplitText(std::string_view(text).substr(last.start), "-");
  return last;
}

std::string JoinFields(const std::vector<std::string>& fields, std::size_t count) {
  std::string line;
  for (std::size_t i = 0; i < count && i < fields.size(); ++i) line += fields[i] + "-";
  return line;
}

}  // namespace

// The line is split and rebuilt once, however many entries are marked: an award's line can hold
// thousands of winners.
std::vector<bool> MarkAbandonedInResultLog(std::string& text, const std::string& awardName,
                                           const std::vector<std::string>& entries) {
  std::vector<bool> marked(entries.size(), false);
  std::size_t lineEnd = text.size();
  while (true) {
    const std::size_t crlf = lineEnd == 0 ? std::string::npos : text.rfind("\r\n", lineEnd - 1);
    const std::size_t lineStart = crlf == std::string::npos ? 0 : crlf + 2;
    auto fields = SplitText(std::string_view(text).substr(lineStart, lineEnd - lineStart), "-");
    if (!fields.empty() && fields[0] == awardName) {
      bool any = false;
      for (std::size_t e = 0; e < entries.size(); ++e) {
        for (std::size_t i = fields.size(); i-- > 2;) {
          if (fields[i] != entries[e]) continue;
          fields[i] += AbandonMark();
          marked[e] = any = true;
          break;
        }
      }
      if (any) text.replace(lineStart, lineEnd - lineStart, JoinFields(fields, fields.size()));
      return marked;  // only the newest line of the award is the one shown for abandoning
    }
    if (crlf == std::string::npos) return marked;
    lineEnd = crlf;
  }
}

std::string ResultTextBlock(const std::string& awardName, const std::vector<std::string>& winners,
                            const LocalDateTime& when) {
  std::string block =
      "\r\n\r\n" + kSeparator + "\r\n\r\n" + FormatStopTime(when) + "\r\n\r\n" + Gb("【") + awardName + Gb("】") + "\t";
  for (const auto& winner : winners) block += winner + "\t";
  return block + "\r\n";
}

bool RemoveLastResultBlock(std::string& text) {
  const std::size_t separator = text.rfind(kSeparator);
  if (separator == std::string::npos) return false;
  text.erase(separator + kSeparator.size());
  return true;
}

bool MarkAbandonedInResultText(std::string& text, const std::string& awardName, const std::string& entry) {
  const std::string header = "\r\n\r\n" + Gb("【") + awardName + Gb("】") + "\t";
  std::size_t searchFrom = text.size();
  while (searchFrom > 0) {
    const std::size_t headerPos = text.rfind(header, searchFrom - 1);
    if (headerPos == std::string::npos) return false;
    searchFrom = headerPos;
    const std::size_t fieldsStart = headerPos + header.size();
    std::size_t fieldsEnd = text.find("\r\n", fieldsStart);
    if (fieldsEnd == std::string::npos) fieldsEnd = text.size();

    std::size_t markAt = std::string::npos;
    std::size_t pos = fieldsStart;
    while (pos < fieldsEnd) {
      std::size_t tab = text.find('\t', pos);  // a tab is never part of a two-byte character
      if (tab == std::string::npos || tab > fieldsEnd) tab = fieldsEnd;
      if (text.compare(pos, tab - pos, entry) == 0) markAt = tab;
      pos = tab + 1;
    }
    if (markAt != std::string::npos) {
      text.insert(markAt, AbandonMark());
      return true;
    }
  }
  return false;
}

std::string ResultLogText(const std::vector<ResultLine>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i].awardName + "-" + lines[i].prizeName + "-";
    for (const auto& winner : lines[i].winners) text += winner + "-";
  }
  return text;
}

std::vector<std::filesystem::path> ResultFilePaths(const ProgramDir& dir) {
  return {dir.Path(ProgramDir::kResultDat), dir.Path(ProgramDir::kResultTxt), dir.Path(ProgramDir::kExitIni)};
}

std::string FormatStopTime(const LocalDateTime& when) {
  std::string text =
      std::to_string(when.year) + "年" + std::to_string(when.month) + "月" + std::to_string(when.day) + "日";
  if (when.second != 0) {
    text += std::to_string(when.hour) + "时" + std::to_string(when.minute) + "分" + std::to_string(when.second) + "秒";
  } else if (when.minute != 0) {
    text += std::to_string(when.hour) + "时" + std::to_string(when.minute) + "分";
  } else if (when.hour != 0) {
    text += std::to_string(when.hour) + "时";
  }
  return Gb(text);
}

const std::string& AbandonedMark() {
  static const std::string mark = Gb("(已弃奖)");
  return mark;
}

std::vector<ResultLine> LoadResultLog(const ProgramDir& dir) {
  return ParseResultLog(ReadTextFile(dir.Path(ProgramDir::kResultDat)));
}

std::vector<ResultLine> ParseResultLog(const std::string& text) {
  std::vector<ResultLine> lines;
  for (const auto& line : SplitText(text, "\r\n")) {
    auto fields = SplitText(line, "-");
    ResultLine result;
    if (!fields.empty()) result.awardName = fields[0];
    if (fields.size() > 1) result.prizeName = fields[1];
    if (fields.size() > 2) result.winners.assign(fields.begin() + 2, fields.end());
    lines.push_back(std::move(result));
  }
  return lines;
}

void AddBatchToResultLog(std::string& log, const std::string& awardName, const std::string& prizeName,
                         const std::vector<std::string>& winners, bool extendLastLine) {
  // A batch whose prize was changed for it alone does not join the line of its award's earlier
  // batches: that line names one prize for all its winners, and these won another.
  if (extendLastLine && !log.empty()) {
    const LastLine last = FindLastLine(log);
    if (last.fields.size() < 2 || last.fields[1] != prizeName) extendLastLine = false;
  }
  if (!extendLastLine || log.empty()) {
    if (!log.empty()) log += "\r\n";
    log += awardName + "-" + prizeName + "-";
  }
  for (const auto& winner : winners) log += winner + "-";
}

std::vector<std::string> RemoveLastBatchFromResultLog(std::string& log, std::size_t batchWinnerCount) {
  if (log.empty()) return {};
  const LastLine last = FindLastLine(log);
  const std::size_t winnerCount = last.fields.size() > 2 ? last.fields.size() - 2 : 0;
  const std::size_t count = std::min(batchWinnerCount, winnerCount);
  std::vector<std::string> removed(last.fields.rbegin(), last.fields.rbegin() + static_cast<std::ptrdiff_t>(count));
  if (winnerCount <= batchWinnerCount) {
    // The batch opened this line: the line goes together with the CR LF before it.
    log.erase(last.start >= 2 ? last.start - 2 : 0);
  } else {
    log.replace(last.start, std::string::npos, JoinFields(last.fields, last.fields.size() - count));
  }
  return removed;
}

namespace {

// result.dat's text from its last CR LF on (the whole text when it has none): all that decides where
// a batch goes, read from the file's end in growing pieces, so a stop reads what its award's line holds
// and not the evening's winners. nullopt when the file exists but cannot be read.
std::optional<std::string> ReadResultLogTail(const std::filesystem::path& path) {
  QFile file(detail::ToQPath(path));
  if (!file.exists()) return std::string();
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const qint64 size = file.size();
  for (qint64 piece = 4096;; piece *= 4) {
    const qint64 from = std::max<qint64>(0, size - piece);
    if (!file.seek(from)) return std::nullopt;
    const QByteArray bytes = file.read(size - from);
    if (bytes.size() != size - from) return std::nullopt;
    const qsizetype crlf = bytes.lastIndexOf("\r\n");
    if (crlf >= 0) return std::string(bytes.constData() + crlf, static_cast<std::size_t>(bytes.size() - crlf));
    if (from == 0) return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
}

}  // namespace

bool RecordBatch(const ProgramDir& dir, const std::string& awardName, const std::string& prizeName,
                 const std::vector<std::string>& winners, bool extendLastLine, const LocalDateTime& when) {
  const auto logPath = dir.Path(ProgramDir::kResultDat);
  const auto exportPath = dir.Path(ProgramDir::kResultTxt);
  // Under a step the batch is appended: the step's journal cuts off a half-written end.
  if (FileStepUnderWay(dir)) {
    const auto tail = ReadResultLogTail(logPath);
    if (!tail) return false;
    std::string grown = *tail;
    AddBatchToResultLog(grown, awardName, prizeName, winners, extendLastLine);
    return AppendToTextFiles(
        {{logPath, grown.substr(tail->size())}, {exportPath, ResultTextBlock(awardName, winners, when)}});
  }
  auto log = TryReadTextFile(logPath);
  auto exported = TryReadTextFile(exportPath);
  if (!log || !exported) return false;  // rewriting them would lose the winners recorded so far

  AddBatchToResultLog(*log, awardName, prizeName, winners, extendLastLine);
  *exported += ResultTextBlock(awardName, winners, when);

  return WriteTextFiles({{logPath, std::move(*log)}, {exportPath, std::move(*exported)}});
}

RemovedBatch RemoveLastBatch(const ProgramDir& dir, std::size_t batchWinnerCount) {
  RemovedBatch removed;
  const auto logPath = dir.Path(ProgramDir::kResultDat);
  const auto exportPath = dir.Path(ProgramDir::kResultTxt);
  auto log = TryReadTextFile(logPath);
  auto exported = TryReadTextFile(exportPath);
  if (!log || !exported) {
    removed.written = false;  // both files stay as they are, so they still agree
    return removed;
  }

  std::vector<FileWrite> writes;
  if (RemoveLastResultBlock(*exported)) writes.push_back({exportPath, std::move(*exported)});

  if (!log->empty()) {
    removed.winners = RemoveLastBatchFromResultLog(*log, batchWinnerCount);
    writes.push_back({logPath, std::move(*log)});
  }
  // Both files or neither, so they still agree when the undo fails.
  removed.written = writes.empty() || WriteTextFiles(writes);
  if (!removed.written) removed.winners.clear();
  return removed;
}

bool MarkAbandoned(const ProgramDir& dir, const std::string& awardName, const std::string& entry) {
  const AbandonMarks marks = MarkAbandonedEntries(dir, awardName, {entry});
  return marks.written && !marks.marked.empty();
}

AbandonMarks MarkAbandonedEntries(const ProgramDir& dir, const std::string& awardName,
                                  const std::vector<std::string>& entries) {
  AbandonMarks marks;
  const auto logPath = dir.Path(ProgramDir::kResultDat);
  const auto exportPath = dir.Path(ProgramDir::kResultTxt);
  const auto oldLog = TryReadTextFile(logPath);
  auto exported = TryReadTextFile(exportPath);
  if (!oldLog || !exported) {
    marks.written = false;
    return marks;
  }
  std::string log = *oldLog;
  bool exportChanged = false;
  const std::vector<bool> inLog = MarkAbandonedInResultLog(log, awardName, entries);
  for (std::size_t e = 0; e < entries.size(); ++e) {
    // result.dat is what the program reads back (the winner lists, the resume check); result.txt is
    // only for people, so an entry found in result.dat alone still counts as marked.
    if (!inLog[e]) continue;
    exportChanged = MarkAbandonedInResultText(*exported, awardName, entries[e]) || exportChanged;
    marks.marked.push_back(entries[e]);
  }
  if (marks.marked.empty()) return marks;
  // The two files must keep telling the same story: both are marked, or neither.
  std::vector<FileWrite> writes{{logPath, std::move(log)}};
  if (exportChanged) writes.push_back({exportPath, std::move(*exported)});
  if (!WriteTextFiles(writes)) {
    marks.written = false;
    marks.marked.clear();
  }
  return marks;
}

}  // namespace kavrel
