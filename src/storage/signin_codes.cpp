#include "storage/signin_codes.h"

#include <QRandomGenerator>

#include "storage/program_dir.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

std::string Upper(std::string_view code) {
  std::string out(code);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool WellFormed(std::string_view code) {
  if (code.size() != SigninCodes::kLength) return false;
  for (char c : code) {
    if (SigninCodes::kAlphabet.find(c) == std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

std::string SigninCodes::CodeOf(std::string_view entry) const {
  const auto it = byEntry_.find(std::string(entry));
  return it == byEntry_.end() ? std::string() : it->second;
}

std::optional<std::string> SigninCodes::EntryOf(std::string_view code) const {
  const auto it = byCode_.find(Upper(code));
  if (it == byCode_.end()) return std::nullopt;
  return it->second;
}

void SigninCodes::Put(std::string code, std::string entry) {
  byEntry_.emplace(entry, code);
  byCode_.emplace(code, entry);
  lines_.emplace_back(std::move(code), std::move(entry));
}

bool SigninCodes::Complete(const std::vector<std::string>& entries, std::function<std::size_t(std::size_t)> random) {
  if (!random) {
    random = [](std::size_t n) { return static_cast<std::size_t>(QRandomGenerator::system()->bounded(quint32(n))); };
  }
  bool added = false;
  for (const std::string& entry : entries) {
    if (entry.empty() || byEntry_.count(entry)) continue;
    std::string code;
    do {
      code.clear();
      for (std::size_t i = 0; i < kLength; ++i) code += kAlphabet[random(kAlphabet.size())];
    } while (byCode_.count(code));
    Put(std::move(code), entry);
    added = true;
  }
  return added;
}

std::string SigninCodes::Text() const {
  std::string text;
  for (const auto& [code, entry] : lines_) text += code + '\t' + entry + "\r\n";
  return text;
}

SigninCodes SigninCodes::Parse(std::string_view text) {
  SigninCodes codes;
  for (const auto& line : SplitLines(text)) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string code = Upper(std::string_view(line).substr(0, tab));
    std::string entry = line.substr(tab + 1);
    if (!WellFormed(code) || entry.empty() || codes.byCode_.count(code) || codes.byEntry_.count(entry)) continue;
    codes.Put(std::move(code), std::move(entry));
  }
  return codes;
}

std::optional<SigninCodes> LoadSigninCodes(const ProgramDir& dir) {
  const auto bytes = TryReadTextFile(dir.Path(ProgramDir::kSigninCodes));
  if (!bytes) return std::nullopt;
  return SigninCodes::Parse(*bytes);
}

bool SaveSigninCodes(const ProgramDir& dir, const SigninCodes& codes) {
  if (!dir.EnsureConfigDir()) return false;
  return WriteTextFile(dir.Path(ProgramDir::kSigninCodes), codes.Text());
}

std::optional<SigninCodes> EnsureSigninCodes(const ProgramDir& dir, const std::vector<std::string>& entries) {
  auto codes = LoadSigninCodes(dir);
  if (!codes) return std::nullopt;
  if (codes->Complete(entries) && !SaveSigninCodes(dir, *codes)) return std::nullopt;
  return codes;
}

}  // namespace kavrel
