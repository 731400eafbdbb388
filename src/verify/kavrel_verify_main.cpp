// kavrel-verify: checks a draw from its receipts, without the program's windows.
//   kavrel-verify FOLDER
//   kavrel-verify --version
//   kavrel-verify --entrant TEXT [--proof FILE] FOLDER
//   kavrel-verify [--seen HASH]... FOLDER
//   kavrel-verify --check-proof FILE SEAL|FOLDER [--entry TEXT]
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "kavrel_version.h"
#include "platform/utf8_console.h"
#include "storage/codec.h"
#include "storage/membership_proof.h"
#include "storage/qt_path.h"
#include "storage/receipt_log.h"
#include "storage/text_file.h"
#include "verify/draw_verifier.h"
#include "verify/entrant.h"

namespace {

constexpr const char* kUsage =
    "usage: kavrel-verify FOLDER\n"
    "       kavrel-verify --version\n"
    "       kavrel-verify --entrant TEXT [--proof PROOF_FILE] FOLDER\n"
    "       kavrel-verify [--seen HASH]... FOLDER\n"
    "       kavrel-verify --check-proof PROOF_FILE SEAL|FOLDER [--entry TEXT]\n"
    "FOLDER is a program folder or a folder of history/.\n"
    "Replays the draw from its receipts (receipts.log) over the list the seal covers and checks that the\n"
    "result files hold exactly the replayed winners. With --entrant, also says whether the entry TEXT is in\n"
    "the sealed list and what it won (spaces do not count: \"王五 \" is \"王五\"); --proof writes a file with\n"
    "which that entrant can check, with the seal alone, that the entry was in the sealed list.\n"
    "--check-proof checks such a file against the seal shown before the draw: SEAL is that seal (its first\n"
    "16 hexadecimal digits or more), or FOLDER a draw's folder whose seal is read from its receipts. A proof\n"
    "from the phone pages shows its entry masked: --entry TEXT gives it in full, as the list holds it.\n"
    "--seen HASH (any number of times) is a chain hash seen while the draw went on (the phones' 公证 card\n"
    "keeps each one it showed, 16 hexadecimal digits or more): the log must hold it, or it was rewritten.\n"
    "Exit status: 0 verified, 1 mismatch, 2 last receipt cut short (the rest verified), 3 nothing to verify,\n"
    "4 verified but not closed (receipts after the last line may have been cut), 5 the entrant is not in\n"
    "the sealed list, 6 the last batch has no receipt because the program stopped while recording it (the\n"
    "rest verified; its next start takes that batch back), 7 older receipts that replay but prove no\n"
    "commitment (their winners could have been chosen).\n";

using kavrel::detail::FromQPath;

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
}

// The seal a proof is compared with: given as hexadecimal, or read from a draw's folder ("" when that
// folder holds no seal).
std::string SealGiven(const QString& argument) {
  const std::filesystem::path folder = FromQPath(argument);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return argument.toStdString();
  const auto log = kavrel::EvidenceReceipts(kavrel::EvidenceIn(folder));
  std::optional<kavrel::Receipt> seal;
  if (!log.lines.empty()) seal = kavrel::ParseReceipt(log.lines.front());
  return seal && seal->kind == kavrel::ReceiptKind::Seal ? seal->seal : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  // Qt's arguments, not argv: on Windows argv holds folder names and entries in the ANSI code page,
  // which has no room for many Chinese names.
  QCoreApplication app(argc, argv);
  const kavrel::Utf8Console console;
  const QStringList args = QCoreApplication::arguments().mid(1);
  auto is = [&args](qsizetype i, const char* option) { return args.at(i) == QLatin1String(option); };
  if (args.size() == 1 && is(0, "--version")) {
    std::printf("kavrel-verify %s\n", kavrel::kVersion);
    return 0;
  }
  if (args.size() == 1 && (is(0, "-h") || is(0, "--help"))) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.size() >= 2 && is(0, "--check-proof")) {
    QStringList rest = args.mid(2);
    std::string entryGiven;  // GB18030, for a proof that shows its entry masked
    const auto entryAt = rest.indexOf(QStringLiteral("--entry"));
    if (entryAt >= 0 && entryAt + 1 < rest.size()) {
      entryGiven = kavrel::FromQt(rest.at(entryAt + 1));
      rest.remove(entryAt, 2);
    }
    if (rest.size() > 1 || (entryAt >= 0 && entryGiven.empty())) {
      std::fputs(kUsage, stderr);
      return 3;
    }
    const auto text = kavrel::TryReadTextFile(FromQPath(args.at(1)));
    const kavrel::ProofVerdict verdict =
        text ? kavrel::CheckProof(*text, rest.size() == 1 ? SealGiven(rest.at(0)) : std::string(), entryGiven)
             : kavrel::ProofVerdict{"CANNOT VERIFY: the proof file cannot be read", 3};
    Print(verdict.line);
    return verdict.status;
  }
  std::string entrant;  // as the stored bytes (GB18030)
  QString proofFile;
  bool withEntrant = false;
  std::vector<std::string> seen;
  qsizetype i = 0;
  for (; i + 1 < args.size(); i += 2) {
    if (is(i, "--entrant")) {
      entrant = kavrel::FromQt(args.at(i + 1));
      withEntrant = true;
    } else if (is(i, "--proof")) {
      proofFile = args.at(i + 1);
    } else if (is(i, "--seen")) {
      seen.push_back(args.at(i + 1).toStdString());
    } else {
      break;
    }
  }
  if (i + 1 != args.size() || (!proofFile.isEmpty() && !withEntrant)) {
    std::fputs(kUsage, stderr);
    return 3;
  }
  kavrel::DrawEvidence evidence = kavrel::EvidenceIn(FromQPath(args.at(i)));
  evidence.seen = seen;
  const kavrel::VerifyReport report = kavrel::VerifyDraw(evidence);
  Print(kavrel::ReportLine(report));
  for (const auto& line : kavrel::ReportDetails(report)) Print(line);
  const int status = kavrel::ExitStatus(report);
  if (!withEntrant) return status;
  // An answer about one entrant means something only when the draw it comes from holds.
  if (report.outcome == kavrel::VerifyOutcome::Mismatch || report.outcome == kavrel::VerifyOutcome::Unusable)
    return status;
  const kavrel::EntrantAnswer answer = kavrel::LookUpEntrant(report, entrant);
  for (const auto& line : kavrel::EntrantLines(report, entrant, answer)) Print(line);
  if (!answer.InList()) return 5;
  if (!proofFile.isEmpty()) {
    const auto log = kavrel::EvidenceReceipts(evidence);
    const auto proof = kavrel::ProveEntry(report.sealedPool, answer.positions.front());
    if (report.format < 2 || log.lines.empty()) {
      Print("no proof: receipts of the older kind have no Merkle root in their seal");
    } else if (kavrel::WriteTextFile(FromQPath(proofFile),
                                     kavrel::MembershipProofJson(log.lines.front(),
                                                                 report.sealedPool[answer.positions.front()], proof))) {
      const std::string name = proofFile.toStdString();
      Print("proof written to " + name + " (check it with: kavrel-verify --check-proof " + name + " " +
            kavrel::ShortSeal(report.seal) + ")");
    } else {
      Print("the proof could not be written to " + proofFile.toStdString());
      return 3;
    }
  }
  return status;
}
