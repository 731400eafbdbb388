#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/result_store.h"

namespace kavrel {

// Whether a resume record can be trusted, judged before the operator is offered to resume.
struct ResumeVerdict {
  std::string problem;            // why the record cannot be resumed (GB18030); empty when it can
  bool unconfirmedBatch = false;  // the result files hold the one batch whose stop the record missed
};

// A record is sound when its plan lines are well formed, its pool and the winners in result.dat
// are entries of the list (`listEntries`, as the list load gives them), and the result files are
// exactly as long as it says, or longer by exactly the one batch that was being recorded when the
// program stopped (its award is a line of the record's plan with that batch size, its winners are
// still in the record's pool, and result.dat and result.txt agree about it). Anything else would
// resume into dropped batches, strangers drawn or recorded winners cut away.
ResumeVerdict CheckResumeRecord(const ExitRecord& record, const std::vector<std::string>& listEntries,
                                std::string_view resultDat, std::string_view resultTxt);

// A plan line the draw can use: at least the seven fields, an award name, and a quota, batch count
// and batch number of at least 1.
bool WellFormedPlanLine(const std::vector<std::string>& fields);

}  // namespace kavrel
