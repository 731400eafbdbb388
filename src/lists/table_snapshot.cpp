#include "lists/table_snapshot.h"

#include <cstring>

namespace kavrel {

namespace {

constexpr std::string_view kMagic("KVIMDAT\0", 8);
// Sanity bounds well above any real list, so a damaged header cannot ask for absurd memory.
constexpr std::uint32_t kMaxColumns = 100000;
constexpr std::uint32_t kMaxRanges = 1000000;

enum FormatBits : std::uint8_t { kFace = 1, kHeight = 2, kBold = 4, kColour = 8, kAlign = 16 };

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void U64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void I32(int v) { U32(static_cast<std::uint32_t>(v)); }
  void Varint(std::uint64_t v) {
    while (v >= 0x80) {
      out_.push_back(static_cast<char>((v & 0x7F) | 0x80));
      v >>= 7;
    }
    out_.push_back(static_cast<char>(v));
  }
  void Text(const std::string& s) {
    Varint(s.size());
    out_ += s;
  }

 private:
  std::string& out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  bool ok() const { return ok_; }
  std::size_t Left() const { return in_.size() - pos_; }
  std::uint8_t U8() {
    if (!Need(1)) return 0;
    return static_cast<std::uint8_t>(in_[pos_++]);
  }
  std::uint32_t U32() {
    if (!Need(4)) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in_[pos_++])) << (8 * i);
    return v;
  }
  int I32() { return static_cast<int>(U32()); }
  std::uint64_t Varint() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const std::uint8_t b = U8();
      if (!ok_) return 0;
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    ok_ = false;
    return 0;
  }
  std::string Text() {
    const std::uint64_t n = Varint();
    if (!ok_ || !Need(n)) return {};
    std::string s(in_.substr(pos_, n));
    pos_ += n;
    return s;
  }

 private:
  bool Need(std::uint64_t n) {
    if (!ok_ || n > Left()) ok_ = false;
    return ok_;
  }
  std::string_view in_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace

std::string EncodeSnapshot(const ListTable& table, const std::string& setDatLink) {
  std::string out;
  std::size_t size = 64;
  for (int c = 0; c < table.ColumnCount(); ++c)
    for (const std::string& cell : table.Column(c)) size += cell.size() + 1;
  out.reserve(size);
  out.append(kMagic);
  Writer w(out);
  w.U32(kSnapshotVersion);
  w.Text(setDatLink);
  w.U32(static_cast<std::uint32_t>(table.RowCount()));
  w.U32(static_cast<std::uint32_t>(table.ColumnCount()));
  w.U32(table.fixedColour);
  w.U32(table.normalColour);
  w.U32(table.emptyColour);
  for (const int width : table.ColumnWidths()) w.I32(width);
  w.U32(static_cast<std::uint32_t>(table.Ranges().size()));
  for (const FormatRange& r : table.Ranges()) {
    w.I32(r.row0);
    w.I32(r.col0);
    w.I32(r.row1);
    w.I32(r.col1);
    const CellFormat& f = r.format;
    w.U8(static_cast<std::uint8_t>((f.face ? kFace : 0) | (f.heightPx ? kHeight : 0) | (f.bold ? kBold : 0) |
                                   (f.colour ? kColour : 0) | (f.align ? kAlign : 0)));
    if (f.face) w.Text(*f.face);
    if (f.heightPx) w.I32(*f.heightPx);
    if (f.bold) w.U8(*f.bold ? 1 : 0);
    if (f.colour) w.U32(*f.colour);
    if (f.align) w.U8(static_cast<std::uint8_t>(*f.align));
  }
  for (int r = 0; r < table.RowCount(); ++r)
    for (int c = 0; c < table.ColumnCount(); ++c) w.Text(table.Cell(r, c));
  w.U64(Fnv1a(out));
  return out;
}

std::optional<ListTable> DecodeSnapshot(std::string_view bytes, SnapshotProblem* problem, std::string* setDatLink) {
  auto fail = [problem](SnapshotProblem why) -> std::optional<ListTable> {
    if (problem) *problem = why;
    return std::nullopt;
  };
  if (problem) *problem = SnapshotProblem::None;
  if (bytes.size() < kMagic.size() + 4 + 8 || !bytes.starts_with(kMagic)) return fail(SnapshotProblem::Damaged);
  Reader header(bytes.substr(kMagic.size(), 4));
  const std::uint32_t version = header.U32();
  if (version > kSnapshotVersion) return fail(SnapshotProblem::NewerVersion);
  if (version < 1) return fail(SnapshotProblem::Damaged);

  const std::string_view body = bytes.substr(0, bytes.size() - 8);
  Reader tail(bytes.substr(bytes.size() - 8));
  std::uint64_t stored = tail.U32();
  stored |= static_cast<std::uint64_t>(tail.U32()) << 32;
  if (stored != Fnv1a(body)) return fail(SnapshotProblem::Damaged);

  Reader in(body.substr(kMagic.size() + 4));
  std::string link = version >= 2 ? in.Text() : std::string();
  const std::uint32_t rows = in.U32();
  const std::uint32_t columns = in.U32();
  // Every cell takes at least one byte, which bounds the size before anything is allocated.
  if (!in.ok() || rows < 1 || columns < 1 || columns > kMaxColumns ||
      static_cast<std::uint64_t>(rows) * columns > in.Left())
    return fail(SnapshotProblem::Damaged);

  ListTable table;
  table.Resize(static_cast<int>(rows), static_cast<int>(columns));
  table.fixedColour = in.U32();
  table.normalColour = in.U32();
  table.emptyColour = in.U32();
  for (std::uint32_t c = 0; c < columns; ++c) table.SetColumnWidth(static_cast<int>(c), in.I32());
  const std::uint32_t rangeCount = in.U32();
  if (!in.ok() || rangeCount > kMaxRanges || rangeCount > in.Left() / 17) return fail(SnapshotProblem::Damaged);
  std::vector<FormatRange> ranges(rangeCount);
  for (FormatRange& r : ranges) {
    r.row0 = in.I32();
    r.col0 = in.I32();
    r.row1 = in.I32();
    r.col1 = in.I32();
    const std::uint8_t bits = in.U8();
    if (bits & kFace) r.format.face = in.Text();
    if (bits & kHeight) r.format.heightPx = in.I32();
    if (bits & kBold) r.format.bold = in.U8() != 0;
    if (bits & kColour) r.format.colour = in.U32();
    if (bits & kAlign) {
      const std::uint8_t a = in.U8();
      if (a > 2) return fail(SnapshotProblem::Damaged);
      r.format.align = static_cast<CellAlign>(a);
    }
  }
  table.SetRanges(std::move(ranges));
  for (std::uint32_t r = 0; r < rows && in.ok(); ++r)
    for (std::uint32_t c = 0; c < columns && in.ok(); ++c) table.Column(static_cast<int>(c))[r] = in.Text();
  if (!in.ok() || in.Left() != 0) return fail(SnapshotProblem::Damaged);
  if (setDatLink) *setDatLink = std::move(link);
  return table;
}

}  // namespace kavrel
