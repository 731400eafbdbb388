#pragma once

#include <QIODevice>
#include <cstdint>
#include <string>

#include "lists/workbook/workbook.h"

namespace kavrel::workbook {

// What one read carries along: the caller's options, how much has been unpacked so far (the
// cap counts every part together, not each part alone), the progress made, and the first error.
class ReadContext {
 public:
  explicit ReadContext(const ReadOptions& options) : options_(options) {}

  const ReadOptions& options() const { return options_; }
  bool Cancelled() const { return options_.cancel != nullptr && options_.cancel->load(std::memory_order_relaxed); }

  // Progress is reported in bytes of unpacked part (or file) data against this total.
  void SetProgressTotal(std::int64_t total) { progressTotal_ = total; }
  void Advance(std::int64_t bytes);
  void ReportDone();

  std::int64_t unpacked() const { return unpacked_; }
  // Counts bytes against the unpack cap; false once the cap is passed.
  bool CountUnpacked(std::int64_t bytes) {
    unpacked_ += bytes;
    return unpacked_ <= options_.unpackCap;
  }

  // The first error wins: later ones are usually consequences of it.
  void Fail(ErrorKind kind, std::string text);
  bool failed() const { return error_ != ErrorKind::None; }
  ErrorKind error() const { return error_; }
  const std::string& errorText() const { return errorText_; }

 private:
  const ReadOptions& options_;
  std::int64_t unpacked_ = 0;
  std::int64_t progressTotal_ = 0;
  std::int64_t progressDone_ = 0;
  std::int64_t lastReported_ = -1;
  ErrorKind error_ = ErrorKind::None;
  std::string errorText_;
};

// A read-only view of another device that stops with an error once the cap is passed or the
// read is cancelled, and reports progress as it goes. Parsers read through it, so neither a zip
// bomb nor a cancel waits for the whole part to unpack.
class CappedDevice : public QIODevice {
 public:
  CappedDevice(QIODevice* source, ReadContext& context);

  bool overCap() const { return overCap_; }
  bool cancelled() const { return cancelled_; }
  bool sourceFailed() const { return sourceFailed_; }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QIODevice* source_;
  ReadContext& context_;
  bool overCap_ = false;
  bool cancelled_ = false;
  bool sourceFailed_ = false;
};

// The texts of the errors every format shares (UTF-8).
namespace texts {
inline constexpr const char* kCancelled = "读取已取消。";
inline constexpr const char* kTooLarge = "文件解压后超过1GB，可能已损坏或是恶意构造的文件，已停止读取。";
inline constexpr const char* kTooManyCells = "表格的单元格过多（超过3200万个），无法导入。";
inline constexpr const char* kXlsb = "不支持Excel二进制工作簿(.xlsb)，请在Excel中另存为.xlsx后再导入。";
inline constexpr const char* kNoSuchSheet = "输入的表格数不存在。";
inline constexpr const char* kEncrypted = "该工作簿设置了打开密码，请在Excel或WPS中取消密码后另存，再导入。";
}  // namespace texts

}  // namespace kavrel::workbook
