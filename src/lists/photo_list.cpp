#include "lists/photo_list.h"

#include <QFile>
#include <algorithm>
#include <system_error>

#include "engine/draw_texts.h"
#include "engine/ports/clock.h"
#include "engine/ports/prompter.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"
#include "storage/settings.h"
#include "storage/text_file.h"

namespace kavrel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOperationCaption = "操作提示：";
constexpr const char* kErrorCaption = "错误提示：";
const std::string kSeparator(1, static_cast<char>(fs::path::preferred_separator));

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return a.lexically_normal() == b.lexically_normal();
}

bool SameContent(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const auto size = fs::file_size(a, ec);
  if (ec || size != fs::file_size(b, ec) || ec) return false;
  QFile fa(detail::ToQPath(a));
  QFile fb(detail::ToQPath(b));
  if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) return false;
  while (!fa.atEnd()) {
    if (fa.read(1 << 20) != fb.read(1 << 20)) return false;
  }
  return true;
}

// The .jpg pictures of a folder (not its subfolders), sorted by name without regard to letter case,
// the order a file window shows them in. Nothing is opened: a folder of 12-megapixel photos lists as
// fast as one of thumbnails.
std::vector<std::string> JpgNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    std::string name = GbPath(it->path().filename());
    // A line break inside a file name would split the entry in config\set.dat.
    if (!IsJpgName(name) || name.find_first_of("\r\n") != std::string::npos) continue;
    names.push_back(std::move(name));
  }
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(names.size());
  for (auto& n : names) keyed.emplace_back(lower(n), std::move(n));
  std::sort(keyed.begin(), keyed.end());
  names.clear();
  for (auto& k : keyed) names.push_back(std::move(k.second));
  return names;
}

}  // namespace

bool IsJpgName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return tail == ".jpg";
}

std::optional<std::string> PhotoNameProblem(const std::string& gbName) {
  if (gbName.empty()) return Gb("图片文件名不能为空！");
  // Only ASCII bytes are tested: in GB18030 every byte of a multi-byte character is 0x40 or above and
  // never one of these, except "\" and "|" as trail bytes, so those are looked for at character starts.
  bool onlyDots = true;
  for (std::size_t i = 0; i < gbName.size(); ++i) {
    const auto c = static_cast<unsigned char>(gbName[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < gbName.size()) {
      const auto next = static_cast<unsigned char>(gbName[i + 1]);
      i += (next >= 0x30 && next <= 0x39 && i + 3 < gbName.size()) ? 3 : 1;
      onlyDots = false;
      continue;
    }
    if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      return Gb("图片文件名不能含有 \\ / : * ? \" < > | 等字符，请重新输入！");
    if (c != '.') onlyDots = false;
  }
  if (onlyDots || gbName.front() == ' ' || gbName.back() == ' ' || gbName.back() == '.')
    return Gb("图片文件名不能以空格或“.”开头或结尾，请重新输入！");
  return std::nullopt;
}

double OtherSide(double given, bool widthGiven, bool ratio43) {
  // Width given: H = W / 4 × 3 for 4:3 and W / 3 × 4 for 3:4; height given the other way round.
  if (widthGiven == ratio43) return given / 4 * 3;
  return given / 3 * 4;
}

PhotoList::PhotoList(PhotoListContext context)
    : ctx_(std::move(context)),
      folder_(ctx_.pictureFolder),
      ratio43_(ctx_.ratio43),
      restartAgreed_(!ctx_.drawUnderWay) {}

void PhotoList::Open() {
  items_.clear();
  for (auto& line : LoadListLines(ctx_.dir)) items_.push_back(std::move(line) + ".jpg");
}

std::optional<int> PhotoList::PreviewItem(std::optional<int> selected) const {
  if (items_.empty()) return std::nullopt;
  if (selected && *selected >= 0 && *selected < Count()) return selected;
  return 0;
}

fs::path PhotoList::ItemPath(int index) const {
  // Without a folder the name alone would be looked up beside wherever the program was started from.
  if (index < 0 || index >= Count() || folder_.empty()) return {};
  return NativePath(folder_) / detail::FromQPath(ToQt(items_[static_cast<std::size_t>(index)]));
}

void PhotoList::Message(const std::string& gbText, const char* caption) const {
  ctx_.prompter.Message(gbText, Gb(caption), Buttons::Ok, caption == kErrorCaption ? Icon::Error : Icon::None);
}

bool PhotoList::MayChange() {
  if (restartAgreed_) return true;
  restartAgreed_ = ctx_.prompter.Message(Gb(texts::kRestartQuestion), Gb(texts::kInfoCaption), Buttons::OkCancel,
                                         Icon::Question) == Answer::Ok;
  return restartAgreed_;
}

bool PhotoList::Save() {
  saved_ = true;
  if (SavePictureList(ctx_.dir, ctx_.settings, items_, folder_, ratio43_)) return true;
  Message(Gb("图片名单未能保存到 config\\set.dat，请检查程序文件夹是否可写！"), kErrorCaption);
  return false;
}

bool PhotoList::KeepInHistory(const fs::path& file) {
  if (MoveToHistory(ctx_.dir, {file}, ctx_.clock.Now())) return true;
  Message(Gb("图片“") + GbPath(file) + Gb("”无法移到 history 文件夹保存，没有做任何更改。请检查文件夹是否可写！"),
          kErrorCaption);
  return false;
}

bool PhotoList::FolderReady() {
  std::error_code ec;
  if (folder_.empty()) {
    Message(Gb("还没有选择图片文件夹，请先用“导入图片...”选择存放图片的文件夹！"), kOperationCaption);
    return false;
  }
  if (!fs::is_directory(NativePath(folder_), ec)) {
    Message(Gb("图片文件夹“") + folder_ + Gb("”不存在，请先用“导入图片...”重新选择存放图片的文件夹！"),
            kOperationCaption);
    return false;
  }
  return true;
}

PhotoList::Outcome PhotoList::ImportFolder(bool clearFirst, const PhotoImportProgress& progress) {
  const auto chosen = ctx_.prompter.PickFolder(Gb("请选择图片的位置："));
  if (!chosen) return {};
  return ImportFolderFrom(*chosen, clearFirst, progress);
}

PhotoList::Outcome PhotoList::ImportFolderFrom(const std::string& gbFolder, bool clearFirst,
                                               const PhotoImportProgress& progress) {
  std::string chosen = gbFolder;
  while (chosen.size() > 1 && (chosen.back() == '/' || chosen.back() == '\\')) chosen.pop_back();
  const fs::path from = NativePath(chosen);
  const std::vector<std::string> names = JpgNames(from);
  // A folder without pictures (a wrong click in the picker) must not empty the list.
  if (names.empty()) {
    Message(Gb("文件夹“") + chosen + Gb("”中没有 .jpg 格式的图片，名单没有更改。"), kOperationCaption);
    return {};
  }

  // Items already listed keep their photos: an import from another folder copies its pictures in.
  // (Items whose folder is gone have no photos to keep, and the list simply moves to the new folder.)
  std::error_code ec;
  const bool intoOwnFolder = !clearFirst && !items_.empty() && !folder_.empty() &&
                             fs::is_directory(NativePath(folder_), ec) && !SameFolder(from, NativePath(folder_));
  if (intoOwnFolder) return CopyFolderIn(from, names, progress);

  if (!MayChange()) return {};
  folder_ = chosen;
  if (clearFirst) items_.clear();
  items_.reserve(items_.size() + names.size());
  const int total = static_cast<int>(names.size());
  for (int i = 0; i < total; ++i) {
    items_.push_back(names[static_cast<std::size_t>(i)]);
    if (progress) progress(i + 1, total, chosen + kSeparator + items_.back());
  }
  Save();
  return {true, items_.empty() ? std::nullopt : std::optional<int>(0)};
}

PhotoList::Outcome PhotoList::CopyFolderIn(const fs::path& from, const std::vector<std::string>& names,
                                           const PhotoImportProgress& progress) {
  const fs::path into = NativePath(folder_);
  auto nativeName = [](const std::string& gb) { return detail::FromQPath(ToQt(gb)); };

  // Pictures whose name is taken by a different photo in the list's folder: asked about once.
  std::vector<std::size_t> clashes;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const fs::path target = into / nativeName(names[i]);
    if (FileExists(target) && !SameContent(from / nativeName(names[i]), target)) clashes.push_back(i);
  }
  bool replace = false;
  if (!clashes.empty()) {
    const Answer a = ctx_.prompter.Message(
        Gb("要导入的图片中有") + std::to_string(clashes.size()) + Gb("张与图片文件夹中已有的图片同名(如“") +
            names[clashes.front()] +
            Gb("”)。\n按【是】用导入的图片替换，原图片移到 history 文件夹保存；按【否】保留原图片，"
               "不导入这些同名图片；按【取消】不导入。"),
        Gb(kOperationCaption), Buttons::YesNoCancel, Icon::Question);
    if (a == Answer::Cancel) return {};
    replace = a == Answer::Yes;
  }
  if (!MayChange()) return {};
  if (replace) {
    std::vector<fs::path> old;
    for (const std::size_t i : clashes) old.push_back(into / nativeName(names[i]));
    if (!MoveToHistory(ctx_.dir, old, ctx_.clock.Now())) {
      Message(Gb("同名的原图片无法移到 history 文件夹保存，没有导入任何图片。请检查文件夹是否可写！"), kErrorCaption);
      return {};
    }
  }

  const std::size_t before = items_.size();
  int failed = 0;
  std::size_t clash = 0;
  const int total = static_cast<int>(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool clashing = clash < clashes.size() && clashes[clash] == i;
    if (clashing) ++clash;
    if (clashing && !replace) continue;
    const fs::path source = from / nativeName(names[i]);
    const fs::path target = into / nativeName(names[i]);
    std::error_code ec;
    if (!FileExists(target)) fs::copy_file(source, target, ec);
    if (ec) {
      ++failed;
      continue;
    }
    items_.push_back(names[i]);
    if (progress) progress(static_cast<int>(i) + 1, total, folder_ + kSeparator + names[i]);
  }
  if (items_.size() == before && failed == 0) return {};  // every picture was a kept namesake
  Save();
  if (failed > 0)
    Message(Gb("有") + std::to_string(failed) + Gb("张图片无法复制到图片文件夹“") + folder_ +
                Gb("”，没有加入名单。请检查文件夹是否可写、磁盘空间是否足够！"),
            kErrorCaption);
  return {true, items_.empty() ? std::nullopt : std::optional<int>(0)};
}

PhotoList::Outcome PhotoList::AddOne() {
  if (!FolderReady()) return {};
  const auto file = ctx_.prompter.PickOpenFile(Gb("增加一张"), Gb("图片文件（*.jpg）|*.jpg"));
  if (!file) return {};
  return AddFile(*file);
}

PhotoList::Outcome PhotoList::AddFile(const std::string& gbPath) {
  const fs::path source = NativePath(gbPath);
  const std::string name = GbPath(source.filename());
  if (!IsJpgName(name)) return {};
  if (!FolderReady()) return {};
  const fs::path target = NativePath(folder_) / source.filename();
  const bool copy = !SameFolder(source.parent_path(), NativePath(folder_));
  const bool replacing = copy && FileExists(target) && !SameContent(source, target);
  if (replacing && ctx_.prompter.Message(Gb("图片文件夹中已有同名的图片“") + name +
                                             Gb("”，是否替换？\n替换后原图片移到 history 文件夹保存。"),
                                         Gb(kOperationCaption), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return {};
  if (!MayChange()) return {};
  if (replacing && !KeepInHistory(target)) return {};
  if (copy && !FileExists(target)) {
    std::error_code ec;
    if (!fs::copy_file(source, target, ec)) {
      Message(Gb("图片无法复制到图片文件夹“") + folder_ + Gb("”，没有加入名单。请检查文件夹是否可写！"), kErrorCaption);
      return {};
    }
  }
  items_.push_back(name);
  Save();
  return {true, Count() - 1};
}

PhotoList::Outcome PhotoList::DeleteOne(std::optional<int> selected) {
  if (!selected || *selected < 0 || *selected >= Count()) {
    ctx_.prompter.Message(Gb("请先选择一行要删除的数据！"), Gb(kOperationCaption), Buttons::Ok, Icon::None);
    return {};
  }
  const std::size_t index = static_cast<std::size_t>(*selected);
  const std::string name = items_[index];
  if (ctx_.prompter.Message(
          Gb("确定要删除图片“") + name + Gb("”吗？\n图片文件将从图片文件夹移到程序的 history 文件夹保存。"),
          Gb(kOperationCaption), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return {};
  if (!MayChange()) return {};
  // The same picture listed twice is still shown by the other item: its file stays.
  const bool stillListed = std::count(items_.begin(), items_.end(), name) > 1;
  if (!stillListed && FileExists(ItemPath(*selected)) && !KeepInHistory(ItemPath(*selected))) return {};
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  Save();
  if (items_.empty()) return {true, std::nullopt};
  return {true, std::max(0, *selected - 1)};
}

bool PhotoList::DeleteAll() {
  if (ctx_.prompter.Message(Gb("确定要删除全部数据吗？"), Gb(kOperationCaption), Buttons::OkCancel, Icon::Question) !=
      Answer::Ok)
    return false;
  items_.clear();
  // The list file is kept in history/ rather than deleted; the photos stay where they are.
  PutPoolFileAside(ctx_.dir, ctx_.clock.Now());
  if (!ctx_.settings.WriteText(Gb("图片路径"), Gb("图片前缀"), ""))
    Message(Gb("设置文件 config\\config.ini 无法写入，请检查程序文件夹是否可写！"), kErrorCaption);
  return true;
}

void PhotoList::SetRatio43(bool ratio43) {
  ratio43_ = ratio43;
  if (!ctx_.settings.WriteText(Gb("图片路径"), Gb("图片比例"), ratio43 ? "4:3" : "3:4"))
    Message(Gb("设置文件 config\\config.ini 无法写入，请检查程序文件夹是否可写！"), kErrorCaption);
}

std::optional<fs::path> PhotoList::PrepareShot(const std::string& gbName) {
  if (auto problem = PhotoNameProblem(gbName)) {
    ctx_.prompter.Message(*problem, Gb(kOperationCaption), Buttons::Ok, Icon::None);
    return std::nullopt;
  }
  if (!FolderReady()) return std::nullopt;
  const fs::path target = NativePath(folder_) / detail::FromQPath(ToQt(gbName + ".jpg"));
  const bool replacing = FileExists(target);
  if (replacing && ctx_.prompter.Message(Gb("图片文件夹中已有同名的图片“") + gbName +
                                             Gb(".jpg”，是否替换？\n替换后原图片移到 history 文件夹保存。"),
                                         Gb(kOperationCaption), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return std::nullopt;
  if (!MayChange()) return std::nullopt;
  if (replacing && !KeepInHistory(target)) return std::nullopt;
  return target;
}

void PhotoList::AddShot(const std::string& gbName) {
  items_.push_back(gbName + ".jpg");
  Save();
}

}  // namespace kavrel
