#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kavrel {

class ProgramDir;
class Settings;

// config\set.dat split into entries; nullopt when the file does not exist (an empty file is an
// empty list).
std::optional<std::vector<std::string>> LoadPool(const ProgramDir& dir);

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

// Picture mode: set.dat gets the file names without their last 4 bytes (".jpg"); the settings
// get "图片前缀" (the folder, GB18030 full path) and "图片比例" ("4:3" or "3:4").
bool SavePictureList(const ProgramDir& dir, Settings& settings, const std::vector<std::string>& fileNames,
                     const std::string& pictureFolder, bool ratio43);

// Picture mode: the image of an entry, pictureFolder + "\" + entry + ".jpg", as a native path.
// The entry is taken as it is (a trailing blank stays part of the name).
std::filesystem::path PictureFilePath(const std::string& gbPictureFolder, const std::string& entry);

// Lifecycle deletions (false when an existing file stays).
bool DeletePoolFile(const ProgramDir& dir);         // config\set.dat
bool DeleteEditorTableFile(const ProgramDir& dir);  // config\imdata.dat

}  // namespace kavrel
