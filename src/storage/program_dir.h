#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kavrel {

// The folder the program keeps its files in. Run from its own folder (unpacked, a USB stick, the build's
// app/), that is the folder of the executable, as always. Installed (a package, the Windows installer),
// the program folder is read-only or marked as installed: the data then lives in the user's own data
// folder, filled from the program folder's defaults at the first start, and only the read-only parts
// (the manual, the sample event) are taken from the program folder.
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
  // Who signed in on their phone, kept across a restart.
  static constexpr std::string_view kSigninDat = "\\config\\signin.dat";
  // Each person's own sign-in code (the invitations' QR codes).
  static constexpr std::string_view kSigninCodes = "\\config\\signin-codes.dat";
  // Held while a program runs on the folder: a second one for the same data is refused.
  static constexpr std::string_view kInstanceLock = "\\kavrel.lock";
  // Read-only parts, in the program folder: the sample event, and the file an installer leaves to say
  // that the folder is not the data folder even when it happens to be writable (an administrator).
  static constexpr std::string_view kSampleDir = "\\sample";
  static constexpr std::string_view kInstalledMarker = "\\kavrel.installed";

  // Data and program in one folder (the portable layout; tests).
  explicit ProgramDir(std::filesystem::path root);
  // Data in `root`, the program and its read-only parts in `programFolder`.
  ProgramDir(std::filesystem::path root, std::filesystem::path programFolder);

  // The folder of the running executable, or the user's data folder when the program is installed
  // (needs a QCoreApplication).
  static ProgramDir FromExecutable();

  // The rule itself: the program folder when the program may write there and no installer marked it,
  // else `userDataFolder`.
  static ProgramDir Choose(const std::filesystem::path& programFolder, const std::filesystem::path& userDataFolder);

  // The per-user data folder of this system: $XDG_DATA_HOME/kavrel (~/.local/share/kavrel) on Linux,
  // %LOCALAPPDATA%\kavrel on Windows.
  static std::filesystem::path UserDataFolder();

  const std::filesystem::path& Root() const { return root_; }
  const std::filesystem::path& ProgramFolder() const { return program_; }
  // True when the data lives apart from the program (installed).
  bool SeparateData() const { return root_ != program_; }

  // ProgramFolder + a fixed suffix, for the read-only parts.
  std::filesystem::path ProgramPath(std::string_view suffix) const;

  // A data folder that does not exist yet gets the program folder's config/ and wav/ (the default
  // sounds, and whatever event a read-only folder carries). Returns false when the data folder
  // cannot be made; does nothing when data and program share the folder or the data folder exists.
  bool FillFromDefaults() const;

  // The sample event (participants, awards, titles) shipped in the program folder's sample/.
  bool HasSampleEvent() const;
  // Copies it into config/, over nothing: only into a folder with no list and no award table yet.
  // False when there is no sample, the folder already holds an event, or a copy failed.
  bool LaySampleEvent() const;

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
  std::filesystem::path program_;
};

// A full path held as GB18030 bytes (a stored picture folder, a picked file), backslashes
// turned into native separators, as a path the file system accepts.
std::filesystem::path NativePath(const std::string& gbPath);

// The inverse: a native path as GB18030 bytes.
std::string GbPath(const std::filesystem::path& path);

}  // namespace kavrel
