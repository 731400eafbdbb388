#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

class QThread;

namespace kavrel {

// Small pictures of the participants' photos, made ahead so that a roll never has to decode a camera
// photo while the audience waits: a 12-megapixel JPEG costs milliseconds even at a reduced scale, a
// thumbnail of the cell's size a fraction of one.
//
// A background thread of idle priority goes through the photos of the list, at start-up and whenever
// the list changes, and writes one thumbnail file per photo into the cache folder. A file's name is made
// from the photo's path, size and modification time and the thumbnail's size, so a photo replaced under
// the same name is never shown from an old thumbnail: it simply has none until the next pass. Each file
// carries its length and checksum and is written under a temporary name and renamed, so a crash or a
// power cut can leave a missing thumbnail but never a half one that would be shown. The folder is kept
// within kMaxThumbnails files and kMaxBytes bytes, thumbnails of photos no longer listed going first.
// Nothing is held in memory beyond the photo being worked on.
class PhotoCache {
 public:
  // The cache folder below the program's data folder (a ProgramDir suffix).
  static constexpr std::string_view kFolder = "\\config\\thumbs";
  // Bounds of the folder: a list longer than kMaxThumbnails gets thumbnails for its first photos only.
  static constexpr int kMaxThumbnails = 20000;
  static constexpr qint64 kMaxBytes = 400ll << 20;

  explicit PhotoCache(std::filesystem::path folder);
  // Stops the pass under way; waits for at most the one photo being decoded.
  ~PhotoCache();
  PhotoCache(const PhotoCache&) = delete;
  PhotoCache& operator=(const PhotoCache&) = delete;

  // Starts a pass making thumbnails of `box` (the largest cell they are drawn in) for every photo that
  // `listPhotos` names. The function runs on the background thread, so it may read files. A new call
  // replaces the pass under way; an empty function only stops it. Never waits.
  void Refresh(std::function<QStringList()> listPhotos, QSize box);

  // The thumbnail of `photo` for `box` as the photo is now, read from its file; a null image when there
  // is none yet (a new or changed photo, or one the pass has not reached). Any thread; never waits for
  // the background thread.
  QImage Thumbnail(const QString& photo, QSize box) const;

  // How far the latest pass got: photos listed, photos gone through, and whether it went through all.
  struct Progress {
    int listed = 0;
    int done = 0;
    bool finished = false;
  };
  Progress CurrentProgress() const;

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  struct Job {
    std::function<QStringList()> listPhotos;
    QSize box;
  };
  struct Queue;

  void Work();
  void RunPass(const Job& job);
  bool Interrupted() const;
  void Prune(const std::vector<std::filesystem::path>& listed) const;

  const std::filesystem::path folder_;
  std::unique_ptr<Queue> queue_;
  QThread* thread_ = nullptr;
  std::atomic<int> listed_{0};
  std::atomic<int> done_{0};
  std::atomic<bool> finished_{false};
};

// `image` scaled to cover `cell` without distortion, its middle kept: how a photo fills a roll's cell.
QImage CoverCell(QImage image, QSize cell);

// The thumbnail of one photo: decoded straight at a reduced scale and cut to cover `box`. Null when the
// photo cannot be read.
QImage MakeThumbnail(const QString& photo, QSize box);

}  // namespace kavrel
