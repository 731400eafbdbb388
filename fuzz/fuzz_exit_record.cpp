// config\exit.ini and the check made before a resume is offered. The input is the record, result.dat
// and result.txt, separated by NUL bytes; the list is "001".."020".
#include "engine/resume_check.h"
#include "fuzz_support.h"
#include "storage/result_store.h"

using namespace kavrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = fuzz::SplitParts(fuzz::Bytes(data, size), 3);
  const ExitRecordFile file = ParseExitRecord(parts[0]);
  if (!file.record) return 0;
  static const std::vector<std::string> list = [] {
    std::vector<std::string> entries;
    for (int i = 1; i <= 20; ++i) entries.push_back((i < 10 ? "00" : "0") + std::to_string(i));
    return entries;
  }();
  bool sound = false;
  for (const bool repeat : {false, true})
    sound = CheckResumeRecord(*file.record, list, parts[1], parts[2], repeat).problem.empty() || sound;
  // A record the resume accepts is written back (at every change of the draw) as the same record.
  if (sound && ParseExitRecord(ExitRecordText(*file.record)).record != file.record)
    fuzz::Fail("exit record round trip");
  return 0;
}
