#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kavrel {

class Clock;
class ProgramDir;
class Prompter;
class Settings;

// What the picture list needs from the program. The draw's state is never written from here: a
// draw under way is only asked about, and the caller learns from DrawRestartWanted() whether the
// draw must start afresh from the saved list.
struct PhotoListContext {
  const ProgramDir& dir;
  Settings& settings;
  Prompter& prompter;
  const Clock& clock;
  bool drawUnderWay = false;  // batches have been recorded: the first change asks the restart question
  std::string pictureFolder;  // GB18030 full path without trailing separator; empty before the first import
  bool ratio43 = true;
};

// A folder import's progress: entries examined, entries in all, and the full path (GB18030) of the
// picture just listed or copied.
using PhotoImportProgress = std::function<void(int done, int total, const std::string& gbPath)>;

// The picture-mode participant list: one photo file per participant in the picture folder, the entry
// being the file name without ".jpg". Every change is saved at once (config\set.dat and the folder
// and aspect settings). Questions and refusals go through the Prompter; no widget is involved, so the
// window stays a thin view over this class.
//
// Where the list used to lose or break people's photos, it asks or refuses instead: a photo is never
// replaced or removed without a question, and removed photos are kept in history/; an import from a
// second folder copies the pictures into the list's folder rather than re-pointing the existing items;
// nothing is added while no picture folder has been chosen.
class PhotoList {
 public:
  explicit PhotoList(PhotoListContext context);

  // Reads config\set.dat: one item (entry + ".jpg") per line; a missing file is an empty list.
  void Open();

  const std::vector<std::string>& Items() const { return items_; }  // file names, GB18030
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Folder() const { return folder_; }
  bool Ratio43() const { return ratio43_; }
  // A change was saved: the draw must start afresh from the files when the window closes (while a
  // draw was under way, only after the operator agreed to that).
  bool DrawRestartWanted() const { return saved_; }

  // The item a preview shows: the selected one, else the first; none for an empty list.
  std::optional<int> PreviewItem(std::optional<int> selected) const;
  // The photo file of an item, as a native path.
  std::filesystem::path ItemPath(int index) const;

  // What a command did: whether the list changed, and which item to select afterwards.
  struct Outcome {
    bool changed = false;
    std::optional<int> select;
  };

  // "导入图片...": picks a folder and lists its .jpg pictures (no picture is opened). With
  // `clearFirst` (or an empty list, or the list's own folder) the chosen folder becomes the picture
  // folder; otherwise the pictures are copied into the list's folder, so the items already listed
  // keep their photos. `progress` is called for every entry.
  Outcome ImportFolder(bool clearFirst, const PhotoImportProgress& progress = {});
  // The import without the picker (the picker's answer, GB18030).
  Outcome ImportFolderFrom(const std::string& gbFolder, bool clearFirst, const PhotoImportProgress& progress = {});

  // "增加一张": the file picker, then AddFile.
  Outcome AddOne();
  // One picture into the list; a picture from another folder is copied into the picture folder first.
  Outcome AddFile(const std::string& gbPath);

  // "删除一张": asks, keeps the photo in history/ (unless another item still shows it), removes the item.
  Outcome DeleteOne(std::optional<int> selected);

  // "删除全部": asks; empties the list and the folder setting; the photos stay where they are.
  bool DeleteAll();

  // The aspect combo box: written at once.
  void SetRatio43(bool ratio43);

  // Picture folder chosen and present; otherwise says why adding or shooting is refused.
  bool FolderReady();

  // The camera's save, in two steps. PrepareShot checks the name and the folder and asks about a photo
  // of that name and a draw under way; it gives the file to write, or nothing when refused or cancelled
  // (the reason was shown). After the file is written, AddShot lists it and saves.
  std::optional<std::filesystem::path> PrepareShot(const std::string& gbName);
  void AddShot(const std::string& gbName);

 private:
  bool MayChange();
  bool Save();
  bool KeepInHistory(const std::filesystem::path& file);
  void Message(const std::string& gbText, const char* caption) const;
  Outcome CopyFolderIn(const std::filesystem::path& from, const std::vector<std::string>& names,
                       const PhotoImportProgress& progress);

  PhotoListContext ctx_;
  std::vector<std::string> items_;
  std::string folder_;
  bool ratio43_;
  bool restartAgreed_;  // no draw under way, or the restart question was answered with OK
  bool saved_ = false;
};

// Why a typed photo name cannot be a file name, or nothing when it can (GB18030 message).
std::optional<std::string> PhotoNameProblem(const std::string& gbName);

// A name whose last 4 bytes are ".jpg", ASCII letters in any case.
bool IsJpgName(const std::string& name);

// The camera's size fields: the other side of a W:H picture when one side is given, 4:3 or 3:4, and
// the text the field shows (up to 13 significant digits).
double OtherSide(double given, bool widthGiven, bool ratio43);

}  // namespace kavrel
