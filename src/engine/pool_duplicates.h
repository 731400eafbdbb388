#pragma once

#include <string>
#include <vector>

namespace kavrel {

// What makes two entries of a list one person. Draws sealed before entries were compared by
// EntryKey compared their bytes; their seals are checked by that rule still.
enum class DuplicateRule { SameBytes, SameEntryKey };

// An entry that occurs more than once, with how many tickets it holds in all.
struct RepeatedEntry {
  std::string entry;  // its first occurrence as the list writes it (GB18030)
  long long copies = 0;
};

// Entries of a list that occur more than once: a person pasted twice, or a list joined with itself,
// who would otherwise hold several tickets without anyone saying so.
struct Duplicates {
  long long extraCopies = 0;  // occurrences after each entry's first
  long long entries = 0;      // entries that have extra copies
  std::string first;          // the first such entry (GB18030), for the message
  // The repeated entries holding the most tickets, most first (ties in list order); at most
  // kMostRepeated of them.
  std::vector<RepeatedEntry> most;
};
inline constexpr std::size_t kMostRepeated = 5;
Duplicates FindDuplicates(const std::vector<std::string>& entries, DuplicateRule rule = DuplicateRule::SameEntryKey);

// Removes every copy after an entry's first occurrence; the rest keep their order.
void RemoveExtraCopies(std::vector<std::string>& entries, DuplicateRule rule = DuplicateRule::SameEntryKey);

}  // namespace kavrel
