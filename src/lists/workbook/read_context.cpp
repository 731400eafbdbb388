#include "lists/workbook/read_context.h"

#include <algorithm>

namespace kavrel::workbook {

void ReadContext::Advance(std::int64_t bytes) {
  progressDone_ += bytes;
  if (!options_.progress || progressTotal_ <= 0) return;
  // About two hundred reports per read: enough for a smooth bar, too few to cost anything.
  const std::int64_t step = progressTotal_ / 200 + 1;
  if (lastReported_ >= 0 && progressDone_ - lastReported_ < step) return;
  lastReported_ = progressDone_;
  options_.progress(std::min(progressDone_, progressTotal_), progressTotal_);
}

void ReadContext::ReportDone() {
  if (options_.progress && progressTotal_ > 0) options_.progress(progressTotal_, progressTotal_);
}

void ReadContext::Fail(ErrorKind kind, std::string text) {
  if (error_ != ErrorKind::None) return;
  error_ = kind;
  errorText_ = std::move(text);
}

CappedDevice::CappedDevice(QIODevice* source, ReadContext& context) : source_(source), context_(context) {
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 CappedDevice::readData(char* data, qint64 maxSize) {
  if (overCap_ || cancelled_ || sourceFailed_) return -1;
  if (context_.Cancelled()) {
    cancelled_ = true;
    return -1;
  }
  const qint64 n = source_->read(data, maxSize);
  if (n < 0) {
    sourceFailed_ = true;
    return -1;
  }
  if (!context_.CountUnpacked(n)) {
    overCap_ = true;
    return -1;
  }
  context_.Advance(n);
  return n;
}

}  // namespace kavrel::workbook
