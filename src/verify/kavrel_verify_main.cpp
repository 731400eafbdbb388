// kavrel-verify FOLDER (or --version): checks a draw from its receipts, without the program's windows.
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "kavrel_version.h"
#include "verify/draw_verifier.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("kavrel-verify %s\n", kavrel::kVersion);
    return 0;
  }
  const bool help = argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help");
  if (argc != 2 || help) {
    std::fputs(
        "usage: kavrel-verify PROGRAM_FOLDER_OR_HISTORY_FOLDER\n"
        "       kavrel-verify --version\n"
        "Replays the draw from its receipts (receipts.log) over the list the seal covers and checks that the\n"
        "result files hold exactly the replayed winners.\n"
        "Exit status: 0 verified, 1 mismatch, 2 last receipt cut short (the rest verified), 3 nothing to verify.\n",
        help ? stdout : stderr);
    return help ? 0 : 3;
  }
  // The folder's name as the system gave it: the paths below it are made of ASCII names only.
  const kavrel::VerifyReport report = kavrel::VerifyDraw(kavrel::EvidenceIn(std::filesystem::path(argv[1])));
  std::printf("%s\n", kavrel::ReportLine(report).c_str());
  return kavrel::ExitStatus(report);
}
