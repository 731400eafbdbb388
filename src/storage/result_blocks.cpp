#include "storage/result_blocks.h"

#include "storage/codec.h"

namespace kavrel {

std::vector<ResultBlock> ParseResultBlocks(const std::string& text) {
  const std::string separator(110, '-');
  const std::string open = "\r\n\r\n" + Gb("【");
  const std::string close = Gb("】") + "\t";
  std::vector<ResultBlock> blocks;
  std::size_t at = text.find(separator);
  while (at != std::string::npos) {
    const std::size_t next = text.find(separator, at + separator.size());
    const std::string block = text.substr(at + separator.size(),
                                          next == std::string::npos ? std::string::npos : next - at - separator.size());
    at = next;
    const std::size_t award = block.find(open);
    if (award == std::string::npos) continue;
    const std::size_t awardStart = award + open.size();
    const std::size_t awardEnd = block.find(close, awardStart);
    if (awardEnd == std::string::npos) continue;
    ResultBlock parsed;
    if (block.compare(0, 4, "\r\n\r\n") == 0 && award >= 4) parsed.time = block.substr(4, award - 4);
    parsed.awardName = block.substr(awardStart, awardEnd - awardStart);
    std::size_t start = awardEnd + close.size();
    const std::size_t end = block.find("\r\n", start);
    const std::string list = block.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = 0;
    while (start < list.size()) {
      std::size_t tab = list.find('\t', start);
      if (tab == std::string::npos) tab = list.size();
      parsed.winners.push_back(list.substr(start, tab - start));
      start = tab + 1;
    }
    blocks.push_back(std::move(parsed));
  }
  return blocks;
}

}  // namespace kavrel
