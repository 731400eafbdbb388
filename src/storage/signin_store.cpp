#include "storage/signin_store.h"

#include <cstdio>

#include "storage/program_dir.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

constexpr std::size_t kStampLength = 19;  // "yyyy-MM-dd HH:mm:ss"

std::string StampText(const LocalDateTime& at) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month, at.day, at.hour, at.minute,
                at.second);
  return buffer;
}

// Digits at the given places and the separators between them, each field in its range.
std::optional<LocalDateTime> ParseStamp(std::string_view s) {
  if (s.size() != kStampLength || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
    return std::nullopt;
  auto field = [&](std::size_t at, std::size_t length, int low, int high) -> std::optional<int> {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (s[i] < '0' || s[i] > '9') return std::nullopt;
      value = value * 10 + (s[i] - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
  };
  const auto year = field(0, 4, 1, 9999), month = field(5, 2, 1, 12), day = field(8, 2, 1, 31),
             hour = field(11, 2, 0, 23), minute = field(14, 2, 0, 59), second = field(17, 2, 0, 60);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  return LocalDateTime{*year, *month, *day, *hour, *minute, *second};
}

}  // namespace

std::string BuildSigninText(const std::vector<SigninRecord>& records) {
  std::string text;
  text.reserve(records.size() * 48);
  for (const auto& record : records) {
    text += StampText(record.at);
    text += '\t';
    text += record.entry;
    if (!record.address.empty()) {
      text += '\t';
      text += record.address;
    }
    text += "\r\n";
  }
  return text;
}

SigninFile ParseSigninText(std::string_view text) {
  SigninFile file;
  SigninBook seen;
  int lineNumber = 0;
  for (const auto& line : SplitLines(text)) {
    ++lineNumber;
    if (line.empty()) continue;
    const auto tab = line.find('\t');
    const auto stamp = tab == std::string::npos ? std::nullopt : ParseStamp(std::string_view(line).substr(0, tab));
    if (!stamp || tab + 1 >= line.size()) {
      if (file.damagedLines++ == 0) file.firstDamagedLine = lineNumber;
      continue;
    }
    const auto second = line.find('\t', tab + 1);
    std::string entry = line.substr(tab + 1, second == std::string::npos ? std::string::npos : second - tab - 1);
    std::string address = second == std::string::npos ? std::string() : line.substr(second + 1);
    if (entry.empty()) {
      if (file.damagedLines++ == 0) file.firstDamagedLine = lineNumber;
      continue;
    }
    if (seen.Add(entry, *stamp) == SigninBook::AddResult::AlreadySignedIn) {
      ++file.repeatedLines;
      continue;
    }
    file.records.push_back({std::move(entry), *stamp, std::move(address)});
  }
  return file;
}

std::optional<SigninFile> LoadSignins(const ProgramDir& dir) {
  const auto bytes = TryReadTextFile(dir.Path(ProgramDir::kSigninDat));
  if (!bytes) return std::nullopt;
  return ParseSigninText(*bytes);
}

bool SaveSignins(const ProgramDir& dir, const std::vector<SigninRecord>& records) {
  if (!dir.EnsureConfigDir()) return false;
  return WriteTextFile(dir.Path(ProgramDir::kSigninDat), BuildSigninText(records));
}

SigninBook::SigninBook(std::vector<SigninRecord> records) {
  for (auto& record : records) Add(std::move(record.entry), record.at, std::move(record.address));
}

SigninBook::AddResult SigninBook::Add(std::string entry, const LocalDateTime& at, std::string address) {
  if (!entries_.insert(entry).second) return AddResult::AlreadySignedIn;
  records_.push_back({std::move(entry), at, std::move(address)});
  return AddResult::Added;
}

bool SigninBook::Remove(std::string_view entry) {
  const auto it = entries_.find(std::string(entry));
  if (it == entries_.end()) return false;
  entries_.erase(it);
  std::erase_if(records_, [&](const SigninRecord& r) { return r.entry == entry; });
  return true;
}

bool SigninBook::Contains(std::string_view entry) const {
  return entries_.count(std::string(entry)) != 0;
}

void SigninBook::Clear() {
  records_.clear();
  entries_.clear();
}

std::vector<std::string> SigninBook::Present(const std::vector<std::string>& pool) const {
  std::vector<std::string> present;
  for (const auto& entry : pool)
    if (Contains(entry)) present.push_back(entry);
  return present;
}

}  // namespace kavrel
