#include "verify/entrant.h"
#include "storage/membership_proof.h"
#include "storage/receipt_merkle.h"
#include "verify_fixture.h"

namespace kavrel {
namespace {

std::vector<std::string> Numbered(int n) {
  std::vector<std::string> entries;
  char buf[16];
  for (int i = 1; i <= n; ++i) {
    std::snprintf(buf, sizeof buf, "%03d", i);
    entries.emplace_back(buf);
  }
  return entries;
}

TEST(MerkleTree, IsCertificateTransparencysAndEveryProofLeadsToTheRoot) {
  // Computed independently with Python's hashlib over RFC 6962's recursive definition.
  EXPECT_EQ(MerkleRoot(Numbered(5)), "9290dd97db510ecbabbc57078913a836048fea9e5d29085e098b9dd379417b0f");
  for (int n = 1; n <= 33; ++n) {
    const auto entries = Numbered(n);
    const std::string root = MerkleRoot(entries);
    for (int i = 0; i < n; ++i) {
      const MerkleProof proof = ProveEntry(entries, static_cast<std::size_t>(i));
      ASSERT_TRUE(ProofHolds(entries[static_cast<std::size_t>(i)], proof, root)) << n << " " << i;
      EXPECT_FALSE(ProofHolds("999", proof, root));
      MerkleProof moved = proof;
      moved.index = static_cast<std::size_t>((i + 1) % n);
      if (n > 1) {
        EXPECT_FALSE(ProofHolds(entries[static_cast<std::size_t>(i)], moved, root)) << n << " " << i;
      }
    }
  }
}

TEST_F(VerifiedDraw, AProofHoldsOnlyForItsEntryAndAgainstTheSealShownBeforeTheDraw) {
  RunWholeDraw();
  const VerifyReport report = Verify();
  ASSERT_EQ(report.outcome, VerifyOutcome::Ok) << ReportLine(report);
  const std::string sealLine = LogLines().front();
  const std::string shown = ShortSeal(report.seal);
  // Spaces, ASCII or full-width, around or inside an entry do not make another person.
  const auto answer = LookUpEntrant(report, " 017" + U("\u3000"));
  ASSERT_TRUE(answer.InList());
  EXPECT_EQ(answer.positions, std::vector<std::size_t>{16});
  const std::string proof =
      MembershipProofJson(sealLine, "017", ProveEntry(report.sealedPool, answer.positions.front()));
  const ProofVerdict good = CheckProof(proof, shown);
  EXPECT_EQ(good.status, 0) << good.line;
  EXPECT_EQ(good.line, "OK: \"017\" is entry 17 of the 30 in the list sealed as " + shown + ", the seal given");
  EXPECT_EQ(CheckProof(proof, report.seal).status, 0);
  // Without the seal to compare with, a proof proves nothing.
  EXPECT_EQ(CheckProof(proof, "").status, 3);
  // The proof handed to someone else, or its seal line edited, proves nothing.
  std::string other = proof;
  other.replace(other.find("\"017\""), 5, "\"018\"");
  EXPECT_EQ(CheckProof(other, shown).status, 1);
  std::string edited = proof;
  const std::string size = "pool_size\\\":30";
  ASSERT_NE(edited.find(size), std::string::npos) << proof;
  edited.replace(edited.find(size), size.size(), "pool_size\\\":31");
  EXPECT_EQ(CheckProof(edited, shown).status, 1);
  EXPECT_EQ(CheckProof("not a proof", shown).status, 3);
  // The phone pages' proof shows the entry masked: it holds for the entry given in full, never for
  // another, and without one it says what is missing rather than calling the proof false.
  const std::string phoneProof =
      MembershipProofJson(sealLine, "0*7", ProveEntry(report.sealedPool, answer.positions.front()), true);
  const ProofVerdict masked = CheckProof(phoneProof, shown);
  EXPECT_EQ(masked.status, 3) << masked.line;
  EXPECT_NE(masked.line.find("--entry"), std::string::npos) << masked.line;
  EXPECT_EQ(CheckProof(phoneProof, shown, "017").status, 0);
  EXPECT_EQ(CheckProof(phoneProof, shown, "018").status, 1);
  // A seal line made up over the list and an outsider holds together, but it is not the seal shown.
  auto forged = *ParseReceipt(sealLine);
  std::vector<std::string> withOutsider = report.sealedPool;
  withOutsider.push_back("999");
  forged.merkleRoot = MerkleRoot(withOutsider);
  forged.poolSize = 31;
  forged.seal = SealOf(forged);
  const ProofVerdict outsider =
      CheckProof(MembershipProofJson(FormatReceipt(forged), "999", ProveEntry(withOutsider, 30)), shown);
  EXPECT_EQ(outsider.status, 1);
  EXPECT_EQ(outsider.line.rfind("MISMATCH: the proof's list was sealed as " + ShortSeal(forged.seal), 0), 0u)
      << outsider.line;

  // Not in the list: the entries that contain the text are offered.
  const auto missing = LookUpEntrant(report, "01");
  EXPECT_FALSE(missing.InList());
  EXPECT_EQ(missing.similar.size(), 5u);
}

}  // namespace
}  // namespace kavrel
