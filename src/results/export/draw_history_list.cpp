#include "results/export/draw_history_list.h"

#include "results/export/winner_table.h"

#include <QDir>
#include <QRegularExpression>
#include <set>

#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

// Digits that only look like a time (month 13, 25 o'clock) are no time.
std::optional<LocalDateTime> Plausible(const LocalDateTime& when) {
  if (when.month < 1 || when.month > 12 || when.day < 1 || when.day > 31 || when.hour > 23 || when.minute > 59 ||
      when.second > 59)
    return std::nullopt;
  return when;
}

}  // namespace

std::optional<LocalDateTime> ParseHistoryStamp(const QString& folderName) {
  static const QRegularExpression stamp(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})(\\d{2})(-\\d+)?$"));
  const auto m = stamp.match(folderName);
  if (!m.hasMatch()) return std::nullopt;
  LocalDateTime when{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                     m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()};
  return Plausible(when);
}

std::optional<LocalDateTime> ParseDrawnAt(const QString& text) {
  static const QRegularExpression stamp(
      QStringLiteral("^(\\d{4})年(\\d{1,2})月(\\d{1,2})日(?:(\\d{1,2})时(?:(\\d{1,2})分(?:(\\d{1,2})秒)?)?)?$"));
  const auto m = stamp.match(text);
  if (!m.hasMatch()) return std::nullopt;
  // Parts left out were zero.
  LocalDateTime when{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                     m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()};
  return Plausible(when);
}

QString TimeLabel(const LocalDateTime& when) {
  return QStringLiteral("%1-%2-%3 %4:%5:%6")
      .arg(when.year)
      .arg(when.month, 2, 10, QLatin1Char('0'))
      .arg(when.day, 2, 10, QLatin1Char('0'))
      .arg(when.hour, 2, 10, QLatin1Char('0'))
      .arg(when.minute, 2, 10, QLatin1Char('0'))
      .arg(when.second, 2, 10, QLatin1Char('0'));
}

namespace {

// When the draw was drawn: its first recorded batch. The folder's name only says when it was put
// aside, which may be days later (the next start, a restart, a mode switch).
std::optional<LocalDateTime> FirstBatchTime(const DrawRecord& record) {
  const auto text = TryReadTextFile(record.resultTxt);
  if (!text) return std::nullopt;
  for (const LoggedBatch& batch : ParseResultExport(*text))
    if (const auto when = ParseDrawnAt(ToQt(batch.drawnAt))) return when;
  return std::nullopt;
}

}  // namespace

QString ReasonText(HistoryReason reason) {
  switch (reason) {
    case HistoryReason::NewStart:
      return QStringLiteral("新开始（启动时未继续上次抽奖）");
    case HistoryReason::Restart:
      return QStringLiteral("重新开始抽奖");
    case HistoryReason::ModeSwitch:
      return QStringLiteral("切换抽奖模式");
    case HistoryReason::ListOrAwardsSaved:
      return QStringLiteral("修改名单或奖项后重新开始");
    case HistoryReason::BroughtBack:
      return QStringLiteral("恢复历史记录前保存");
    case HistoryReason::NotRecorded:
      break;
  }
  return QStringLiteral("未记录");
}

PastDraw ReadPastDraw(const DrawRecord& record) {
  PastDraw draw;
  draw.record = record;
  draw.drawnAt = FirstBatchTime(record);
  if (record.current) {
    draw.label =
        draw.drawnAt ? QStringLiteral("当前抽奖（%1 开始）").arg(TimeLabel(*draw.drawnAt)) : QStringLiteral("当前抽奖");
  } else {
    const QString name = QString::fromStdString(record.folder.filename().string());
    draw.when = ParseHistoryStamp(name);
    draw.putAsideLabel = draw.when ? TimeLabel(*draw.when) : name;
    draw.label = draw.drawnAt ? TimeLabel(*draw.drawnAt) : draw.putAsideLabel;
    draw.reason = ReadHistoryNote(record).reason;
  }

  QStringList notes;
  if (!record.current && !draw.when) notes << QStringLiteral("文件夹名称不是时间");
  const auto text = TryReadTextFile(record.resultDat);
  if (!text) {
    notes << QStringLiteral("中奖结果文件已损坏，无法读取");
  } else if (text->empty()) {
    if (!record.current) notes << QStringLiteral("没有中奖结果（只保存了名单等文件）");
  } else {
    std::set<std::string> awards;
    int damaged = 0;
    for (const auto& line : ParseResultLog(*text)) {
      if (line.winners.empty() || line.awardName.find('\0') != std::string::npos) {
        ++damaged;
        continue;
      }
      awards.insert(line.awardName);
      draw.winners += static_cast<int>(line.winners.size());
      for (const auto& w : line.winners)
        if (w.size() >= AbandonedMark().size() &&
            w.compare(w.size() - AbandonedMark().size(), std::string::npos, AbandonedMark()) == 0)
          ++draw.abandoned;
    }
    draw.awards = static_cast<int>(awards.size());
    draw.hasResults = draw.winners > 0;
    if (damaged) notes << QStringLiteral("中奖结果文件有 %1 行已损坏，已略过").arg(damaged);
    if (!record.current && draw.hasResults && !draw.drawnAt)
      notes << QStringLiteral("result.txt 中没有抽取时间，显示的是移入历史的时间");
  }
  draw.note = notes.join(QStringLiteral("；"));
  return draw;
}

std::vector<PastDraw> ListPastDraws(const ProgramDir& dir) {
  std::vector<PastDraw> draws;
  draws.push_back(ReadPastDraw(CurrentDraw(dir)));
  for (const auto& folder : ListHistoryFolders(dir)) draws.push_back(ReadPastDraw(HistoryDraw(folder)));
  return draws;
}

std::optional<PastDraw> LatestPastDrawWithResults(const ProgramDir& dir) {
  for (const auto& folder : ListHistoryFolders(dir)) {
    PastDraw draw = ReadPastDraw(HistoryDraw(folder));
    if (draw.hasResults) return draw;
  }
  return std::nullopt;
}

}  // namespace kavrel
