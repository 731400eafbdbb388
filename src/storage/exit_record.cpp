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
  if (record.resultDatSize >= 0 && record.resultTxtSize >= 0) {
    ini.lines.push_back("result_size=" + std::to_string(record.resultDatSize));
    ini.lines.push_back("log_size=" + std::to_string(record.resultTxtSize));
  }
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
  const auto datSize = detail::FindIniValue(ini, "exit", "result_size");
  const auto txtSize = detail::FindIniValue(ini, "exit", "log_size");
  if (datSize && txtSize && !datSize->empty() && !txtSize->empty()) {
    record.resultDatSize = LeadingInteger(*datSize);
    record.resultTxtSize = LeadingInteger(*txtSize);
  }
  return record;
}

bool TrimUnconfirmedResults(const ProgramDir& dir, const ExitRecord& record) {
  bool ok = true;
  auto trim = [&](std::string_view suffix, long long keep) {
    if (keep < 0) return;
    const auto path = dir.Path(suffix);
    const auto text = TryReadTextFile(path);
    if (!text || static_cast<long long>(text->size()) <= keep) return;
    ok = WriteTextFile(path, text->substr(0, static_cast<std::size_t>(keep))) && ok;
  };
  trim(ProgramDir::kResultDat, record.resultDatSize);
  trim(ProgramDir::kResultTxt, record.resultTxtSize);
  return ok;
}

}  // namespace kavrel
