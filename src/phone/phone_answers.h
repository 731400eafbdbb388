#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

#include "phone/phone_snapshot.h"

namespace kavrel {

// Longest answer a phone may type (bytes of UTF-8): an employee number or a name, never a text.
inline constexpr int kMaxQueryBytes = 64;

// Which entry a typed answer names. Exactly one match is the person; several say only that the
// answer is not unique (nobody else's entry is shown); none says the answer is unknown.
struct EntryMatch {
  // CodeNeeded: a typed number or name, while only each person's own code signs in or looks up.
  enum class Kind { None, One, Several, Invalid, CodeNeeded } kind = Kind::None;
  std::string entry;  // GB18030, when One
};

// `typed` is what the phone sent (UTF-8); matched as the whole entry or its `field` (see
// PhoneOptions::matchField), spaces around it ignored.
EntryMatch MatchEntry(const std::vector<std::string>& entries, int field, const QByteArray& typed);

// The person a phone names among `entries`: by their own code (`code`, or `typed` when it is one),
// else — only when the operator allows typed sign-in — by the number or name typed.
EntryMatch ResolvePerson(const PhoneSnapshot& snap, const std::vector<std::string>& entries, const QByteArray& code,
                         const QByteArray& typed);

// An entry as an answer about a person shows it: the stage's masking, then names and mobile numbers
// masked whatever the results page does (an answer goes to whoever typed the question).
QString AnswerShown(const PhoneSnapshot& snap, const std::string& entry);

// The n-th (1-based) space-separated field of an entry; for 0 the whole entry, its fields one space
// apart (what `typed` becomes once its runs of spaces are made one).
std::string EntryField(const std::string& entry, int field);

// The page texts for a sign-in outcome and a lookup (UTF-8 JSON: {"ok":bool,"text":...}).
enum class SigninOutcome {
  Added,
  AlreadySignedIn,
  SaveFailed,
  Unknown,
  NotUnique,
  Invalid,
  TooMany,
  Closed,
  CodeNeeded
};
QByteArray SigninAnswerJson(SigninOutcome outcome, const QString& shownEntry);
QByteArray LookupAnswerJson(const PhoneSnapshot& snap, const EntryMatch& match);

// The membership proof of `entry` in the sealed list in the form kavrel-verify --proof checks;
// empty when the draw is not sealed or the entry is not in the list.
QByteArray EntryProofJson(const PhoneSnapshot& snap, const std::string& entry);

}  // namespace kavrel
