#include "lists/list_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_set>

#include "engine/random_source.h"
#include "storage/codec.h"
#include "storage/entry_key.h"
#include "storage/number_text.h"
#include "storage/participant_store.h"
#include "storage/split_text.h"

namespace kavrel {

std::size_t CharBytes(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
  const unsigned char lead = byte(pos);
  if (lead < 0x81 || lead == 0xFF) return 1;
  const unsigned char second = byte(pos + 1);
  if (second >= 0x30 && second <= 0x39) return 4;  // a four-byte GB18030 character
  return 2;
}

std::size_t SnapToCharStart(std::string_view text, std::ptrdiff_t pos) {
  if (pos <= 0) return 0;
  const auto target = static_cast<std::size_t>(pos);
  if (target >= text.size()) return text.size();
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t next = i + CharBytes(text, i);
    if (next > target) return i;
    i = next;
  }
  return text.size();
}

std::string RemoveSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharBytes(text, i);
    const std::string_view ch = text.substr(i, n);
    if (ch != " " && ch != "\xA1\xA1") out += ch;
    i += n;
  }
  return out;
}

void FillFromLines(ListTable& table, std::vector<std::string> lines) {
  const int n = static_cast<int>(lines.size());
  table.ClearCells();
  table.Resize(n + 1, std::max(table.ColumnCount(), 2));
  table.SetCell(0, 0, Gb("序号"));
  table.SetCell(0, 1, Gb("抽奖名单"));
  auto& data = table.Column(1);
  for (int i = 0; i < n; ++i) data[static_cast<std::size_t>(i) + 1] = std::move(lines[static_cast<std::size_t>(i)]);
  table.RenumberRows();
  FormatListTable(table, 1, 0, n, 1);
}

void FillFromSheet(ListTable& table, std::vector<std::string> header, std::vector<std::vector<std::string>> rows) {
  // Column 0 is the row-number column the tools renumber: the sheet's own columns start at 1, so
  // its column A (often a staff number) survives every renumbering.
  std::size_t width = std::max<std::size_t>(header.size(), 1);
  for (const auto& row : rows) width = std::max(width, row.size());
  const int n = static_cast<int>(rows.size());
  table.ClearAll();
  table.Resize(n + 1, static_cast<int>(width) + 1);
  table.SetCell(0, 0, Gb("序号"));
  for (std::size_t c = 0; c < header.size(); ++c) table.SetCell(0, static_cast<int>(c) + 1, std::move(header[c]));
  for (std::size_t c = 0; c < width; ++c) {
    auto& column = table.Column(static_cast<int>(c) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
      if (c < rows[r].size()) column[r + 1] = std::move(rows[r][c]);
  }
  table.RenumberRows();
  CellFormat centre;
  centre.align = CellAlign::Centre;
  table.ApplyFormat(0, 0, n, table.LastColumn(), centre);
  FormatListTable(table, 0, 0, n, table.LastColumn());
}

namespace {

// A typed number; a text that is not a number counts 0.
double TypedNumber(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin) return 0;
  while (*end == ' ') ++end;
  if (*end != '\0' || !std::isfinite(v)) return 0;
  return v;
}

// The width a number was typed with when it was typed zero-padded ("0001" → 4), else 0: padding
// the operator typed is the width they want, even where the count of numbers is shorter.
std::size_t TypedPadding(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() < 2 || text.front() != '0') return 0;
  for (const char c : text)
    if (c < '0' || c > '9') return 0;
  return text.size();
}

std::string ZeroPadded(long long value, std::size_t width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  const std::size_t sign = value < 0 ? 1 : 0;
  if (digits.size() + sign < width) digits.insert(0, width - sign - digits.size(), '0');
  return (value < 0 ? "-" : "") + digits;
}

}  // namespace

double GeneratorSpan(const GeneratorInput& input) {
  return std::nearbyint(TypedNumber(input.end) - TypedNumber(input.start) + 1);
}

int GenerateNumbers(ListTable& table, const GeneratorInput& input, bool excludeLastDigits) {
  const double end = TypedNumber(input.end);
  const double span = GeneratorSpan(input);
  const std::size_t width = std::max({FormatNumber(span).size(), TypedPadding(input.start), TypedPadding(input.end)});
  std::vector<std::string> texts;
  for (auto cur = static_cast<long long>(std::nearbyint(TypedNumber(input.start))); static_cast<double>(cur) <= end;
       ++cur) {
    const std::string decimal = std::to_string(cur);
    if (input.exclude4 && decimal.find('4') != std::string::npos) continue;
    if (excludeLastDigits && input.excludedLastDigits[static_cast<std::size_t>(decimal.back() - '0')]) continue;
    texts.push_back(input.prefix + ZeroPadded(cur, width) + input.suffix);
  }
  int base = 0;
  if (input.clearFirst) {
    table.ClearAll();
    table.SetCell(0, 0, Gb("序号"));
    table.SetCell(0, 1, Gb("抽奖名单"));
  } else {
    base = table.DataRowCount();
  }
  const int count = static_cast<int>(texts.size());
  table.Resize(base + count + 1, std::max(table.ColumnCount(), 2));
  for (int i = 0; i < count; ++i) {
    table.SetCell(base + i + 1, 0, std::to_string(base + i + 1));
    table.SetCell(base + i + 1, 1, std::move(texts[static_cast<std::size_t>(i)]));
  }
  FormatListTable(table, 1, 0, table.DataRowCount(), 1);
  return count;
}

namespace {

std::string InsertSpaces(const std::string& t, std::ptrdiff_t at, int spaces) {
  const std::size_t cut = SnapToCharStart(t, at);
  return t.substr(0, cut) + std::string(static_cast<std::size_t>(spaces), ' ') + t.substr(cut);
}

}  // namespace

void PadEqualLength(ListTable& table, int start, int spaces) {
  auto& column = table.Column(1);
  for (int i = 1; i <= table.DataRowCount(); ++i) {
    std::string t = column[static_cast<std::size_t>(i)];
    if (t.find(' ') != std::string::npos) t = RemoveSpaces(t);
    std::erase(t, '\t');
    const auto length = static_cast<std::ptrdiff_t>(t.size());
    if (length - start == 4) {
      t = InsertSpaces(t, length - 6, spaces);
    } else {
      t = InsertSpaces(t, start, spaces);
      t = InsertSpaces(t, static_cast<std::ptrdiff_t>(t.size()) - 6, spaces);
    }
    column[static_cast<std::size_t>(i)] = std::move(t);
  }
}

bool PadTwoCharNames(ListTable& table, int column) {
  if (column < 0 || column > table.LastColumn()) return false;
  bool changed = false;
  auto& cells = table.Column(column);
  for (int i = 1; i <= table.DataRowCount(); ++i) {
    std::string& t = cells[static_cast<std::size_t>(i)];
    if (t.empty()) continue;
    const std::size_t first = CharBytes(t, 0);
    if (first >= t.size() || first + CharBytes(t, first) != t.size()) continue;
    t.insert(first, "  ");
    changed = true;
  }
  return changed;
}

void ShuffleColumn(ListTable& table, RandomSource& random) {
  auto& cells = table.Column(1);
  for (std::int64_t i = table.DataRowCount(); i >= 2; --i) {
    const std::int64_t j = random.RandomInRange(1, i);
    if (j != i) std::swap(cells[static_cast<std::size_t>(i)], cells[static_cast<std::size_t>(j)]);
  }
}

int DeleteBlankRows(ListTable& table) {
  std::vector<bool> remove(static_cast<std::size_t>(table.RowCount()), false);
  int count = 0;
  if (table.LastColumn() >= 1) {
    const auto& cells = table.Column(1);
    for (int r = 1; r <= table.DataRowCount(); ++r) {
      const std::string& t = cells[static_cast<std::size_t>(r)];
      if (t.empty() || t == "0") {
        remove[static_cast<std::size_t>(r)] = true;
        ++count;
      }
    }
  }
  table.RemoveRows(remove);
  table.RenumberRows();
  return count;
}

std::vector<DuplicateRow> FindDuplicateRows(const ListTable& table) {
  const int rows = table.DataRowCount();
  const int last = table.LastColumn();
  std::vector<DuplicateRow> duplicates;
  if (last < 1 || rows < 2) return duplicates;
  // Rows are compared through their cells in place, each cell by its entry key (so blanks that differ
  // make no other person, as in the draw's duplicates check): no key strings are kept for a million
  // rows.
  const auto key = [&table](int c, int r) { return EntryKey(table.Column(c)[static_cast<std::size_t>(r)]); };
  const auto hash = [&](int r) {
    std::size_t h = 0;
    for (int c = 1; c <= last; ++c) h = h * 1000003u ^ std::hash<std::string>()(key(c, r));
    return h;
  };
  const auto same = [&](int a, int b) {
    for (int c = 1; c <= last; ++c)
      if (key(c, a) != key(c, b)) return false;
    return true;
  };
  std::unordered_set<int, decltype(hash), decltype(same)> seen(static_cast<std::size_t>(rows), hash, same);
  for (int r = 1; r <= rows; ++r) {
    bool placeholder = true;
    for (int c = 1; c <= last && placeholder; ++c) {
      const std::string k = key(c, r);
      placeholder = k.empty() || k == "0";
    }
    if (placeholder) continue;
    const auto [at, inserted] = seen.insert(r);
    if (!inserted) duplicates.push_back({r, *at});
  }
  return duplicates;
}

int DeleteDuplicateRows(ListTable& table) {
  std::vector<bool> remove(static_cast<std::size_t>(table.RowCount()), false);
  const std::vector<DuplicateRow> duplicates = FindDuplicateRows(table);
  for (const DuplicateRow& d : duplicates) remove[static_cast<std::size_t>(d.row)] = true;
  table.RemoveRows(remove);
  table.RenumberRows();
  return static_cast<int>(duplicates.size());
}

namespace {

bool ContainsAtBoundary(std::string_view hay, std::string_view needle) {
  if (needle.size() > hay.size()) return false;
  for (std::size_t i = 0; i + needle.size() <= hay.size(); i += CharBytes(hay, i))
    if (hay.compare(i, needle.size(), needle) == 0) return true;
  return false;
}

}  // namespace

std::optional<int> FindNextRow(const ListTable& table, FindState& state) {
  const std::string needle = RemoveSpaces(state.text);
  for (int r = std::max(state.lastRow, 0) + 1; r <= table.DataRowCount(); ++r) {
    const std::string cell = RemoveSpaces(table.Cell(r, state.column));
    if (needle.empty() ? !cell.empty() : ContainsAtBoundary(cell, needle)) {
      state.lastRow = r;
      return r;
    }
  }
  return std::nullopt;
}

std::string CopyCells(const ListTable& table, int row0, int col0, int row1, int col1) {
  std::string out;
  for (int r = row0; r <= row1; ++r) {
    if (r > row0) out += "\r\n";
    for (int c = col0; c <= col1; ++c) {
      if (c > col0) out += '\t';
      out += table.Cell(r, c);
    }
  }
  return out;
}

bool PasteCells(ListTable& table, int row, int column, std::string_view text) {
  bool wrote = false;
  int r = row;
  for (const std::string& line : SplitLines(text)) {
    int c = column;
    std::size_t cellStart = 0;
    for (std::size_t i = 0;; i += CharBytes(line, i)) {
      const bool end = i >= line.size();
      if (end || line[i] == '\t' || line[i] == ',') {
        if (r < table.RowCount() && c < table.ColumnCount()) {
          table.SetCell(r, c, line.substr(cellStart, (end ? line.size() : i) - cellStart));
          wrote = true;
        }
        ++c;
        cellStart = i + 1;
      }
      if (end) break;
    }
    ++r;
  }
  return wrote;
}

std::vector<int> DisplayColumns(std::string_view answer, int lastColumn) {
  std::vector<int> columns;
  for (const std::string& part : SplitText(answer, "-")) {
    const int column = LeadingInt(part) - 1;
    if (column >= 0 && column <= lastColumn) columns.push_back(column);
  }
  return columns;
}

namespace {

// A control character, or the lead byte of the four-byte GB18030 line separators: only such an
// entry needs MakeSingleLine (find_first_of would call memchr once per byte).
bool MayHoldLineBreak(std::string_view entry) {
  for (const char c : entry) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x81) return true;
  }
  return false;
}

template <typename Sink>
void ForEachEntryPart(const ListTable& table, const std::vector<int>& columns, int row, Sink&& sink) {
  if (table.LastColumn() < 2) {
    sink(table.Cell(row, 1));
    return;
  }
  for (const int c : columns) {
    sink(table.Cell(row, c));
    sink(std::string_view("  "));
  }
}

}  // namespace

std::string BuildListText(const ListTable& table, const std::vector<int>& columns) {
  std::size_t size = 0;
  for (int r = 1; r <= table.DataRowCount(); ++r)
    ForEachEntryPart(table, columns, r, [&size](std::string_view part) { size += part.size(); });
  std::string text;
  text.reserve(size + 2 * static_cast<std::size_t>(std::max(table.DataRowCount(), 0)));
  for (int r = 1; r <= table.DataRowCount(); ++r) {
    const std::size_t start = text.size();
    ForEachEntryPart(table, columns, r, [&text](std::string_view part) { text += part; });
    // A line break in a cell would make two people of one row: the entry is made one line.
    if (MayHoldLineBreak(std::string_view(text).substr(start))) {
      std::string entry = text.substr(start);
      if (MakeSingleLine(entry)) text.replace(start, std::string::npos, entry);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace kavrel
