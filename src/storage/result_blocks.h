#pragma once

#include <string>
#include <vector>

namespace kavrel {

// One recorded batch as result.txt tells it: the award and the winners in the order written.
struct ResultBlock {
  std::string time;  // the stop's time as written above the winners
  std::string awardName;
  std::vector<std::string> winners;
};

// The blocks of a result.txt text, oldest first. A block an undo emptied (only its separator left)
// is no batch and is skipped.
std::vector<ResultBlock> ParseResultBlocks(const std::string& text);

}  // namespace kavrel
