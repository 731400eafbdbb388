#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/plan_line.h"
#include "storage/result_store.h"

namespace kavrel {

// Whether a resume record can be trusted, judged before the operator is offered to resume.
struct ResumeVerdict {
  std::string problem;            // why the record cannot be resumed (GB18030); empty when it can
  bool unconfirmedBatch = false;  // the result files hold the one batch whose stop the record missed
  // How the list file differs from the people of the suspended draw (its pool and its winners),
  // counted in distinct entries: a list edited while the draw was suspended. The resume goes on
  // over the record's pool, so the operator is told before choosing.
  int listAdded = 0;           // in the list, but neither in the pool nor among the winners
  int listRemoved = 0;         // in the pool or among the winners, but no longer in the list
  int removedStillInPool = 0;  // of those, the ones not yet drawn
  bool ListChanged() const { return listAdded > 0 || listRemoved > 0; }
};

// A record is sound when its plan lines are well formed, its pool holds only entries a list load
// can give, and the result files are exactly as long as it says, or longer by exactly the one
// batch that was being recorded when the program stopped (its award is a line of the record's plan
// with that batch size, its winners are still in the record's pool, and result.dat and result.txt
// agree about it). Its content must also be one the draw can reach: no winner back in the pool
// (unless `repeatAllowed`, or the winner was marked as having given up), a last award that is
// recorded or still planned, and counters within that award's batch count and quota. Anything else
// would resume into dropped batches, recorded winners cut away, winners drawn twice or a stage
// announcing "第1000轮/总3轮". The list (`listEntries`, as the list load gives them) is compared, not
// trusted: a changed list is counted in the verdict.
ResumeVerdict CheckResumeRecord(const ExitRecord& record, const std::vector<std::string>& listEntries,
                                std::string_view resultDat, std::string_view resultTxt, bool repeatAllowed);

// What the resume question adds when the list changed (GB18030, beginning with a blank line); empty
// when it did not.
std::string ListChangeNote(const ResumeVerdict& verdict);

// A plan line the draw can use: at least the seven fields, an award name, and a quota, batch count
// and batch number of at least 1.
bool WellFormedPlanLine(const PlanLine& line);

}  // namespace kavrel
