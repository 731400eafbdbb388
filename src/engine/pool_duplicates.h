#pragma once

#include <string>
#include <vector>

namespace kavrel {

// Entries of a list that occur more than once: a person pasted twice, or a list joined with itself,
// who would otherwise hold several tickets without anyone saying so.
struct Duplicates {
  long long extraCopies = 0;  // occurrences after each entry's first
  long long entries = 0;      // entries that have extra copies
  std::string first;          // the first such entry (GB18030), for the message
};
Duplicates FindDuplicates(const std::vector<std::string>& entries);

// Removes every copy after an entry's first occurrence; the rest keep their order.
void RemoveExtraCopies(std::vector<std::string>& entries);

}  // namespace kavrel
