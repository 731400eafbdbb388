#pragma once

namespace kavrel {

// Which of the four result views the opener wants; the numbers are the ones the stage
// commands have always used.
enum class ResultViewMode {
  WinnerList = 1,     // every result line, newest first, in the red text box
  NonWinnerList = 2,  // the entries still in the candidate pool
  LatestAward = 3,    // the last result line in two columns on a picture
  WinnerShow = 4,     // the borderless scrolling presentation with its music
};

}  // namespace kavrel
