#include "storage/list_columns.h"

#include "storage/program_dir.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

bool SaveListColumnNames(const ProgramDir& dir, const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += name + "\r\n";
  return WriteTextFile(dir.Path(kListColumnsDat), text);
}

std::vector<std::string> LoadListColumnNames(const std::filesystem::path& file) {
  const auto text = TryReadTextFile(file);
  // A few header cells, never a list: anything larger is not this file.
  if (!text || text->size() > 64 * 1024) return {};
  return SplitText(*text, "\r\n");
}

}  // namespace kavrel
