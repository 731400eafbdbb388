#pragma once

#include <string>
#include <vector>

namespace kavrel {

// How a quota of q winners is drawn in b batches. The usual rule gives b - 1 batches of
// ceil(q / b) and the remainder last (10 in 3 -> 4+4+2). For some quotas that remainder is zero
// or negative (5 in 4 -> 2+2+2-1), which would make a batch with no winner and sizes that no
// longer add up to the quota; those are spread as evenly as possible instead, larger batches
// first (5 in 4 -> 2+1+1+1). Every batch gets at least one winner and the sizes sum to q.
// Returns an empty list when q <= 0, b <= 0 or b > q, since no such split exists.
std::vector<long long> SplitQuota(long long q, long long b);

// The "分批详情" text of a split: the sizes joined by "+" ("5+5"); a single batch is just its size.
std::string BatchDetails(const std::vector<long long>& sizes);

}  // namespace kavrel
