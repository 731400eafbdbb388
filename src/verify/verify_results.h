#pragma once

#include <optional>
#include <string>
#include <vector>

#include "verify/draw_verifier.h"

namespace kavrel {

// Holds config\result.dat and result.txt to the batches the replay left standing (entries already
// normalised as the log holds them). Returns the first difference (UTF-8), or nothing. With
// `allowOneMore` the files may hold one batch more (the last receipt was cut short); with
// `checkTimes` each block's time in result.txt must be its receipt's.
std::optional<std::string> CompareResultFiles(const DrawEvidence& evidence, const std::vector<VerifiedBatch>& standing,
                                              bool allowOneMore, bool checkTimes);

}  // namespace kavrel
