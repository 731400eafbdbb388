#include "engine/pool_duplicates.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "storage/entry_key.h"

namespace kavrel {

namespace {

std::string KeyOf(const std::string& entry, DuplicateRule rule) {
  return rule == DuplicateRule::SameBytes ? entry : EntryKey(entry);
}

}  // namespace

Duplicates FindDuplicates(const std::vector<std::string>& entries, DuplicateRule rule) {
  Duplicates found;
  struct Seen {
    std::size_t first = 0;  // index of the first occurrence
    long long count = 0;
  };
  std::unordered_map<std::string, Seen> seen;
  seen.reserve(entries.size());
  std::vector<std::size_t> repeated;  // first occurrences of the repeated entries, in list order
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Seen& s = seen.try_emplace(KeyOf(entries[i], rule), Seen{i, 0}).first->second;
    const long long n = ++s.count;
    if (n == 1) continue;
    ++found.extraCopies;
    if (n == 2) {
      ++found.entries;
      if (found.first.empty()) found.first = entries[s.first];
      repeated.push_back(s.first);
    }
  }
  if (repeated.empty()) return found;
  std::sort(repeated.begin(), repeated.end());
  std::vector<RepeatedEntry> all;
  all.reserve(repeated.size());
  for (const std::size_t i : repeated) all.push_back({entries[i], seen.at(KeyOf(entries[i], rule)).count});
  std::stable_sort(all.begin(), all.end(),
                   [](const RepeatedEntry& a, const RepeatedEntry& b) { return a.copies > b.copies; });
  all.resize(std::min(all.size(), kMostRepeated));
  found.most = std::move(all);
  return found;
}

void RemoveExtraCopies(std::vector<std::string>& entries, DuplicateRule rule) {
  std::unordered_set<std::string> seen;
  seen.reserve(entries.size());
  std::size_t out = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!seen.insert(KeyOf(entries[i], rule)).second) continue;
    if (out != i) entries[out] = entries[i];
    ++out;
  }
  entries.resize(out);
}

}  // namespace kavrel
