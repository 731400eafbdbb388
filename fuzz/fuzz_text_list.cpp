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
    for (const auto& line : SplitLines(*text)) SplitText(line, "\t");
  }
  PoolLoadNotes notes;
  const auto entries = PoolEntries(DecodeExternalText(bytes), &notes);
  // A list read, saved and read again is the same list, when it is text at all (bytes that are no
  // GB18030 can pair up differently once a "-" becomes "－") and the saved GB18030 does not happen to
  // be valid UTF-8 as well (or begin with a UTF-8 mark): the one rule for outside texts then reads it
  // as UTF-8. That ambiguity is the rule's own and is known; anything else is a fault.
  const std::string text = DecodeExternalText(bytes);
  const std::string saved = BuildSetDatText(entries);
  const bool plain = FromQt(ToQt(text)) == text && !LooksLikeUtf8(saved) && !saved.starts_with("\xEF\xBB\xBF");
  if (plain && PoolEntries(DecodeExternalText(saved)) != entries) fuzz::Fail("set.dat round trip");
  return 0;
}
