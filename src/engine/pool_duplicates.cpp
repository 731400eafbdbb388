#include "engine/pool_duplicates.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace kavrel {

Duplicates FindDuplicates(const std::vector<std::string>& entries) {
  Duplicates found;
  std::unordered_map<std::string_view, int> seen;
  seen.reserve(entries.size());
  for (const auto& e : entries) {
    const int n = ++seen[e];
    if (n == 1) continue;
    ++found.extraCopies;
    if (n == 2) {
      ++found.entries;
      if (found.first.empty()) found.first = e;
    }
  }
  return found;
}

void RemoveExtraCopies(std::vector<std::string>& entries) {
  std::unordered_set<std::string> seen;
  seen.reserve(entries.size());
  std::size_t out = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!seen.insert(entries[i]).second) continue;
    if (out != i) entries[out] = entries[i];
    ++out;
  }
  entries.resize(out);
}

}  // namespace kavrel
