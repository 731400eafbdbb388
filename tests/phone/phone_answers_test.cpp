#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "phone/phone_answers.h"
#include "phone/phone_mask.h"
#include "storage/codec.h"
#include "storage/receipt_merkle.h"

namespace kavrel {
namespace {

QJsonObject Parse(const QByteArray& json) {
  return QJsonDocument::fromJson(json).object();
}

TEST(PhoneMask, NamesAndMobileNumbersAfterTheStageMask) {
  EXPECT_EQ(MaskChineseName(QStringLiteral("张三")), QStringLiteral("张*"));
  EXPECT_EQ(MaskChineseName(QStringLiteral("张小三")), QStringLiteral("张*三"));
  EXPECT_EQ(MaskChineseName(QStringLiteral("欧阳小三")), QStringLiteral("欧**三"));
  EXPECT_EQ(MaskChineseName(QStringLiteral("E001")), QStringLiteral("E001"));
  EXPECT_EQ(MaskMobileNumbers(QStringLiteral("13812345678")), QStringLiteral("138****5678"));
  // Longer digit runs (an ID number) are not phone numbers.
  EXPECT_EQ(MaskMobileNumbers(QStringLiteral("113812345678")), QStringLiteral("113812345678"));

  const std::string entry = Gb("E001  张小三  13812345678");
  EXPECT_EQ(MaskForPhone(entry, {}, true, true), QStringLiteral("E001  张*三  138****5678"));
  EXPECT_EQ(MaskForPhone(entry, {}, false, false), QStringLiteral("E001  张小三  13812345678"));
  // The stage's byte range comes first, exactly as the projector hides it.
  EXPECT_EQ(MaskForPhone(Gb("13812345678"), StageMask{true, 4, 7}, false, false), QStringLiteral("138****5678"));
}

TEST(PhoneAnswers, MatchesTheChosenFieldAndNeverNamesOthers) {
  const std::vector<std::string> entries = {Gb("E001  张三  "), Gb("E002  李四  "), Gb("E003  张三  ")};
  EXPECT_EQ(EntryField(entries[1], 2), Gb("李四"));
  EXPECT_EQ(EntryField(entries[1], 0), Gb("E002 李四"));
  EXPECT_EQ(MatchEntry(entries, 0, "E002  李四").entry, entries[1]);
  EXPECT_EQ(EntryField(entries[1], 3), "");

  auto one = MatchEntry(entries, 1, " e002 ");
  EXPECT_EQ(one.kind, EntryMatch::Kind::One);
  EXPECT_EQ(one.entry, entries[1]);
  auto several = MatchEntry(entries, 2, "张三");
  EXPECT_EQ(several.kind, EntryMatch::Kind::Several);
  EXPECT_TRUE(several.entry.empty());
  EXPECT_EQ(MatchEntry(entries, 1, "张三").kind, EntryMatch::Kind::None);
  // Case folds only for ASCII letters: two characters whose trail bytes are 'G' and 'g' differ.
  const QByteArray trailSmallG = ToQt(std::string("\x81\x67")).toUtf8();
  EXPECT_EQ(MatchEntry({"\x81\x47"}, 0, trailSmallG).kind, EntryMatch::Kind::None);
  EXPECT_EQ(MatchEntry({"\x81\x67"}, 0, trailSmallG).kind, EntryMatch::Kind::One);
  EXPECT_EQ(MatchEntry(entries, 1, "").kind, EntryMatch::Kind::Invalid);
  EXPECT_EQ(MatchEntry(entries, 1, QByteArray(kMaxQueryBytes + 1, 'E')).kind, EntryMatch::Kind::Invalid);
  EXPECT_EQ(MatchEntry(entries, 1, "\xff\xfe").kind, EntryMatch::Kind::Invalid);

  PhoneSnapshot snap;
  snap.entries = entries;
  snap.wins[entries[1]] = {QStringLiteral("一等奖（电脑）")};
  const auto ambiguous = Parse(LookupAnswerJson(snap, several));
  EXPECT_FALSE(ambiguous[QStringLiteral("ok")].toBool());
  EXPECT_FALSE(ambiguous[QStringLiteral("text")].toString().contains(QStringLiteral("E00")));
  const auto won = Parse(LookupAnswerJson(snap, one));
  EXPECT_TRUE(won[QStringLiteral("inList")].toBool());
  EXPECT_TRUE(won[QStringLiteral("text")].toString().contains(QStringLiteral("一等奖（电脑）")));
  EXPECT_FALSE(won[QStringLiteral("proof")].toBool());
}

TEST(PhoneAnswers, ProofOnlyForAnEntryOfASealedList) {
  PhoneSnapshot snap;
  snap.entries = {"A", "B", "C"};
  EXPECT_TRUE(EntryProofJson(snap, "B").isEmpty());
  snap.sealed = true;
  snap.sealLine = R"({"kind":"seal"})";
  EXPECT_TRUE(EntryProofJson(snap, "D").isEmpty());
  const auto proof = Parse(EntryProofJson(snap, "B"));
  EXPECT_EQ(proof[QStringLiteral("index")].toInt(), 1);
  EXPECT_EQ(proof[QStringLiteral("size")].toInt(), 3);
  EXPECT_EQ(proof[QStringLiteral("seal_line")].toString(), QStringLiteral(R"({"kind":"seal"})"));
  // The path proves the entry against the list's root, as the verifier checks it.
  MerkleProof path;
  path.index = 1;
  path.size = 3;
  for (const auto& h : proof[QStringLiteral("path")].toArray()) path.path.push_back(h.toString().toStdString());
  EXPECT_TRUE(ProofHolds("B", path, MerkleRoot(snap.entries)));
  EXPECT_FALSE(ProofHolds("C", path, MerkleRoot(snap.entries)));
}

}  // namespace
}  // namespace kavrel
