#pragma once

#include <QPixmap>
#include <QSize>

namespace kavrel {

// The three built-in pictures of the result window.
enum class ResultPicture {
  WindowBackground,  // behind the winner list and the non-winner list
  WinnerShow,        // the winner show; its top band stays calm behind the yellow titles
  LatestAward,       // behind the latest award's two columns
};

// The picture stretched to `size`, scaled once so that painting only copies pixels. When the
// built-in picture is not available, a festive gradient of the same character is painted, so
// the window never shows an empty grey area.
QPixmap LoadResultPicture(ResultPicture which, QSize size);

}  // namespace kavrel
