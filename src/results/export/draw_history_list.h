#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "engine/ports/clock.h"
#include "storage/draw_history.h"

namespace kavrel {

class ProgramDir;

// One row of the history window: the current draw or a folder below history/.
struct PastDraw {
  DrawRecord record;
  std::optional<LocalDateTime> drawnAt;  // the first recorded batch's time, from result.txt
  std::optional<LocalDateTime> when;     // put aside: from the folder's name; none for the current draw or an odd name
  QString label;                         // what the time column shows: when it was drawn, as far as known
  QString putAsideLabel;                 // when it was put aside; empty for the current draw
  int awards = 0;                        // distinct award names
  int winners = 0;
  int abandoned = 0;
  HistoryReason reason = HistoryReason::NotRecorded;
  bool hasResults = false;
  QString note;  // what is wrong or missing, for the user; empty when all is well
};

// The current draw first, then every history folder, newest first. Reads only result.dat and the
// note of each folder, so that hundreds of folders list quickly; a folder that cannot be read is
// listed with a note rather than left out.
std::vector<PastDraw> ListPastDraws(const ProgramDir& dir);

// Reads one draw's row (also used to refresh the current draw after a change).
PastDraw ReadPastDraw(const DrawRecord& record);

// The newest history folder that holds winners: what F6 offers before the fresh draw has any.
std::optional<PastDraw> LatestPastDrawWithResults(const ProgramDir& dir);

// "新开始", "重新开始", "切换抽奖模式", … and "未记录" for folders made before the reason was kept.
QString ReasonText(HistoryReason reason);

// yyyyMMdd-HHmmss[-n] as a time; nullopt for any other name.
std::optional<LocalDateTime> ParseHistoryStamp(const QString& folderName);

// A batch's time as result.txt writes it ("2026年12月9日20时5分9秒", trailing zero parts left out) as a
// time; nullopt for any other text.
std::optional<LocalDateTime> ParseDrawnAt(const QString& text);

// "2026-12-09 20:05:09".
QString TimeLabel(const LocalDateTime& when);

}  // namespace kavrel
