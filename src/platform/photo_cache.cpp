#include "platform/photo_cache.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "platform/picture_reader.h"

namespace kavrel {

namespace fs = std::filesystem;

namespace {

// A thumbnail file: magic, payload length (little-endian), MD5 of the payload, payload (a JPEG, or a
// PNG for a photo with transparency). The checksum is what makes a torn file harmless: the files are
// renamed into place without a flush of their own (ten thousand flushes would keep the disk busy
// through the event for a cache that can always be made again), so after a power cut a thumbnail may
// hold anything, and it is then taken as missing.
constexpr char kMagic[8] = {'K', 'V', 'T', 'H', 'M', 'B', '0', '1'};
constexpr qsizetype kHeaderSize = 8 + 4 + 16;
constexpr char kSuffix[] = ".thumb";
constexpr char kTemporaryMark[] = ".tmp-";
constexpr int kJpegQuality = 90;

QString NativeQString(const fs::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

fs::path FromQString(const QString& path) {
#ifdef _WIN32
  return fs::path(path.toStdWString());
#else
  return fs::path(QFile::encodeName(path).toStdString());
#endif
}

// The file name of a photo's thumbnail: the photo as it is now (path, size, modification time) and the
// thumbnail's size. Another size or time is another name, so nothing stale is ever found.
std::optional<QString> ThumbnailName(const QString& photo, QSize box) {
  const QFileInfo info(photo);
  if (!info.isFile()) return std::nullopt;
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(photo.toUtf8());
  hash.addData(QByteArrayLiteral("\n") + QByteArray::number(info.size()) + '\n' +
               QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\n' + QByteArray::number(box.width()) +
               'x' + QByteArray::number(box.height()));
  return QString::fromLatin1(hash.result().toHex()) + QLatin1String(kSuffix);
}

// The payload of a thumbnail file, or nullopt when the file is missing, torn or not one of ours.
std::optional<QByteArray> ReadPayload(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = f.readAll();
  if (bytes.size() < kHeaderSize || !bytes.startsWith(QByteArray::fromRawData(kMagic, sizeof kMagic)))
    return std::nullopt;
  const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + 8);
  if (static_cast<qsizetype>(length) != bytes.size() - kHeaderSize) return std::nullopt;
  QByteArray payload = bytes.mid(kHeaderSize);
  if (QCryptographicHash::hash(payload, QCryptographicHash::Md5) != bytes.mid(12, 16)) return std::nullopt;
  return payload;
}

QImage DecodePayload(const QByteArray& payload) {
  // The format is known, so the decoder is not chosen by probing every plugin.
  return QImage::fromData(payload, payload.startsWith("\x89PNG") ? "PNG" : "JPG");
}

// Writes the thumbnail under a temporary name beside its place and renames it there: a reader sees the
// old state or the whole file.
bool WriteThumbnail(const fs::path& target, const QImage& thumbnail) {
  QByteArray payload;
  {
    QBuffer buffer(&payload);
    buffer.open(QIODevice::WriteOnly);
    const bool saved =
        thumbnail.hasAlphaChannel() ? thumbnail.save(&buffer, "PNG") : thumbnail.save(&buffer, "JPG", kJpegQuality);
    if (!saved) return false;
  }
  QByteArray bytes(kMagic, sizeof kMagic);
  char length[4];
  qToLittleEndian<quint32>(static_cast<quint32>(payload.size()), length);
  bytes.append(length, 4);
  bytes += QCryptographicHash::hash(payload, QCryptographicHash::Md5);
  bytes += payload;

  fs::path temporary = target;
  temporary += kTemporaryMark + std::to_string(QCoreApplication::applicationPid());
  QFile file(NativeQString(temporary));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const bool written = file.write(bytes) == bytes.size();
  file.close();
  std::error_code ec;
  if (written && file.error() == QFileDevice::NoError) {
    fs::rename(temporary, target, ec);
    if (!ec) return true;
  }
  fs::remove(temporary, ec);
  return false;
}

bool IsTemporary(const fs::path& file) {
  return file.filename().string().find(kTemporaryMark) != std::string::npos;
}

bool IsThumbnail(const fs::path& file) {
  return file.extension() == kSuffix;
}

}  // namespace

QImage CoverCell(QImage image, QSize cell) {
  if (image.isNull() || cell.isEmpty()) return {};
  if (image.size() == cell) return image;
  const QSize cover = image.size().scaled(cell, Qt::KeepAspectRatioByExpanding);
  const qreal factor = static_cast<qreal>(cover.width()) / image.width();
  if (factor < 0.5) {
    // A strong reduction averages every pixel it covers; sampling would shimmer.
    image = image.scaled(cover, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.copy((image.width() - cell.width()) / 2, (image.height() - cell.height()) / 2, cell.width(),
                      cell.height());
  }
  // A mild one (a thumbnail into a smaller cell, or only the cut) is drawn with bilinear sampling:
  // several times cheaper than averaging, and as sharp at these factors. It is most of what a roll's
  // first frame costs per photo.
  // Whole pixels of the covering size are cut off, as a plain crop would: a photo decoded at its cover
  // size is then copied without resampling.
  const QRectF source((cover.width() - cell.width()) / 2 / factor, (cover.height() - cell.height()) / 2 / factor,
                      cell.width() / factor, cell.height() / factor);
  QImage out(cell, image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  if (image.hasAlphaChannel()) out.fill(Qt::transparent);
  QPainter painter(&out);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(QPointF(0, 0), QSizeF(cell)), image, source);
  return out;
}

QImage MakeThumbnail(const QString& photo, QSize box) {
  if (photo.isEmpty() || box.isEmpty()) return {};
  return CoverCell(ReadPictureScaled(photo, box, Qt::KeepAspectRatioByExpanding), box);
}

// ---- the background thread ----

struct PhotoCache::Queue {
  std::mutex mutex;
  std::condition_variable wake;
  std::optional<Job> pending;
  bool stop = false;
  // Read by the pass between photos without taking the lock.
  std::atomic<bool> interrupt{false};
};

PhotoCache::PhotoCache(fs::path folder) : folder_(std::move(folder)), queue_(std::make_unique<Queue>()) {}

PhotoCache::~PhotoCache() {
  {
    const std::lock_guard lock(queue_->mutex);
    queue_->stop = true;
    queue_->interrupt = true;
  }
  queue_->wake.notify_all();
  if (thread_) {
    thread_->wait();
    delete thread_;
  }
}

void PhotoCache::Refresh(std::function<QStringList()> listPhotos, QSize box) {
  {
    const std::lock_guard lock(queue_->mutex);
    queue_->pending = Job{std::move(listPhotos), box};
    queue_->interrupt = true;
  }
  queue_->wake.notify_all();
  if (!thread_) {
    // Idle priority: the thumbnails take only what the draw leaves (on Linux the thread runs under
    // SCHED_IDLE), so a roll on the stage never waits for them.
    thread_ = QThread::create([this] { Work(); });
    thread_->setObjectName(QStringLiteral("kavrel photo cache"));
    thread_->start(QThread::IdlePriority);
  }
}

void PhotoCache::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(queue_->mutex);
      queue_->wake.wait(lock, [this] { return queue_->stop || queue_->pending; });
      if (queue_->stop) return;
      job = std::move(*queue_->pending);
      queue_->pending.reset();
      queue_->interrupt = false;
    }
    listed_ = 0;
    done_ = 0;
    finished_ = false;
    if (job.listPhotos && !job.box.isEmpty()) RunPass(job);
  }
}

bool PhotoCache::Interrupted() const {
  return queue_->interrupt.load(std::memory_order_relaxed);
}

void PhotoCache::RunPass(const Job& job) {
  const QStringList photos = job.listPhotos();
  listed_ = static_cast<int>(photos.size());
  std::error_code ec;
  fs::create_directories(folder_, ec);
  // Temporary files are only ever ours and only in flight within a pass: any left now are from a run
  // that ended mid-write.
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec))
    if (IsTemporary(it->path())) fs::remove(it->path(), ec);

  std::vector<fs::path> listed;
  listed.reserve(static_cast<std::size_t>(std::min<qsizetype>(photos.size(), kMaxThumbnails)));
  for (const QString& photo : photos) {
    if (Interrupted()) return;
    if (static_cast<int>(listed.size()) >= kMaxThumbnails) break;
    if (const std::optional<QString> name = ThumbnailName(photo, job.box)) {
      const fs::path target = folder_ / FromQString(*name);
      listed.push_back(target);
      // Reading a present thumbnail whole checks it and leaves it in the system's file cache, where the
      // first frame of a roll finds it.
      if (!ReadPayload(NativeQString(target))) {
        fs::remove(target, ec);  // a damaged one, if any: not every system renames over a file
        const QImage thumbnail = MakeThumbnail(photo, job.box);
        if (!thumbnail.isNull() && !Interrupted()) WriteThumbnail(target, thumbnail);
      }
    }
    ++done_;
  }
  if (Interrupted()) return;
  Prune(listed);
  done_ = static_cast<int>(photos.size());
  finished_ = true;
}

void PhotoCache::Prune(const std::vector<fs::path>& listed) const {
  struct Entry {
    fs::path path;
    fs::file_time_type time;
    std::uintmax_t size;
  };
  const std::set<fs::path> keep(listed.begin(), listed.end());
  std::vector<Entry> others;
  std::size_t count = 0;
  std::uintmax_t bytes = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsThumbnail(it->path())) continue;
    std::error_code sizeError;
    const std::uintmax_t size = it->file_size(sizeError);
    if (sizeError) continue;
    ++count;
    bytes += size;
    if (!keep.count(it->path())) others.push_back({it->path(), it->last_write_time(sizeError), size});
  }
  // Thumbnails of photos no longer listed go, oldest first, once the folder is beyond its bounds.
  std::sort(others.begin(), others.end(), [](const Entry& a, const Entry& b) { return a.time < b.time; });
  for (const Entry& entry : others) {
    if (count <= static_cast<std::size_t>(kMaxThumbnails) && bytes <= static_cast<std::uintmax_t>(kMaxBytes)) break;
    if (fs::remove(entry.path, ec)) {
      --count;
      bytes -= entry.size;
    }
  }
}

PhotoCache::Progress PhotoCache::CurrentProgress() const {
  return {listed_.load(), done_.load(), finished_.load()};
}

QImage PhotoCache::Thumbnail(const QString& photo, QSize box) const {
  const std::optional<QString> name = ThumbnailName(photo, box);
  if (!name) return {};
  const std::optional<QByteArray> payload = ReadPayload(NativeQString(folder_ / FromQString(*name)));
  return payload ? DecodePayload(*payload) : QImage();
}

}  // namespace kavrel
