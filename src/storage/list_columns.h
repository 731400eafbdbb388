#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

class ProgramDir;

// The list's column names (the header cells of the columns its entries are joined from: "工号",
// "姓名", "部门"), saved beside the list in config\columns.dat, one per line, so that the exports head
// their columns with them. It is read from the folder of the draw's results; a past draw whose folder
// has none keeps the exports' own headings.
inline constexpr std::string_view kListColumnsDat = "\\config\\columns.dat";
inline constexpr std::string_view kListColumnsFileName = "columns.dat";

bool SaveListColumnNames(const ProgramDir& dir, const std::vector<std::string>& names);
// Empty when the file is missing or not a list of names.
std::vector<std::string> LoadListColumnNames(const std::filesystem::path& file);

}  // namespace kavrel
