// Participant lists from outside: the import's decoding and line split, and config\set.dat's entries.
#include "fuzz_support.h"
#include "lists/text_decode.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/split_text.h"

using namespace kavrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  if (const auto text = DecodeImportedText(bytes)) {
    for (const auto& line : SplitImportedLines(*text)) SplitText(line, "\t");
  }
  PoolLoadNotes notes;
  const auto entries = PoolEntries(DecodeExternalText(bytes), &notes);
  // A list read, saved and read again is the same list.
  if (PoolEntries(DecodeExternalText(BuildSetDatText(entries))) != entries) fuzz::Fail("set.dat round trip");
  return 0;
}
