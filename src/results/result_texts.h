#pragma once

#include <string>
#include <vector>

#include "engine/ports/clock.h"
#include "storage/result_store.h"

namespace kavrel {

// The texts the result views show, built from the result lines. Every text is GB18030 bytes
// with CR LF line ends, as the rest of the program keeps them; the window converts at the edge.

// Winner count as shown in the headings. A damaged line can hold fewer than two fields; it
// counts as no winners rather than a negative number.
std::string WinnerCountText(const ResultLine& line);

// The winner list: newest line first; per line a heading "award + count + 名(prize)" and then
// one winner per line, with nothing between awards. Empty when there are no lines.
std::string WinnerListText(const std::vector<ResultLine>& lines);

// The non-winner list: the heading line and every pool entry on its own line, in pool order.
std::string NonWinnerListText(const std::vector<std::string>& pool);

// The winner-show title: both stage titles, the date as YYYY-MM-DD with "  抽奖结果" and a rule
// of 50 hyphens.
std::string WinnerShowTitle(const std::string& mainTitle, const std::string& subTitle, const LocalDateTime& today);

// The scrolling list of the winner show, one entry per text line (blank lines included),
// newest award first: heading, "(prize)", the winners, then a blank line. The line count is the
// height of the list in lines; the widest line sets its width.
std::vector<std::string> WinnerShowRows(const std::vector<ResultLine>& lines);

// Rows joined, each followed by CR LF (the full text of the list).
std::string JoinRows(const std::vector<std::string>& rows);

}  // namespace kavrel
