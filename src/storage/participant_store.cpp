#include "storage/participant_store.h"

namespace kavrel {
// Filled in next.
std::optional<std::vector<std::string>> LoadPool(const ProgramDir&) { return std::nullopt; }
std::string BuildSetDatText(const std::vector<std::string>&) { return {}; }
bool NeedsDisplayColumns(int dataColumnCount) { return dataColumnCount > 1; }
std::string DisplayColumnsTitle() { return {}; }
std::string DisplayColumnsPrompt() { return {}; }
std::vector<std::string> BuildEntries(const std::vector<std::vector<std::string>>&, int, const std::optional<std::string>&) { return {}; }
bool SavePool(const ProgramDir&, const std::vector<std::string>&) { return false; }
bool SavePictureList(const ProgramDir&, Settings&, const std::vector<std::string>&, const std::string&, bool) { return false; }
bool DeletePoolFile(const ProgramDir&) { return false; }
bool DeleteEditorTableFile(const ProgramDir&) { return false; }
}  // namespace kavrel
