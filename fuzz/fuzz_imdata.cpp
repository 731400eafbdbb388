// config\imdata.dat, the list editor's table.
#include "fuzz_support.h"
#include "lists/table_snapshot.h"

using namespace kavrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SnapshotProblem problem = SnapshotProblem::None;
  const auto table = DecodeSnapshot(fuzz::Bytes(data, size), &problem);
  if (table.has_value() != (problem == SnapshotProblem::None)) fuzz::Fail("table and problem disagree");
  // Whatever loads is saved and loaded again unchanged.
  if (table && DecodeSnapshot(EncodeSnapshot(*table)) != table) fuzz::Fail("imdata.dat round trip");
  return 0;
}
