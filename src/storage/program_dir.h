#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kavrel {

// The folder that holds the executable; every file of the program lives below it.
// Paths are built from fixed suffixes written the way they are stored ("\config\config.ini"):
// the backslashes are turned into native separators only when a path is used.
class ProgramDir {
 public:
  // Suffixes of every file and folder the program keeps (UTF-8, backslash-separated).
  static constexpr std::string_view kConfigDir = "\\config";
  static constexpr std::string_view kConfigIni = "\\config\\config.ini";
  static constexpr std::string_view kSetDat = "\\config\\set.dat";
  static constexpr std::string_view kImDataDat = "\\config\\imdata.dat";
  static constexpr std::string_view kAwardTableDat = "\\config\\jiangx.dat";
  static constexpr std::string_view kBatchPlanDat = "\\config\\shezhijx.dat";
  static constexpr std::string_view kDrawerCaptionDat = "\\config\\person.dat";
  static constexpr std::string_view kResultDat = "\\config\\result.dat";
  static constexpr std::string_view kExitIni = "\\config\\exit.ini";
  static constexpr std::string_view kStageSnapshot = "\\config\\temp.jpg";
  static constexpr std::string_view kResultTxt = "\\result.txt";
  static constexpr std::string_view kWavDir = "\\wav";
  static constexpr std::string_view kHelpFile = "\\kavrel抽奖.chm";
  static constexpr std::string_view kHistoryDir = "\\history";
  // The draw's receipts and the list they were sealed over (kept for history/).
  static constexpr std::string_view kReceiptsLog = "\\config\\receipts.log";
  static constexpr std::string_view kSealedList = "\\config\\receipts-list.dat";
  // The draw key of a draw not yet closed (revealed by the log's closing line when it ends).
  static constexpr std::string_view kReceiptsKey = "\\config\\receipts-key.dat";

  explicit ProgramDir(std::filesystem::path root);

  // The folder of the running executable (needs a QCoreApplication).
  static ProgramDir FromExecutable();

  const std::filesystem::path& Root() const { return root_; }

  // Root + a fixed UTF-8 suffix such as "\config\config.ini", as a native path.
  std::filesystem::path Path(std::string_view suffix) const;

  // Root + a stored relative path in GB18030 such as "\wav\bg2.mp3", as a full path in GB18030
  // bytes with native separators (the form the sound port and the pickers exchange).
  std::string Resolve(const std::string& gbStoredRelative) const;

  // The root itself as GB18030 bytes.
  std::string RootGb() const;

  // Creates config/ when missing, so that the first save in a fresh folder does not fail.
  bool EnsureConfigDir() const;

 private:
  std::filesystem::path root_;
};

// A full path held as GB18030 bytes (a stored picture folder, a picked file), backslashes
// turned into native separators, as a path the file system accepts.
std::filesystem::path NativePath(const std::string& gbPath);

// The inverse: a native path as GB18030 bytes.
std::string GbPath(const std::filesystem::path& path);

}  // namespace kavrel
