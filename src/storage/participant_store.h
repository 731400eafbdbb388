#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/local_date_time.h"

namespace kavrel {

class ProgramDir;
class Settings;

// An entry longer than this is no name: 256 bytes are 128 Chinese characters, more than a staff
// number, name, department and phone joined by the display columns (60 to 100 bytes) and more than
// one cell of the rolling display can show. What makes one is nearly always a list whose lines
// were not split (a file with line ends the program did not expect, or cells glued together).
inline constexpr std::size_t kLongEntryBytes = 256;

// What loading the list changed or found, for the one message that tells the operator.
struct PoolLoadNotes {
  int dashesReplaced = 0;  // entries whose "-" became "－"
  int breaksReplaced = 0;  // entries whose TABs or line breaks became spaces (MakeSingleLine)
  int blanksDropped = 0;   // blank lines left out
  int longEntries = 0;     // entries longer than kLongEntryBytes
  int firstLongEntry = 0;  // its 1-based position in the loaded list, 0 when there is none
};

// config\set.dat as the draw's entries; nullopt when the file does not exist (an empty file is an
// empty list). The text is decoded by DecodeExternalText and split by SplitLines, so lists saved as
// UTF-8 or UTF-16 or with bare LF line ends read as they look. A line is one entry: a TAB (two
// columns pasted from a workbook) or a line break left inside it (a lone CR, U+2028) becomes a space
// by MakeSingleLine, as in the list editor, since the result files separate their fields with TABs
// and lines. Blank entries (nothing but blanks) are left out: they could only ever win as nobody. An ASCII "-" inside
// an entry becomes the full-width "－": "-" separates the fields of result.dat and exit.ini, and an entry carrying one
// would read back as several winners.
std::optional<std::vector<std::string>> LoadPool(const ProgramDir& dir, PoolLoadNotes* notes = nullptr);

// config\set.dat's lines as they are written, decoded and split by the same rule (so LF or CR
// alone end lines too) but without the pool's rules: the picture list's file names. Empty when
// there is no file.
std::vector<std::string> LoadListLines(const ProgramDir& dir);

// The rules by which a list's lines become the draw's entries, kept in each draw's seal so that it
// is checked by the rules it was drawn by: 0 took TABs and lone CRs inside a line as they were (and
// compared entries byte for byte); 1 applies MakeSingleLine to every entry.
inline constexpr int kEntryRules = 1;

// The rules above for one list's text (already decoded).
std::vector<std::string> PoolEntries(std::string_view text, PoolLoadNotes* notes = nullptr, int rules = kEntryRules);

// An entry made only of ASCII blanks, tabs and full-width blanks (or nothing).
bool IsBlankEntry(std::string_view entry);

// Whether a list text (set.dat's bytes) holds one entry that is not blank.
bool ListHasEntries(std::string_view text);

// One table row is one entry: every line break inside a cell's text (CR LF, CR, LF, vertical tab,
// form feed, U+0085, U+2028, U+2029) and every TAB becomes one space, so set.dat can never hold
// more lines than the table has rows. True when the text changed.
bool MakeSingleLine(std::string& gbText);

// set.dat text: every entry followed by CR LF; an empty list is empty text.
std::string BuildSetDatText(const std::vector<std::string>& entries);

// A table with more than one data column needs the display-column answer.
bool NeedsDisplayColumns(int dataColumnCount);

// The question asked for the display columns (GB18030), its title, and the answer used when it
// is cancelled.
std::string DisplayColumnsTitle();
std::string DisplayColumnsPrompt();
inline constexpr const char* kDisplayColumnsDefault = "2";

// Entries of a table. `rows` hold the data cells only (the row-number column is not stored);
// with one data column an entry is the cell text; otherwise the answer ("2-3") names table
// columns counting the row-number column as 1, and each entry is those cells, each followed by
// two spaces; numbers beyond the last column are skipped. A cancelled answer (nullopt), or one
// that names no existing column, means "2".
std::vector<std::string> BuildEntries(const std::vector<std::vector<std::string>>& rows, int dataColumnCount,
                                      const std::optional<std::string>& displayAnswer);

// BuildEntries then BuildSetDatText: the set.dat text of a list editor table.
std::string BuildSetDatText(const std::vector<std::vector<std::string>>& rows, int dataColumnCount,
                            const std::optional<std::string>& displayAnswer);

// Writes config\set.dat.
bool SavePool(const ProgramDir& dir, const std::vector<std::string>& entries);

// The link between the list editor's table (config\imdata.dat) and the list it saved with it: the
// SHA-256 of set.dat's bytes as hex. The table keeps it, so that a pair one of whose files was
// replaced without the other (a crash between the two writes, a list prepared by hand) shows.
std::string SetDatLink(std::string_view setDatBytes);
// The link of the set.dat on disk; nullopt when there is none.
std::optional<std::string> CurrentSetDatLink(const ProgramDir& dir);

// The list editor's save: the table's snapshot, then the list. A set.dat that is replaced by a
// different one is first kept in history/ (hard-linked where the file system allows, so a list of
// a million lines costs no copy), so that a wrong save can be undone by hand.
enum class EditorListSave { Ok, HistoryFailed, TableFailed, ListFailed };
// `keepOld` false skips the history copy (the caller asked the operator after HistoryFailed).
EditorListSave SaveEditorList(const ProgramDir& dir, const std::string& snapshot, const std::string& setDatText,
                              const LocalDateTime& when, bool keepOld = true);

// Picture mode: set.dat gets the file names without their last 4 bytes (".jpg"); the settings
// get "图片前缀" (the folder, GB18030 full path) and "图片比例" ("4:3" or "3:4").
bool SavePictureList(const ProgramDir& dir, Settings& settings, const std::vector<std::string>& fileNames,
                     const std::string& pictureFolder, bool ratio43);

// Picture mode: the image of an entry, pictureFolder + "\" + entry + ".jpg", as a native path.
// The entry is taken as it is (a trailing blank stays part of the name). An entry whose "-" the
// list load turned into "－" still finds its photo: when no file of that name exists, the name with
// the "-" restored is used.
std::filesystem::path PictureFilePath(const std::string& gbPictureFolder, const std::string& entry);

// The list is emptied: config\set.dat goes into history/ (deleted when it cannot be moved there).
// False when the file stays.
bool PutPoolFileAside(const ProgramDir& dir, const LocalDateTime& when);

}  // namespace kavrel
