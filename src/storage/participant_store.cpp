#include "storage/participant_store.h"

#include <QCryptographicHash>
#include <algorithm>

#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/settings.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

constexpr std::string_view kFullWidthDash = "\xA3\xAD";   // －
constexpr std::string_view kFullWidthBlank = "\xA1\xA1";  // 　

// ASCII '-' is never part of a two-byte or four-byte GB18030 character, so bytes can be replaced as found.
bool ReplaceDashes(std::string& entry) {
  std::size_t pos = entry.find('-');
  if (pos == std::string::npos) return false;
  std::string out;
  out.reserve(entry.size() + 8);
  std::size_t from = 0;
  for (; pos != std::string::npos; pos = entry.find('-', from)) {
    out.append(entry, from, pos - from);
    out += kFullWidthDash;
    from = pos + 1;
  }
  out.append(entry, from);
  entry = std::move(out);
  return true;
}

}  // namespace

bool IsBlankEntry(std::string_view entry) {
  std::size_t i = 0;
  while (i < entry.size()) {
    if (entry[i] == ' ' || entry[i] == '\t' || entry[i] == '\r') {
      ++i;
    } else if (entry.substr(i, 2) == kFullWidthBlank) {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

bool ListHasEntries(std::string_view text) {
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    if (!IsBlankEntry(text.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

bool MakeSingleLine(std::string& text) {
  // CR, LF, VT, FF and TAB are never part of a GB18030 character; the three Unicode breaks are
  // four-byte characters, matched only where a character starts.
  static constexpr std::string_view kUnicodeBreaks[] = {"\x81\x30\x81\x35", "\x81\x36\xA6\x35", "\x81\x36\xA6\x36"};
  const auto isControlBreak = [](char c) { return c == '\r' || c == '\n' || c == '\t' || c == '\v' || c == '\f'; };
  bool any = false;
  for (const char c : text)
    if (isControlBreak(c) || c == '\x81') {
      any = true;
      break;
    }
  if (!any) return false;
  std::string out;
  out.reserve(text.size());
  bool changed = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (isControlBreak(text[i])) {
      out += ' ';
      i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
      changed = true;
      continue;
    }
    std::size_t n = 1;
    if (lead >= 0x81 && lead != 0xFF && i + 1 < text.size()) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      n = second >= 0x30 && second <= 0x39 ? 4 : 2;
    }
    const std::string_view ch = std::string_view(text).substr(i, n);
    if (n == 4 && std::find(std::begin(kUnicodeBreaks), std::end(kUnicodeBreaks), ch) != std::end(kUnicodeBreaks)) {
      out += ' ';
      changed = true;
    } else {
      out += ch;
    }
    i += n;
  }
  if (changed) text = std::move(out);
  return changed;
}

std::vector<std::string> PoolEntries(std::string_view text, PoolLoadNotes* notes, int rules) {
  PoolLoadNotes counted;
  std::vector<std::string> entries = SplitLines(text);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!IsBlankEntry(entries[i]) && rules >= 1 && MakeSingleLine(entries[i])) ++counted.breaksReplaced;
    if (IsBlankEntry(entries[i])) {
      ++counted.blanksDropped;
      continue;
    }
    if (ReplaceDashes(entries[i])) ++counted.dashesReplaced;
    if (entries[i].size() > kLongEntryBytes && counted.longEntries++ == 0)
      counted.firstLongEntry = static_cast<int>(kept) + 1;
    if (kept != i) entries[kept] = std::move(entries[i]);
    ++kept;
  }
  entries.resize(kept);
  if (notes) *notes = counted;
  return entries;
}

std::optional<std::vector<std::string>> LoadPool(const ProgramDir& dir, PoolLoadNotes* notes) {
  const auto path = dir.Path(ProgramDir::kSetDat);
  if (!FileExists(path)) return std::nullopt;
  return PoolEntries(DecodeExternalText(ReadTextFile(path)), notes);
}

std::vector<std::string> LoadListLines(const ProgramDir& dir) {
  return SplitLines(DecodeExternalText(ReadTextFile(dir.Path(ProgramDir::kSetDat))));
}

std::string BuildSetDatText(const std::vector<std::string>& entries) {
  std::size_t size = 0;
  for (const auto& entry : entries) size += entry.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& entry : entries) {
    text += entry;
    text += "\r\n";
  }
  return text;
}

bool NeedsDisplayColumns(int dataColumnCount) {
  return dataColumnCount > 1;
}

std::string DisplayColumnsTitle() {
  return Gb("操作提示：");
}

std::string DisplayColumnsPrompt() {
  return Gb(
      "当前列表中存在多列数据，请输入要显示在抽奖页面信息所在的列，如果要显示多列请在两列数字之间加‘-’(如要显示第2、3、"
      "4列则输入：2-3-4)，行号为第1列，往右以此类推...");
}

std::vector<std::string> BuildEntries(const std::vector<std::vector<std::string>>& rows, int dataColumnCount,
                                      const std::optional<std::string>& displayAnswer) {
  std::vector<std::string> entries;
  entries.reserve(rows.size());
  if (!NeedsDisplayColumns(dataColumnCount)) {
    for (const auto& row : rows) entries.push_back(row.empty() ? std::string() : row.front());
    return entries;
  }

  // Table columns count the row-number column as 1, so column n is data cell n - 2.
  std::vector<int> columns;
  for (const auto& part : SplitText(displayAnswer.value_or(kDisplayColumnsDefault), "-")) {
    const int n = LeadingInt(part);
    if (n >= 1 && n <= dataColumnCount + 1) columns.push_back(n);
  }
  // An answer that names no column would save a list of blank entries; show the first data column.
  if (columns.empty()) columns.push_back(2);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::string entry;
    for (const int n : columns) {
      if (n == 1) {
        entry += std::to_string(r + 1);
      } else if (static_cast<std::size_t>(n - 2) < rows[r].size()) {
        entry += rows[r][static_cast<std::size_t>(n - 2)];
      }
      entry += "  ";
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string BuildSetDatText(const std::vector<std::vector<std::string>>& rows, int dataColumnCount,
                            const std::optional<std::string>& displayAnswer) {
  return BuildSetDatText(BuildEntries(rows, dataColumnCount, displayAnswer));
}

bool SavePool(const ProgramDir& dir, const std::vector<std::string>& entries) {
  return WriteTextFile(dir.Path(ProgramDir::kSetDat), BuildSetDatText(entries));
}

std::string SetDatLink(std::string_view setDatBytes) {
  return QCryptographicHash::hash(QByteArrayView(setDatBytes.data(), static_cast<qsizetype>(setDatBytes.size())),
                                  QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

std::optional<std::string> CurrentSetDatLink(const ProgramDir& dir) {
  const auto path = dir.Path(ProgramDir::kSetDat);
  if (!FileExists(path)) return std::nullopt;
  return SetDatLink(ReadTextFile(path));
}

EditorListSave SaveEditorList(const ProgramDir& dir, const std::string& snapshot, const std::string& setDatText,
                              const LocalDateTime& when, bool keepOld) {
  dir.EnsureConfigDir();
  const auto setDat = dir.Path(ProgramDir::kSetDat);
  if (keepOld && FileExists(setDat)) {
    // An empty list or the very same list needs no copy; every other one may be the one wanted back.
    // Only a list of the same size is read to tell.
    std::error_code error;
    const auto size = std::filesystem::file_size(setDat, error);
    bool keep = error || size != 0;
    if (keep && !error && size == setDatText.size()) {
      const std::optional<std::string> old = TryReadTextFile(setDat);
      keep = !old || *old != setDatText;
    }
    if (keep && !KeepInHistory(dir, {setDat}, when)) return EditorListSave::HistoryFailed;
  }
  // Table first: a crash between the two writes leaves a table whose link names another list,
  // which the editor notices when it opens.
  if (!WriteTextFile(dir.Path(ProgramDir::kImDataDat), snapshot)) return EditorListSave::TableFailed;
  if (!WriteTextFile(setDat, setDatText)) return EditorListSave::ListFailed;
  return EditorListSave::Ok;
}

bool SavePictureList(const ProgramDir& dir, Settings& settings, const std::vector<std::string>& fileNames,
                     const std::string& pictureFolder, bool ratio43) {
  std::vector<std::string> entries;
  entries.reserve(fileNames.size());
  for (const auto& name : fileNames) entries.push_back(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  const std::string section = Gb("图片路径");
  bool ok = SavePool(dir, entries);
  ok = settings.WriteText(section, Gb("图片前缀"), pictureFolder) && ok;
  ok = settings.WriteText(section, Gb("图片比例"), ratio43 ? "4:3" : "3:4") && ok;
  return ok;
}

std::filesystem::path PictureFilePath(const std::string& gbPictureFolder, const std::string& entry) {
  // Only the folder's backslashes are separators; the entry is one file name whatever it holds.
  const auto folder = NativePath(gbPictureFolder);
  auto path = folder / detail::FromQPath(ToQt(entry + ".jpg"));
  if (entry.find(kFullWidthDash) == std::string::npos || FileExists(path)) return path;
  std::string original = entry;
  for (std::size_t pos = original.find(kFullWidthDash); pos != std::string::npos;
       pos = original.find(kFullWidthDash, pos + 1))
    original.replace(pos, kFullWidthDash.size(), "-");
  const auto withDash = folder / detail::FromQPath(ToQt(original + ".jpg"));
  return FileExists(withDash) ? withDash : path;
}

bool PutPoolFileAside(const ProgramDir& dir, const LocalDateTime& when) {
  const auto setDat = dir.Path(ProgramDir::kSetDat);
  return !FileExists(setDat) || MoveToHistory(dir, {setDat}, when) || DeleteFile(setDat);
}

}  // namespace kavrel
