#include "storage/award_store.h"

namespace kavrel {
// Filled in next.
std::vector<AwardRow> LoadAwardTable(const ProgramDir&) { return {}; }
std::string BuildAwardTableText(const std::vector<AwardRow>&) { return {}; }
SaveAwardResult SaveAwardTable(const ProgramDir&, Settings&, const std::vector<AwardRow>&) { return {}; }
std::string BuildBatchPlanText(const std::vector<AwardRow>&, bool) { return {}; }
bool WriteBatchPlan(const ProgramDir&, const std::vector<AwardRow>&, bool) { return false; }
std::vector<std::string> LoadPlan(const ProgramDir&) { return {}; }
std::string DrawerCaptionKey(const std::string&, const std::string&, const std::string&) { return {}; }
std::vector<DrawerCaption> LoadDrawerCaptions(const ProgramDir&) { return {}; }
std::string BuildDrawerCaptionText(const std::vector<DrawerCaption>&) { return {}; }
bool SaveDrawerCaptions(const ProgramDir&, const std::vector<DrawerCaption>&) { return false; }
}  // namespace kavrel
