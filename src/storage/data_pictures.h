#pragma once

#include <string>

namespace kavrel {

class ProgramDir;

// Pictures the event shows (prize pictures, the stage background) are kept inside the data folder, so
// that copying the program folder to the event laptop takes them along. A picture chosen from
// elsewhere is copied into the folder's pictures\ and stored by its path relative to the data folder,
// written the way the other stored paths are ("\pictures\奖品.png"); a picture already inside the
// data folder is only stored relative. Full paths stored before keep working (ResolveStoredPicture).

struct KeptPicture {
  bool ok = false;
  std::string stored;   // GB18030, "\pictures\a.png" (or the path inside the folder); empty when !ok
  bool copied = false;  // a copy was made (false: the picture was inside the folder already)
};

// Keeps the picture at `gbPicked` (a full path in GB18030, as the file pickers give it) in the data
// folder. The copy is written whole and atomically; a picture of the same name but other content
// already in pictures\ is kept, and the new one gets a numbered name ("a-2.png" style, with the
// full-width "－" so no stored separator is introduced). Not ok when the file cannot be read or written.
KeptPicture KeepPictureInDataFolder(const ProgramDir& dir, const std::string& gbPicked);

// True when `gbStored` is a path relative to the data folder: it begins with one backslash
// ("\pictures\a.png"), not with a drive, a slash or a network share ("\\server").
bool IsDataRelativePath(const std::string& gbStored);

// The full path (GB18030, native separators) of a stored picture: a data-relative path below the data
// folder, anything else as it was stored. Empty stays empty.
std::string ResolveStoredPicture(const ProgramDir& dir, const std::string& gbStored);

}  // namespace kavrel
