#include "phone/phone_answers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "phone/phone_mask.h"
#include "storage/codec.h"
#include "storage/membership_proof.h"
#include "storage/receipt_merkle.h"

namespace kavrel {

namespace {

// Equal, ASCII letters in either case ("e001" is "E001"). Only single-byte characters fold: a byte
// of a GB18030 character that happens to be a letter (the trail byte of 亚 is 'G') stays exact.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto c = static_cast<unsigned char>(a[i]);
    if (c >= 0x81) {
      // A multi-byte character: two bytes, or four when the second is a digit.
      const std::size_t len = i + 1 < a.size() && a[i + 1] >= '0' && a[i + 1] <= '9' ? 4 : 2;
      if (a.substr(i, len) != b.substr(i, len)) return false;
      i += len - 1;
      continue;
    }
    auto lower = [](char x) { return x >= 'A' && x <= 'Z' ? static_cast<char>(x - 'A' + 'a') : x; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

QByteArray Json(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonObject Answer(bool ok, const QString& text) {
  QJsonObject o;
  o[QStringLiteral("ok")] = ok;
  o[QStringLiteral("text")] = text;
  return o;
}

// EntryField(entry, field) compared with `wanted`, without building it: a sign-in is matched against
// every entry of the list, with a room signing in at once.
bool FieldMatches(std::string_view entry, int field, std::string_view wanted) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t i = 0;
  std::size_t w = 0;
  int n = 0;
  while (i < entry.size()) {
    while (i < entry.size() && blank(entry[i])) ++i;
    if (i == entry.size()) break;
    ++n;
    const std::size_t start = i;
    while (i < entry.size() && !blank(entry[i])) ++i;
    const std::string_view f = entry.substr(start, i - start);
    if (field > 0) {
      if (n == field) return SameIgnoringAsciiCase(f, wanted);
      continue;
    }
    // The whole entry: its fields one space apart.
    if (n > 1) {
      if (w >= wanted.size() || wanted[w] != ' ') return false;
      ++w;
    }
    if (wanted.size() - w < f.size() || !SameIgnoringAsciiCase(f, wanted.substr(w, f.size()))) return false;
    w += f.size();
  }
  return field <= 0 && n > 0 && w == wanted.size();
}

}  // namespace

std::string EntryField(const std::string& entry, int field) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < entry.size()) {
    while (i < entry.size() && (entry[i] == ' ' || entry[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < entry.size() && entry[i] != ' ' && entry[i] != '\t') ++i;
    if (i > start) fields.emplace_back(entry.data() + start, i - start);
  }
  if (field <= 0) {
    // The whole entry as a phone would type it: its fields one space apart.
    std::string whole;
    for (const auto f : fields) {
      if (!whole.empty()) whole += ' ';
      whole += f;
    }
    return whole;
  }
  if (static_cast<std::size_t>(field) > fields.size()) return {};
  return std::string(fields[static_cast<std::size_t>(field) - 1]);
}

EntryMatch MatchEntry(const std::vector<std::string>& entries, int field, const QByteArray& typed) {
  EntryMatch match;
  if (typed.size() > kMaxQueryBytes) {
    match.kind = EntryMatch::Kind::Invalid;
    return match;
  }
  const QString text = QString::fromUtf8(typed).simplified();
  if (text.isEmpty() || text.contains(QChar::ReplacementCharacter)) {
    match.kind = EntryMatch::Kind::Invalid;
    return match;
  }
  const std::string wanted = FromQt(text);
  for (const std::string& entry : entries) {
    if (!FieldMatches(entry, field, wanted)) continue;
    if (match.kind == EntryMatch::Kind::One && entry != match.entry) {
      match.kind = EntryMatch::Kind::Several;
      match.entry.clear();
      return match;
    }
    match.kind = EntryMatch::Kind::One;
    match.entry = entry;
  }
  return match;
}

EntryMatch ResolvePerson(const PhoneSnapshot& snap, const std::vector<std::string>& entries, const QByteArray& code,
                         const QByteArray& typed) {
  EntryMatch match;
  const QByteArray asked = (code.isEmpty() ? typed : code).trimmed();
  if (asked.isEmpty() || asked.size() > kMaxQueryBytes) {
    match.kind = EntryMatch::Kind::Invalid;
    return match;
  }
  if (const auto entry =
          snap.codes.EntryOf(std::string_view(asked.constData(), static_cast<std::size_t>(asked.size())))) {
    // The code's person, when they are in the list asked about (the sealed list may lack them).
    if (std::find(entries.begin(), entries.end(), *entry) != entries.end()) {
      match.kind = EntryMatch::Kind::One;
      match.entry = *entry;
    }
    return match;
  }
  if (!code.isEmpty()) return match;  // a code that is nobody's
  if (!snap.options.typedSignin) {
    match.kind = EntryMatch::Kind::CodeNeeded;
    return match;
  }
  return MatchEntry(entries, snap.options.matchField, typed);
}

QString AnswerShown(const PhoneSnapshot& snap, const std::string& entry) {
  return MaskForPhone(entry, snap.stageMask, true, true);
}

QByteArray SigninAnswerJson(SigninOutcome outcome, const QString& shownEntry) {
  switch (outcome) {
    case SigninOutcome::Added:
      return Json(Answer(true, QStringLiteral("签到成功：%1").arg(shownEntry)));
    case SigninOutcome::AlreadySignedIn:
      return Json(
          Answer(false, QStringLiteral("%1 已经签到过了，不能重复签到。如有疑问请联系工作人员。").arg(shownEntry)));
    case SigninOutcome::SaveFailed:
      return Json(Answer(false, QStringLiteral("签到没有保存成功，请稍后再试。")));
    case SigninOutcome::Unknown:
      return Json(Answer(false, QStringLiteral("名单中没有找到，请检查输入或联系工作人员。")));
    case SigninOutcome::NotUnique:
      return Json(Answer(false, QStringLiteral("名单中有不止一人符合，请改填工号或联系工作人员。")));
    case SigninOutcome::Invalid:
      return Json(Answer(false, QStringLiteral("请输入工号或姓名（不超过20个字）。")));
    case SigninOutcome::TooMany:
      return Json(Answer(false, QStringLiteral("操作太频繁，请稍等片刻再试。")));
    case SigninOutcome::Closed:
      return Json(Answer(false, QStringLiteral("签到已经关闭。")));
    case SigninOutcome::CodeNeeded:
      return Json(Answer(false, QStringLiteral("请扫描邀请函上的二维码，或输入邀请函上的8位签到码。")));
  }
  return {};
}

QByteArray LookupAnswerJson(const PhoneSnapshot& snap, const EntryMatch& match) {
  QJsonObject o;
  switch (match.kind) {
    case EntryMatch::Kind::Invalid:
      return SigninAnswerJson(SigninOutcome::Invalid, {});
    case EntryMatch::Kind::Several:
      return SigninAnswerJson(SigninOutcome::NotUnique, {});
    case EntryMatch::Kind::CodeNeeded:
      return SigninAnswerJson(SigninOutcome::CodeNeeded, {});
    case EntryMatch::Kind::None:
      o = Answer(false,
                 snap.sealed ? QStringLiteral("不在本次抽奖的封存名单里。") : QStringLiteral("不在本次抽奖的名单里。"));
      o[QStringLiteral("inList")] = false;
      return Json(o);
    case EntryMatch::Kind::One:
      break;
  }
  const QString shown = AnswerShown(snap, match.entry);
  const auto won = snap.wins.find(match.entry);
  QString text =
      (snap.sealed ? QStringLiteral("%1 在本次抽奖的封存名单里。") : QStringLiteral("%1 在本次抽奖的名单里。"))
          .arg(shown);
  QJsonArray awards;
  if (won != snap.wins.end()) {
    for (const QString& a : won->second) awards.append(a);
    text += QStringLiteral("恭喜，您中奖了：") + won->second.front();
    for (std::size_t i = 1; i < won->second.size(); ++i) text += QStringLiteral("、") + won->second[i];
  } else {
    text += QStringLiteral("目前还没有中奖。");
  }
  o = Answer(true, text);
  o[QStringLiteral("inList")] = true;
  o[QStringLiteral("won")] = awards;
  o[QStringLiteral("proof")] = snap.sealed && !snap.sealLine.empty();
  return Json(o);
}

QByteArray EntryProofJson(const PhoneSnapshot& snap, const std::string& entry) {
  if (!snap.sealed || snap.sealLine.empty()) return {};
  const auto at = std::find(snap.entries.begin(), snap.entries.end(), entry);
  if (at == snap.entries.end()) return {};
  const MerkleProof proof = ProveEntry(snap.entries, static_cast<std::size_t>(at - snap.entries.begin()));
  // The same object kavrel-verify --proof writes and checks, so a phone's proof is checked the same way.
  // Masked like every answer about a person: the phone that asked already knows who it is.
  const QString shown = AnswerShown(snap, entry);
  return QByteArray::fromStdString(MembershipProofJson(snap.sealLine, FromQt(shown), proof, FromQt(shown) != entry));
}

}  // namespace kavrel
