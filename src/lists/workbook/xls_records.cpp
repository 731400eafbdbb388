// FreeXL reads the values of an .xls, but not formula errors, number formats, hidden rows or merged
// ranges. No other library in the distribution reads BIFF8 (libgsf would bring GLib for one stream),
// so the few records needed are read here: the compound file's sector chains to the "Workbook"
// stream, then FORMAT, XF and BOUNDSHEET in the globals and ROW, MERGEDCELLS, BOOLERR, FORMULA,
// NUMBER, RK and MULRK in the chosen sheet. Every offset is checked against the bytes there are.
#include "lists/workbook/xls_records.h"

#include <QString>
#include <map>
#include <optional>

#include "lists/workbook/date_text.h"

namespace kavrel::workbook {

namespace {

std::uint16_t U16(std::string_view b, std::size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

std::uint32_t U32(std::string_view b, std::size_t at) {
  if (at + 4 > b.size()) return 0;
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::size_t kMaxStream = std::size_t{1} << 30;

// A compound file (the container of every Office 97-2003 document), read only as far as one
// stream by name.
class CompoundFile {
 public:
  explicit CompoundFile(std::string_view bytes) : b_(bytes) {}

  std::optional<std::string> Stream(std::u16string_view wanted) {
    if (b_.size() < 512 || b_.substr(0, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
      return std::nullopt;
    const int shift = U16(b_, 0x1E);
    const int miniShift = U16(b_, 0x20);
    if (shift != 9 && shift != 12) return std::nullopt;
    if (miniShift != 6) return std::nullopt;
    sector_ = std::size_t{1} << shift;
    if (!ReadFat()) return std::nullopt;
    const auto directory = Chain(U32(b_, 0x30));
    if (!directory) return std::nullopt;
    const std::uint32_t cutoff = U32(b_, 0x38);
    std::optional<std::string> miniStream;
    for (std::size_t at = 0; at + 128 <= directory->size(); at += 128) {
      const std::string_view entry = std::string_view(*directory).substr(at, 128);
      const std::size_t nameBytes = U16(entry, 0x40);
      const int type = static_cast<unsigned char>(entry[0x42]);
      const std::uint32_t start = U32(entry, 0x74);
      const std::uint32_t size = U32(entry, 0x78);
      if (type == 5 && at == 0) {  // the root: the mini stream small streams live in
        miniStream = Chain(start, size);
        continue;
      }
      if (type != 2 || nameBytes < 2 || nameBytes > 64) continue;
      std::u16string name;
      for (std::size_t i = 0; i + 2 < nameBytes; i += 2) name += static_cast<char16_t>(U16(entry, i));
      if (QString::fromStdU16String(name).compare(QString::fromStdU16String(std::u16string(wanted)),
                                                  Qt::CaseInsensitive) != 0)
        continue;
      if (size >= cutoff) return Chain(start, size);
      if (!miniStream) return std::nullopt;
      return MiniChain(*miniStream, start, size);
    }
    return std::nullopt;
  }

 private:
  bool ReadFat() {
    std::vector<std::uint32_t> fatSectors;
    const std::uint32_t count = U32(b_, 0x2C);
    for (std::size_t i = 0; i < 109 && fatSectors.size() < count; ++i) fatSectors.push_back(U32(b_, 0x4C + 4 * i));
    std::uint32_t difat = U32(b_, 0x44);
    for (std::size_t guard = 0; fatSectors.size() < count && difat < kEndOfChain && guard < 1'000'000; ++guard) {
      const std::size_t base = Offset(difat);
      if (base + sector_ > b_.size()) return false;
      for (std::size_t i = 0; i + 1 < sector_ / 4 && fatSectors.size() < count; ++i)
        fatSectors.push_back(U32(b_, base + 4 * i));
      difat = U32(b_, base + sector_ - 4);
    }
    if (fatSectors.size() < count || count > b_.size() / sector_ + 1) return false;
    fat_.reserve(fatSectors.size() * sector_ / 4);
    for (const std::uint32_t s : fatSectors) {
      const std::size_t base = Offset(s);
      if (base + sector_ > b_.size()) return false;
      for (std::size_t i = 0; i < sector_ / 4; ++i) fat_.push_back(U32(b_, base + 4 * i));
    }
    // The mini FAT is a stream of its own.
    const std::uint32_t miniStart = U32(b_, 0x3C);
    if (miniStart < kEndOfChain) {
      const auto mini = Chain(miniStart);
      if (!mini) return false;
      for (std::size_t i = 0; i + 4 <= mini->size(); i += 4) miniFat_.push_back(U32(*mini, i));
    }
    return true;
  }

  std::size_t Offset(std::uint32_t s) const { return (static_cast<std::size_t>(s) + 1) * sector_; }

  // The sectors of a chain in order, cut to `size` when given; nullopt for a chain that leaves the
  // file, loops or grows past any sane stream.
  std::optional<std::string> Chain(std::uint32_t s, std::optional<std::size_t> size = std::nullopt) {
    std::string out;
    for (std::size_t steps = 0; s < kEndOfChain; ++steps) {
      if (s >= fat_.size() || steps > fat_.size() || out.size() > kMaxStream) return std::nullopt;
      const std::size_t base = Offset(s);
      if (base + sector_ > b_.size()) {
        if (base >= b_.size()) return std::nullopt;
        out.append(b_.substr(base));  // a last sector cut short by a writer
      } else {
        out.append(b_.substr(base, sector_));
      }
      if (size && out.size() >= *size) break;
      s = fat_[s];
    }
    if (size) {
      if (out.size() < *size) return std::nullopt;
      out.resize(*size);
    }
    return out;
  }

  std::optional<std::string> MiniChain(const std::string& miniStream, std::uint32_t s, std::size_t size) {
    std::string out;
    for (std::size_t steps = 0; s < kEndOfChain && out.size() < size; ++steps) {
      if (s >= miniFat_.size() || steps > miniFat_.size()) return std::nullopt;
      const std::size_t base = static_cast<std::size_t>(s) * 64;
      if (base + 64 > miniStream.size()) return std::nullopt;
      out.append(miniStream, base, 64);
      s = miniFat_[s];
    }
    if (out.size() < size) return std::nullopt;
    out.resize(size);
    return out;
  }

  std::string_view b_;
  std::size_t sector_ = 512;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> miniFat_;
};

const char* ErrorText(int code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#N/A";
  }
}

// An XLUnicodeString (16-bit count, flags, characters) as UTF-8.
std::string UnicodeString(std::string_view b, std::size_t at) {
  const std::size_t count = U16(b, at);
  const bool wide = (static_cast<unsigned char>(at + 2 < b.size() ? b[at + 2] : 0) & 1) != 0;
  std::u16string text;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t p = at + 3 + (wide ? 2 * i : i);
    if (p + (wide ? 2 : 1) > b.size()) break;
    text += wide ? static_cast<char16_t>(U16(b, p)) : static_cast<char16_t>(static_cast<unsigned char>(b[p]));
  }
  return QString::fromStdU16String(text).toStdString();
}

// A sheet name in BOUNDSHEET: an 8-bit count, flags, characters.
std::string ShortUnicodeString(std::string_view b, std::size_t at) {
  if (at >= b.size()) return {};
  const std::size_t count = static_cast<unsigned char>(b[at]);
  const bool wide = at + 1 < b.size() && (static_cast<unsigned char>(b[at + 1]) & 1) != 0;
  std::u16string text;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t p = at + 2 + (wide ? 2 * i : i);
    if (p + (wide ? 2 : 1) > b.size()) break;
    text += wide ? static_cast<char16_t>(U16(b, p)) : static_cast<char16_t>(static_cast<unsigned char>(b[p]));
  }
  return QString::fromStdU16String(text).toStdString();
}

struct Record {
  std::uint16_t id = 0;
  std::string_view data;
};

// The records from `at` on, up to the EOF record that ends the substream.
template <typename Fn>
void ForEachRecord(std::string_view stream, std::size_t at, Fn&& fn) {
  while (at + 4 <= stream.size()) {
    const std::uint16_t id = U16(stream, at);
    const std::size_t length = U16(stream, at + 2);
    if (at + 4 + length > stream.size()) return;
    if (!fn(Record{id, stream.substr(at + 4, length)})) return;
    if (id == 0x000A) return;  // EOF
    at += 4 + length;
  }
}

}  // namespace

XlsSheetExtras ReadXlsExtras(std::string_view fileBytes, int sheetIndex, const std::string& sheetName) {
  XlsSheetExtras extras;
  CompoundFile file(fileBytes);
  std::optional<std::string> stream = file.Stream(u"Workbook");
  if (!stream) return extras;
  const std::string_view s = *stream;

  std::map<int, int> padOfFormat;                           // format index -> zeros
  std::vector<int> padOfXf;                                 // XF index -> zeros
  std::vector<std::pair<std::size_t, std::string>> sheets;  // BOF offset, name
  ForEachRecord(s, 0, [&](const Record& r) {
    if (r.id == 0x041E && r.data.size() >= 5) {  // FORMAT
      padOfFormat[U16(r.data, 0)] = ZeroPadDigits(UnicodeString(r.data, 2));
    } else if (r.id == 0x00E0 && r.data.size() >= 4) {  // XF
      const auto it = padOfFormat.find(U16(r.data, 2));
      padOfXf.push_back(it != padOfFormat.end() ? it->second : 0);
    } else if (r.id == 0x0085 && r.data.size() >= 8) {  // BOUNDSHEET
      sheets.emplace_back(U32(r.data, 0), ShortUnicodeString(r.data, 6));
    }
    return true;
  });
  // FreeXL names the sheets in the same order; the name decides where the two could disagree.
  std::optional<std::size_t> start;
  if (sheetIndex >= 0 && static_cast<std::size_t>(sheetIndex) < sheets.size() &&
      sheets[static_cast<std::size_t>(sheetIndex)].second == sheetName)
    start = sheets[static_cast<std::size_t>(sheetIndex)].first;
  for (std::size_t i = 0; !start && i < sheets.size(); ++i)
    if (sheets[i].second == sheetName) start = sheets[i].first;
  if (!start || *start >= s.size()) return extras;

  const auto padOf = [&padOfXf](std::uint16_t xf) { return xf < padOfXf.size() ? padOfXf[xf] : 0; };
  const auto notePad = [&](int row, int column, std::uint16_t xf) {
    if (const int zeros = padOf(xf); zeros > 0) extras.zeroPad[XlsSheetExtras::Key(row, column)] = zeros;
  };
  ForEachRecord(s, *start, [&](const Record& r) {
    const std::string_view d = r.data;
    switch (r.id) {
      case 0x0208:  // ROW: bit 5 of its options hides the row (a filter, or by hand)
        if (d.size() >= 14 && (U16(d, 12) & 0x0020) != 0) extras.hiddenRows.push_back(U16(d, 0));
        break;
      case 0x00E5:  // MERGEDCELLS
        for (std::size_t i = 0, n = U16(d, 0); i < n && 2 + 8 * i + 8 <= d.size(); ++i) {
          const std::size_t at = 2 + 8 * i;
          extras.merges.push_back({U16(d, at), U16(d, at + 2), U16(d, at + 4), U16(d, at + 6)});
        }
        break;
      case 0x0205:  // BOOLERR: a constant TRUE/FALSE, or an error
        if (d.size() >= 8 && d[7] != 0)
          extras.errors[XlsSheetExtras::Key(U16(d, 0), U16(d, 2))] = ErrorText(static_cast<unsigned char>(d[6]));
        break;
      case 0x0006:  // FORMULA: its cached result, an error when so marked
        if (d.size() >= 14 && U16(d, 12) == 0xFFFF && d[6] == 2)
          extras.errors[XlsSheetExtras::Key(U16(d, 0), U16(d, 2))] = ErrorText(static_cast<unsigned char>(d[8]));
        else if (d.size() >= 14 && U16(d, 12) != 0xFFFF)
          notePad(U16(d, 0), U16(d, 2), U16(d, 4));
        break;
      case 0x0203:  // NUMBER
      case 0x027E:  // RK
        if (d.size() >= 6) notePad(U16(d, 0), U16(d, 2), U16(d, 4));
        break;
      case 0x00BD:  // MULRK: row, first column, (XF, RK) pairs, last column
        for (std::size_t i = 0; d.size() >= 6 && 4 + 6 * i + 6 <= d.size() - 2; ++i)
          notePad(U16(d, 0), U16(d, 2) + static_cast<int>(i), U16(d, 4 + 6 * i));
        break;
      default:
        break;
    }
    return true;
  });
  return extras;
}

}  // namespace kavrel::workbook
