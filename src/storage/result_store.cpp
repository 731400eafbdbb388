#include "storage/result_store.h"

namespace kavrel {
// Filled in next.
std::string FormatStopTime(const LocalDateTime&) { return {}; }
std::vector<ResultLine> LoadResultLog(const ProgramDir&) { return {}; }
bool RecordBatch(const ProgramDir&, const std::string&, const std::string&, const std::vector<std::string>&, bool, const LocalDateTime&) { return false; }
RemovedBatch RemoveLastBatch(const ProgramDir&, std::size_t) { return {}; }
bool MarkAbandoned(const ProgramDir&, const std::string&, const std::string&) { return false; }
bool WriteExitRecord(const ProgramDir&, const ExitRecord&) { return false; }
std::optional<ExitRecord> ReadExitRecord(const ProgramDir&) { return std::nullopt; }
}  // namespace kavrel
