#include "storage/receipt_log.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "storage/codec.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

struct KindName {
  ReceiptKind kind;
  const char* name;
};
constexpr KindName kKindNames[] = {
    {ReceiptKind::Seal, "seal"},
    {ReceiptKind::Batch, "batch"},
    {ReceiptKind::Undo, "undo"},
    {ReceiptKind::Abandon, "abandon"},
    {ReceiptKind::Supplement, "supplement"},
    {ReceiptKind::PrizeChange, "prize_change"},
    {ReceiptKind::Audience, "audience"},
    {ReceiptKind::Rule, "rule"},
    {ReceiptKind::Close, "close"},
    {ReceiptKind::Reopen, "reopen"},
};

QString Ascii(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string Latin(const QString& text) {
  return text.toLatin1().toStdString();
}

QJsonArray TextArray(const std::vector<std::string>& texts) {
  QJsonArray array;
  for (const auto& text : texts) array.append(ToQt(text));
  return array;
}

std::vector<std::string> Texts(const QJsonValue& value) {
  std::vector<std::string> texts;
  for (const auto& item : value.toArray()) texts.push_back(FromQt(item.toString()));
  return texts;
}

bool IsHex(const std::string& text, std::size_t digits) {
  if (text.size() != digits) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}
bool IsHex64(const std::string& text) {
  return IsHex(text, 64);
}

bool IsDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  const QByteArray digest = QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                                     QCryptographicHash::Sha256);
  return digest.toHex().toStdString();
}

std::string ListSha256(const std::vector<std::string>& items) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (const auto& item : items) {
    const std::string prefix = std::to_string(item.size()) + ":";
    hash.addData(QByteArrayView(prefix.data(), static_cast<qsizetype>(prefix.size())));
    hash.addData(QByteArrayView(item.data(), static_cast<qsizetype>(item.size())));
    hash.addData(QByteArrayView("\n", 1));
  }
  return hash.result().toHex().toStdString();
}

std::string EventSeal(const std::string& poolSha256, const std::string& planSha256) {
  return Sha256Hex("kavrel-seal\npool " + poolSha256 + "\nplan " + planSha256 + "\n");
}

std::string SealOf(const Receipt& r) {
  if (r.format < 2) return EventSeal(r.poolSha256, r.planSha256);
  // Every sealed field, one per line, in a fixed order: the seal changes with any of them.
  std::string text = "kavrel-seal " + std::to_string(r.format) + "\n";
  text += "time " + r.time + "\n";
  text += "nonce " + r.nonce + "\n";
  text += "version " + r.version + "\n";
  text += "pool " + std::to_string(r.poolSize) + " " + r.poolSha256 + "\n";
  text += "merkle " + r.merkleRoot + "\n";
  text += "plan " + r.planSha256 + "\n";
  text += "key " + r.keySha256 + "\n";
  text += "duplicates " + std::to_string(r.duplicates) + (r.duplicatesKept ? " kept" : " removed") + "\n";
  text += std::string("repeat ") + (r.repeatAllowed ? "1" : "0") + "\n";
  if (r.presentOnly) text += "present " + std::to_string(r.presentCount) + "\n";
  if (r.entryRules > 0) text += "entries " + std::to_string(r.entryRules) + "\n";
  if (r.reseal > 0) text += "reseal " + std::to_string(r.reseal) + " " + r.previousSeal + "\n";
  return Sha256Hex(text);
}

const char* ProgramVersion() {
#ifdef KAVREL_VERSION
  return KAVREL_VERSION;
#else
  return "";
#endif
}

std::string ShortSeal(const std::string& seal) {
  return seal.substr(0, 16);
}

const char* ReceiptKindName(ReceiptKind kind) {
  for (const auto& [k, name] : kKindNames)
    if (k == kind) return name;
  return "";
}

std::string TimeText(const LocalDateTime& when) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  return buffer;
}

std::string FormatReceipt(const Receipt& r) {
  QJsonObject o;
  o[QStringLiteral("kind")] = QString::fromLatin1(ReceiptKindName(r.kind));
  o[QStringLiteral("seq")] = r.seq;
  o[QStringLiteral("time")] = Ascii(r.time);
  switch (r.kind) {
    case ReceiptKind::Seal:
      if (r.format >= 2) {
        o[QStringLiteral("format")] = r.format;
        o[QStringLiteral("version")] = Ascii(r.version);
        o[QStringLiteral("nonce")] = Ascii(r.nonce);
        o[QStringLiteral("key_sha256")] = Ascii(r.keySha256);
        o[QStringLiteral("merkle_root")] = Ascii(r.merkleRoot);
        o[QStringLiteral("duplicates")] = static_cast<qint64>(r.duplicates);
        o[QStringLiteral("duplicates_kept")] = r.duplicatesKept;
        o[QStringLiteral("repeat")] = r.repeatAllowed;
        if (r.presentOnly) {
          o[QStringLiteral("present")] = true;
          o[QStringLiteral("present_count")] = static_cast<qint64>(r.presentCount);
        }
        if (r.entryRules > 0) o[QStringLiteral("entry_rules")] = r.entryRules;
        if (r.reseal > 0) {
          o[QStringLiteral("reseal")] = r.reseal;
          o[QStringLiteral("previous")] = Ascii(r.previousSeal);
        }
      }
      o[QStringLiteral("seal")] = Ascii(r.seal);
      o[QStringLiteral("pool_size")] = static_cast<qint64>(r.poolSize);
      o[QStringLiteral("pool_sha256")] = Ascii(r.poolSha256);
      o[QStringLiteral("plan_sha256")] = Ascii(r.planSha256);
      o[QStringLiteral("plan")] = TextArray(r.plan);
      break;
    case ReceiptKind::Batch: {
      o[QStringLiteral("batch")] = r.batchIndex;
      o[QStringLiteral("award")] = ToQt(r.award);
      o[QStringLiteral("prize")] = ToQt(r.prize);
      o[QStringLiteral("batch_size")] = r.batchSize;
      o[QStringLiteral("pool_size")] = static_cast<qint64>(r.poolSize);
      o[QStringLiteral("group")] = QJsonArray{r.groupFirst, r.groupLast};
      o[QStringLiteral("repeat")] = r.repeatAllowed;
      if (r.format >= 2) {
        o[QStringLiteral("attempt")] = r.attempt;
        o[QStringLiteral("plan_position")] = r.planPosition;
        o[QStringLiteral("plan_line")] = ToQt(r.planLine);
        o[QStringLiteral("start_from")] = r.startFrom;
        o[QStringLiteral("forward")] = r.forwardOrder;
      } else {
        o[QStringLiteral("pool_sha256")] = Ascii(r.poolSha256);
        o[QStringLiteral("generator_state")] = static_cast<qint64>(r.generatorState);
      }
      QJsonArray winners;
      for (const auto& w : r.winners) winners.append(QJsonArray{w.position, ToQt(w.entry)});
      o[QStringLiteral("winners")] = winners;
      break;
    }
    case ReceiptKind::Undo:
    case ReceiptKind::Abandon:
      o[QStringLiteral("award")] = ToQt(r.award);
      o[QStringLiteral("entries")] = TextArray(r.entries);
      o[QStringLiteral("returned")] = TextArray(r.returned);
      if (r.kind == ReceiptKind::Abandon) o[QStringLiteral("queued")] = TextArray(r.queued);
      if (r.format >= 2 && r.kind == ReceiptKind::Undo) {
        o[QStringLiteral("plan_position")] = r.planPosition;
        o[QStringLiteral("plan_line")] = ToQt(r.planLine);
      }
      if (r.format >= 2 && r.kind == ReceiptKind::Abandon) o[QStringLiteral("forward")] = r.forwardOrder;
      break;
    case ReceiptKind::Supplement:
      o[QStringLiteral("queued")] = TextArray(r.queued);
      if (r.format >= 2) o[QStringLiteral("forward")] = r.forwardOrder;
      break;
    case ReceiptKind::PrizeChange:
      o[QStringLiteral("plan_index")] = r.planIndex;
      o[QStringLiteral("before")] = ToQt(r.lineBefore);
      o[QStringLiteral("after")] = ToQt(r.lineAfter);
      break;
    case ReceiptKind::Audience:
      o[QStringLiteral("number")] = Ascii(r.audienceNumber);
      break;
    case ReceiptKind::Rule:
      o[QStringLiteral("repeat")] = r.repeatAllowed;
      break;
    case ReceiptKind::Close:
      o[QStringLiteral("reason")] = Ascii(r.reason);
      o[QStringLiteral("key")] = Ascii(r.drawKey);
      break;
    case ReceiptKind::Reopen:
      o[QStringLiteral("key_sha256")] = Ascii(r.keySha256);
      break;
  }
  o[QStringLiteral("prev")] = Ascii(r.prev);
  return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

std::optional<Receipt> ParseReceipt(std::string_view line) {
  QJsonParseError error;
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray(line.data(), static_cast<qsizetype>(line.size())), &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
  const QJsonObject o = doc.object();
  Receipt r;
  const std::string kind = Latin(o.value(QStringLiteral("kind")).toString());
  bool known = false;
  for (const auto& [k, name] : kKindNames)
    if (kind == name) {
      r.kind = k;
      known = true;
    }
  if (!known || !o.value(QStringLiteral("seq")).isDouble()) return std::nullopt;
  r.seq = o.value(QStringLiteral("seq")).toInt();
  r.time = Latin(o.value(QStringLiteral("time")).toString());
  r.prev = Latin(o.value(QStringLiteral("prev")).toString());
  auto has = [&o](const char* key) { return o.contains(QLatin1String(key)); };
  auto boolean = [&o](const char* key, bool& out) {
    const QJsonValue v = o.value(QLatin1String(key));
    out = v.toBool();
    return v.isBool();
  };
  auto integer = [&o](const char* key, int& out) {
    const QJsonValue v = o.value(QLatin1String(key));
    out = v.toInt();
    return v.isDouble();
  };
  switch (r.kind) {
    case ReceiptKind::Seal:
      r.seal = Latin(o.value(QStringLiteral("seal")).toString());
      r.poolSize = o.value(QStringLiteral("pool_size")).toInteger();
      r.poolSha256 = Latin(o.value(QStringLiteral("pool_sha256")).toString());
      r.planSha256 = Latin(o.value(QStringLiteral("plan_sha256")).toString());
      r.plan = Texts(o.value(QStringLiteral("plan")));
      if (!IsHex64(r.seal) || !IsHex64(r.poolSha256) || !IsHex64(r.planSha256)) return std::nullopt;
      if (has("format")) {
        if (!integer("format", r.format) || r.format != 2) return std::nullopt;
        r.version = Latin(o.value(QStringLiteral("version")).toString());
        r.nonce = Latin(o.value(QStringLiteral("nonce")).toString());
        r.keySha256 = Latin(o.value(QStringLiteral("key_sha256")).toString());
        r.merkleRoot = Latin(o.value(QStringLiteral("merkle_root")).toString());
        r.duplicates = o.value(QStringLiteral("duplicates")).toInteger(-1);
        if (!IsHex(r.nonce, 32) || !IsHex64(r.keySha256) || !IsHex64(r.merkleRoot) || r.duplicates < 0 ||
            !boolean("duplicates_kept", r.duplicatesKept) || !boolean("repeat", r.repeatAllowed))
          return std::nullopt;
        if (has("present")) {
          r.presentCount = o.value(QStringLiteral("present_count")).toInteger(-1);
          if (!boolean("present", r.presentOnly)) return std::nullopt;
          // No seal says "present":false (the field is left out); one that does fails the seal check.
          if (r.presentOnly && r.presentCount < 0) return std::nullopt;
          if (!r.presentOnly) r.presentCount = 0;
        }
        if (has("entry_rules") && (!integer("entry_rules", r.entryRules) || r.entryRules < 1)) return std::nullopt;
        if (has("reseal")) {
          r.previousSeal = Latin(o.value(QStringLiteral("previous")).toString());
          if (!integer("reseal", r.reseal) || r.reseal < 1 || !IsHex64(r.previousSeal)) return std::nullopt;
        }
      }
      break;
    case ReceiptKind::Batch: {
      r.batchIndex = o.value(QStringLiteral("batch")).toInt();
      r.award = FromQt(o.value(QStringLiteral("award")).toString());
      r.prize = FromQt(o.value(QStringLiteral("prize")).toString());
      r.batchSize = o.value(QStringLiteral("batch_size")).toInt();
      r.poolSize = o.value(QStringLiteral("pool_size")).toInteger();
      const QJsonArray group = o.value(QStringLiteral("group")).toArray();
      if (group.size() != 2) return std::nullopt;
      r.groupFirst = group[0].toInt();
      r.groupLast = group[1].toInt();
      if (!boolean("repeat", r.repeatAllowed)) return std::nullopt;
      if (has("generator_state")) {
        r.poolSha256 = Latin(o.value(QStringLiteral("pool_sha256")).toString());
        const qint64 state = o.value(QStringLiteral("generator_state")).toInteger(-1);
        if (state < 0 || state > 0xFFFFFFFFll || !IsHex64(r.poolSha256)) return std::nullopt;
        r.generatorState = static_cast<std::uint32_t>(state);
      } else {
        r.format = 2;
        r.planLine = FromQt(o.value(QStringLiteral("plan_line")).toString());
        if (!integer("attempt", r.attempt) || !integer("plan_position", r.planPosition) ||
            !boolean("start_from", r.startFrom) || !boolean("forward", r.forwardOrder))
          return std::nullopt;
      }
      for (const auto& item : o.value(QStringLiteral("winners")).toArray()) {
        const QJsonArray pair = item.toArray();
        if (pair.size() != 2 || !pair[0].isDouble()) return std::nullopt;
        r.winners.push_back({pair[0].toInt(), FromQt(pair[1].toString())});
      }
      break;
    }
    case ReceiptKind::Undo:
    case ReceiptKind::Abandon:
      r.award = FromQt(o.value(QStringLiteral("award")).toString());
      r.entries = Texts(o.value(QStringLiteral("entries")));
      r.returned = Texts(o.value(QStringLiteral("returned")));
      r.queued = Texts(o.value(QStringLiteral("queued")));
      if (has("plan_position")) {
        r.format = 2;
        r.planLine = FromQt(o.value(QStringLiteral("plan_line")).toString());
        if (!integer("plan_position", r.planPosition)) return std::nullopt;
      }
      if (has("forward")) {
        r.format = 2;
        if (!boolean("forward", r.forwardOrder)) return std::nullopt;
      }
      break;
    case ReceiptKind::Supplement:
      r.queued = Texts(o.value(QStringLiteral("queued")));
      if (has("forward")) {
        r.format = 2;
        if (!boolean("forward", r.forwardOrder)) return std::nullopt;
      }
      break;
    case ReceiptKind::PrizeChange:
      r.planIndex = o.value(QStringLiteral("plan_index")).toInt();
      r.lineBefore = FromQt(o.value(QStringLiteral("before")).toString());
      r.lineAfter = FromQt(o.value(QStringLiteral("after")).toString());
      break;
    case ReceiptKind::Audience:
      r.format = 2;
      r.audienceNumber = Latin(o.value(QStringLiteral("number")).toString());
      if (!IsDigits(r.audienceNumber)) return std::nullopt;
      break;
    case ReceiptKind::Rule:
      r.format = 2;
      if (!boolean("repeat", r.repeatAllowed)) return std::nullopt;
      break;
    case ReceiptKind::Close:
      r.format = 2;
      r.reason = Latin(o.value(QStringLiteral("reason")).toString());
      r.drawKey = Latin(o.value(QStringLiteral("key")).toString());
      if (!IsHex64(r.drawKey)) return std::nullopt;
      break;
    case ReceiptKind::Reopen:
      r.format = 2;
      r.keySha256 = Latin(o.value(QStringLiteral("key_sha256")).toString());
      if (!IsHex64(r.keySha256)) return std::nullopt;
      break;
  }
  return r;
}

ReceiptLines ReadReceiptLines(const std::filesystem::path& path) {
  if (!FileExists(path)) return {};
  return ReceiptLinesOf(ReadTextFile(path));
}

ReceiptLines ReceiptLinesOf(const std::string& text) {
  ReceiptLines out;
  out.found = true;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      out.lines.push_back(text.substr(start));
      out.unterminated = true;
      break;
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.lines.push_back(std::move(line));
    start = end + 1;
  }
  return out;
}

ReceiptSummary SummarizeReceipts(const std::filesystem::path& path) {
  ReceiptSummary summary;
  const ReceiptLines log = ReadReceiptLines(path);
  if (log.lines.empty()) return summary;
  const auto seal = ParseReceipt(log.lines.front());
  if (!seal || seal->kind != ReceiptKind::Seal) return summary;
  summary.seal = seal->seal;
  summary.lastHash = Sha256Hex(log.lines.back());
  for (const auto& line : log.lines)
    if (line.find("\"kind\":\"audience\"") != std::string::npos)
      if (const auto r = ParseReceipt(line)) summary.audienceNumber = r->audienceNumber;
  const auto last = log.lines.size() > 1 ? ParseReceipt(log.lines.back()) : std::nullopt;
  summary.closed = last && last->kind == ReceiptKind::Close;
  return summary;
}

std::string HexOf(std::string_view raw) {
  return QByteArray(raw.data(), static_cast<qsizetype>(raw.size())).toHex().toStdString();
}

std::optional<std::string> RawOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  for (char c : hex)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return std::nullopt;
  const QByteArray raw = QByteArray::fromHex(QByteArray(hex.data(), static_cast<qsizetype>(hex.size())));
  return std::string(raw.constData(), static_cast<std::size_t>(raw.size()));
}

bool WriteDrawKey(const std::filesystem::path& path, std::string_view rawKey) {
  return WriteTextFile(path, HexOf(rawKey) + "\r\n");
}

std::optional<std::string> ReadDrawKey(const std::filesystem::path& path) {
  const auto text = TryReadTextFile(path);
  if (!text) return std::nullopt;
  std::string hex = *text;
  while (!hex.empty() && (hex.back() == '\n' || hex.back() == '\r')) hex.pop_back();
  if (!IsHex64(hex)) return std::nullopt;
  return RawOfHex(hex);
}

std::string ReceiptLogText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace kavrel
