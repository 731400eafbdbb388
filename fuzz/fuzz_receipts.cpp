// config\receipts.log: every line as a receipt, and the log as the windows summarise it.
#include "fuzz_support.h"
#include "storage/receipt_log.h"
#include "storage/split_text.h"

using namespace kavrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::EnsureApp();
  const std::string_view text = fuzz::Bytes(data, size);
  for (const auto& line : SplitText(text, "\r\n")) {
    const auto receipt = ParseReceipt(line);
    if (!receipt) continue;
    // A receipt parsed and written again reads back as the same line.
    const std::string written = FormatReceipt(*receipt);
    const auto again = ParseReceipt(written);
    if (!again || FormatReceipt(*again) != written) fuzz::Fail("receipt round trip");
  }
  static const QString file = fuzz::ScratchPath("receipts.log");
  fuzz::WriteScratch(file, text);
  ReadReceiptLines(file.toStdString());
  SummarizeReceipts(file.toStdString());
  return 0;
}
