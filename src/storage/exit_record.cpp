#include <algorithm>

#include "storage/ini_text.h"
#include "storage/number_text.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

std::string JoinWithDashes(const std::vector<std::string>& items) {
  std::size_t size = 0;
  for (const auto& item : items) size += item.size() + 2;
  std::string value;
  value.reserve(size);
  for (const auto& item : items) {
    value += item;
    value += "--";
  }
  return value;
}

}  // namespace

// Written as one whole INI file rather than key by key: the values hold the whole remaining
// pool and plan, and five rewrites of a large file would be slow and not atomic as a record.
bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record) {
  detail::IniLines ini;
  ini.lines = {"[exit]",
               "number=" + JoinWithDashes(record.pool),
               "award_list=" + JoinWithDashes(record.plan),
               "award_name=" + record.lastAwardName,
               "index=" + std::to_string(record.batchNo),
               "index_number=" + std::to_string(record.drawnInAward)};
  return WriteTextFile(dir.Path(ProgramDir::kExitIni), detail::JoinIniLines(ini));
}

bool DeleteExitRecord(const ProgramDir& dir) {
  return DeleteFile(dir.Path(ProgramDir::kExitIni));
}

std::optional<ExitRecord> ReadExitRecord(const ProgramDir& dir) {
  const auto path = dir.Path(ProgramDir::kExitIni);
  if (!FileExists(path)) return std::nullopt;
  const detail::IniLines ini = detail::ParseIniLines(ReadTextFile(path));
  // Values are taken exactly as written (no trimming of blanks or quotes), so a pool entry
  // beginning with a blank or an award name in quotes comes back unchanged, at any length.
  auto raw = [&](const char* key) { return detail::FindIniValue(ini, "exit", key).value_or(std::string()); };

  ExitRecord record;
  record.pool = SplitText(raw("number"), "--");
  record.plan = SplitText(raw("award_list"), "--");
  record.lastAwardName = raw("award_name");
  record.batchNo = LeadingInt(raw("index"));
  record.drawnInAward = LeadingInt(raw("index_number"));
  return record;
}

}  // namespace kavrel
