#include "storage/draw_history.h"

#include <algorithm>
#include <system_error>

#include "storage/codec.h"
#include "storage/list_columns.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

constexpr const char* kNoteFile = "draw.ini";
constexpr const char* kNoteSection = "history";

struct ReasonKey {
  HistoryReason reason;
  const char* key;
};
// Plain ASCII keys, so the note reads the same whatever the program's language becomes.
constexpr ReasonKey kReasonKeys[] = {
    {HistoryReason::NewStart, "new-start"},       {HistoryReason::Restart, "restart"},
    {HistoryReason::ModeSwitch, "mode-switch"},   {HistoryReason::ListOrAwardsSaved, "list-or-awards-saved"},
    {HistoryReason::BroughtBack, "brought-back"},
};

}  // namespace

DrawRecord CurrentDraw(const ProgramDir& dir) {
  DrawRecord record;
  record.resultDat = dir.Path(ProgramDir::kResultDat);
  record.resultTxt = dir.Path(ProgramDir::kResultTxt);
  record.awardTable = dir.Path(ProgramDir::kAwardTableDat);
  record.receipts = dir.Path(ProgramDir::kReceiptsLog);
  record.sealedList = dir.Path(ProgramDir::kSealedList);
  record.receiptsKey = dir.Path(ProgramDir::kReceiptsKey);
  record.current = true;
  return record;
}

DrawRecord HistoryDraw(const std::filesystem::path& folder) {
  DrawRecord record;
  record.folder = folder;
  record.resultDat = folder / "result.dat";
  record.resultTxt = folder / "result.txt";
  record.awardTable = folder / "jiangx.dat";
  record.note = folder / kNoteFile;
  record.receipts = folder / "receipts.log";
  record.sealedList = folder / "receipts-list.dat";
  record.receiptsKey = folder / "receipts-key.dat";
  return record;
}

HistoryNote ReadHistoryNote(const DrawRecord& record) {
  HistoryNote note;
  if (record.note.empty() || !FileExists(record.note)) return note;
  const Settings settings(record.note);
  const std::string key = settings.ReadText(kNoteSection, "reason");
  for (const auto& [reason, text] : kReasonKeys)
    if (key == text) note.reason = reason;
  note.mainTitle = settings.ReadText(kNoteSection, "main-title");
  note.subTitle = settings.ReadText(kNoteSection, "sub-title");
  return note;
}

std::optional<std::filesystem::path> PutResultsAside(const ProgramDir& dir, const LocalDateTime& when,
                                                     HistoryReason reason) {
  std::vector<std::filesystem::path> files = {dir.Path(ProgramDir::kResultDat), dir.Path(ProgramDir::kResultTxt)};
  // The receipts belong to the results they vouch for; without results they record no draw (a seal
  // only) and the next fresh start replaces them.
  if (FileExists(files[0]) || FileExists(files[1]))
    files.insert(files.end(), {dir.Path(ProgramDir::kReceiptsLog), dir.Path(ProgramDir::kSealedList),
                               dir.Path(ProgramDir::kReceiptsKey)});
  auto folder = MoveToHistoryFolder(dir, files, when);
  if (!folder || folder->empty()) return folder;

  // The note and the copies of the award table and the list's columns only help to show the draw later: the results are
  // safe already, so a failure here is not worth stopping the reset for.
  const Settings config(dir.Path(ProgramDir::kConfigIni));
  Settings note(*folder / kNoteFile);
  for (const auto& [r, text] : kReasonKeys)
    if (r == reason) note.WriteText(kNoteSection, "reason", text);
  note.WriteText(kNoteSection, "main-title", config.ReadText(Gb("标题设置"), Gb("主标题")));
  note.WriteText(kNoteSection, "sub-title", config.ReadText(Gb("标题设置"), Gb("副标题")));
  if (auto table = TryReadTextFile(dir.Path(ProgramDir::kAwardTableDat)); table && !table->empty())
    WriteTextFile(*folder / "jiangx.dat", *table);
  // The list's column names stay with the list; a copy heads the past draw's exports with them too.
  if (auto columns = TryReadTextFile(dir.Path(kListColumnsDat)); columns && !columns->empty())
    WriteTextFile(*folder / kListColumnsFileName, *columns);
  return folder;
}

std::vector<std::filesystem::path> ListHistoryFolders(const ProgramDir& dir) {
  std::vector<std::filesystem::path> folders;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir.Path(ProgramDir::kHistoryDir), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) folders.push_back(it->path());
  }
  // yyyyMMdd-HHmmss[-n]: the names sort by time, a second move in the same second after the first;
  // folders named otherwise (made by hand) come last.
  auto stamped = [](const std::string& name) {
    if (name.size() < 15 || name[8] != '-') return false;
    for (std::size_t i = 0; i < 15; ++i)
      if (i != 8 && (name[i] < '0' || name[i] > '9')) return false;
    return true;
  };
  auto newerFirst = [&](const std::filesystem::path& a, const std::filesystem::path& b) {
    const std::string x = a.filename().string(), y = b.filename().string();
    if (stamped(x) != stamped(y)) return stamped(x);
    if (x.size() != y.size() && x.compare(0, 15, y, 0, 15) == 0) return x.size() > y.size();
    return x > y;
  };
  std::sort(folders.begin(), folders.end(), newerFirst);
  return folders;
}

BringBackOutcome BringBackResults(const ProgramDir& dir, const DrawRecord& past, const LocalDateTime& when) {
  const auto log = TryReadTextFile(past.resultDat);
  const auto text = TryReadTextFile(past.resultTxt);
  if (!log || !text || !FileExists(past.resultDat)) return BringBackOutcome::SourceUnreadable;
  if (!PutResultsAside(dir, when, HistoryReason::BroughtBack)) return BringBackOutcome::AsideFailed;
  std::vector<FileWrite> writes{{dir.Path(ProgramDir::kResultDat), *log}};
  if (FileExists(past.resultTxt)) writes.push_back({dir.Path(ProgramDir::kResultTxt), *text});
  // The receipts come back with the results, so the restored draw can still be checked in place.
  for (const auto& [from, to] : {std::pair{past.receipts, dir.Path(ProgramDir::kReceiptsLog)},
                                 std::pair{past.sealedList, dir.Path(ProgramDir::kSealedList)},
                                 std::pair{past.receiptsKey, dir.Path(ProgramDir::kReceiptsKey)}}) {
    if (from.empty() || !FileExists(from)) continue;
    const auto bytes = TryReadTextFile(from);
    if (!bytes) return BringBackOutcome::WriteFailed;
    writes.push_back({to, *bytes});
  }
  // All of them or none: results without the receipts that vouch for them would fail a later check.
  return WriteTextFiles(writes) ? BringBackOutcome::Ok : BringBackOutcome::WriteFailed;
}

}  // namespace kavrel
