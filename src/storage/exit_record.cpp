#include <algorithm>
#include <cstdio>

#include "storage/codec.h"
#include "storage/ini_text.h"
#include "storage/number_text.h"
#include "storage/program_dir.h"
#include "storage/result_store.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

constexpr std::string_view kChecksumKey = "checksum=";

// A line break inside a value would end its line early and cut the record there.
std::string OneLine(const std::string& item) {
  std::string value = item;
  std::replace(value.begin(), value.end(), '\r', ' ');
  std::replace(value.begin(), value.end(), '\n', ' ');
  return value;
}

std::size_t DashedSize(const std::vector<std::string>& items) {
  std::size_t size = 0;
  for (const auto& item : items) size += item.size() + 2;
  return size;
}

// Appends each item and "--" to `out`, the item made one line in place. The pool's items go
// straight into the record's one buffer: a copy per item, or of the joined pool, was most of a
// stop's cost at a pool of 100,000.
void AppendWithDashes(std::string& out, const std::vector<std::string>& items) {
  for (const auto& item : items) {
    const std::size_t start = out.size();
    out += item;
    for (auto it = out.begin() + static_cast<std::ptrdiff_t>(start); it != out.end(); ++it)
      if (*it == '\r' || *it == '\n') *it = ' ';
    out += "--";
  }
}

// Unsigned decimal digits only; a cut or hand-edited number ("abc", "12x", "") is no number.
std::optional<long long> StrictNumber(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  for (const char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  return LeadingInteger(text);
}

}  // namespace

std::string ExitRecordChecksum(std::string_view body) {
  // FNV-1a: no cryptography is needed, only a value that a cut or an edit changes.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : body) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char buffer[20];
  std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
  return buffer;
}

// Written as one whole INI file rather than key by key: the values hold the whole remaining
// pool and plan, and five rewrites of a large file would be slow and not atomic as a record.
// The last line is a checksum over everything before it, so a record cut short or edited by
// hand is recognised instead of being trusted.
std::string ExitRecordText(const ExitRecord& record) {
  const std::string awardName = OneLine(record.lastAwardName);
  std::string text;
  text.reserve(DashedSize(record.pool) + DashedSize(record.plan) + awardName.size() + 256);
  text += "[exit]\r\nnumber=";
  AppendWithDashes(text, record.pool);
  text += "\r\naward_list=";
  AppendWithDashes(text, record.plan);
  text += "\r\naward_name=" + awardName;
  text += "\r\nindex=" + std::to_string(record.batchNo);
  text += "\r\nindex_number=" + std::to_string(record.drawnInAward) + "\r\n";
  if (record.resultDatSize >= 0 && record.resultTxtSize >= 0) {
    text += "result_size=" + std::to_string(record.resultDatSize) + "\r\n";
    text += "log_size=" + std::to_string(record.resultTxtSize) + "\r\n";
  }
  if (record.presentOnly) text += "present_only=1\r\npresent_count=" + std::to_string(record.presentCount) + "\r\n";
  if (!record.seal.empty()) text += "seal=" + record.seal + "\r\n";
  const std::string checksum = ExitRecordChecksum(text);
  text += kChecksumKey;
  text += checksum;
  text += "\r\n";
  return text;
}

bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record) {
  return WriteTextFile(dir.Path(ProgramDir::kExitIni), ExitRecordText(record));
}

bool DeleteExitRecord(const ProgramDir& dir) {
  return DeleteFile(dir.Path(ProgramDir::kExitIni));
}

ExitRecordFile LoadExitRecord(const ProgramDir& dir) {
  const auto path = dir.Path(ProgramDir::kExitIni);
  if (!FileExists(path)) return {};
  const auto text = TryReadTextFile(path);
  if (!text) return {true, std::nullopt, Gb("记录文件无法读取")};
  return ParseExitRecord(*text);
}

ExitRecordFile ParseExitRecord(std::string_view text) {
  ExitRecordFile file;
  file.found = true;
  // The checksum line is the last line, and covers every byte before it.
  const std::size_t at = text.rfind(kChecksumKey);
  const bool lineStart = at != std::string_view::npos && (at == 0 || text[at - 1] == '\n');
  const std::string_view body = lineStart ? text.substr(0, at) : std::string_view();
  const std::string_view stored = lineStart ? text.substr(at + kChecksumKey.size()) : std::string_view();
  if (!lineStart || (stored != ExitRecordChecksum(body) + "\r\n" && stored != ExitRecordChecksum(body))) {
    file.problem = Gb("记录不完整或已被改动(校验值不符)");
    return file;
  }

  const detail::IniLines ini = detail::ParseIniLines(body);
  // Values are taken exactly as written (no trimming of blanks or quotes), so a pool entry
  // beginning with a blank or an award name in quotes comes back unchanged, at any length.
  auto raw = [&](const char* key) { return detail::FindIniValue(ini, "exit", key); };
  auto bad = [&](const char* key) {
    file.problem = Gb("记录中的") + key + Gb("一项无法识别");
    return file;
  };

  ExitRecord record;
  const auto number = raw("number");
  const auto plan = raw("award_list");
  const auto award = raw("award_name");
  if (!number || (!number->empty() && !number->ends_with("--"))) return bad("number");
  if (!plan || (!plan->empty() && !plan->ends_with("--"))) return bad("award_list");
  if (!award) return bad("award_name");
  record.pool = SplitText(*number, "--");
  record.plan = SplitText(*plan, "--");
  record.lastAwardName = *award;

  const auto batchNo = StrictNumber(raw("index").value_or(""));
  if (!batchNo || *batchNo > 1000000) return bad("index");
  const auto drawn = StrictNumber(raw("index_number").value_or(""));
  if (!drawn || *drawn > 100000000) return bad("index_number");
  record.batchNo = static_cast<int>(*batchNo);
  record.drawnInAward = static_cast<int>(*drawn);

  const auto datSize = raw("result_size");
  const auto txtSize = raw("log_size");
  if (datSize || txtSize) {
    const auto dat = StrictNumber(datSize.value_or(""));
    if (!dat) return bad("result_size");
    const auto txt = StrictNumber(txtSize.value_or(""));
    if (!txt) return bad("log_size");
    record.resultDatSize = *dat;
    record.resultTxtSize = *txt;
  }
  if (const auto present = raw("present_only")) {
    if (*present != "1") return bad("present_only");
    const auto count = StrictNumber(raw("present_count").value_or(""));
    if (!count) return bad("present_count");
    record.presentOnly = true;
    record.presentCount = *count;
  }
  if (const auto seal = raw("seal")) {
    if (seal->size() != 64 || seal->find_first_not_of("0123456789abcdef") != std::string::npos) return bad("seal");
    record.seal = *seal;
  }
  file.record = std::move(record);
  return file;
}

std::optional<ExitRecord> ReadExitRecord(const ProgramDir& dir) {
  return LoadExitRecord(dir).record;
}

bool TrimUnconfirmedResults(const ProgramDir& dir, const ExitRecord& record, const LocalDateTime& when) {
  const auto datPath = dir.Path(ProgramDir::kResultDat);
  const auto txtPath = dir.Path(ProgramDir::kResultTxt);
  const auto dat = TryReadTextFile(datPath);
  const auto txt = TryReadTextFile(txtPath);
  if (!dat || !txt) return false;
  auto longer = [](const std::string& text, long long keep) {
    return keep >= 0 && static_cast<long long>(text.size()) > keep;
  };
  const bool cutDat = longer(*dat, record.resultDatSize);
  const bool cutTxt = longer(*txt, record.resultTxtSize);
  if (!cutDat && !cutTxt) return true;
  // A cut is never the only copy: both files go to history as they are first.
  if (!CopyToHistory(dir, {datPath, txtPath}, when)) return false;
  std::vector<FileWrite> cuts;
  if (cutDat) cuts.push_back({datPath, dat->substr(0, static_cast<std::size_t>(record.resultDatSize))});
  if (cutTxt) cuts.push_back({txtPath, txt->substr(0, static_cast<std::size_t>(record.resultTxtSize))});
  return WriteTextFiles(cuts);
}

}  // namespace kavrel
