#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lists/list_table.h"

namespace kavrel {

// config\imdata.dat, the list editor's own copy of its table: cells, header row, row numbers,
// formatting ranges, column widths and colours. Binary, versioned and checksummed, so that a
// damaged or newer file is recognised as such instead of half-loading.
//
//   "KVIMDAT\0"  u32 version  (version 2: varint length, link)  u32 rows  u32 columns
//   u32 fixed/normal/empty colours  u32 width × columns   u32 rangeCount, ranges
//   cells row by row as (varint length, bytes)   u64 FNV-1a of everything before it
//
// The link (version 2) is SetDatLink of the set.dat saved together with the table, so that a
// table and a list that do not belong together are noticed; version 1 files have none.
inline constexpr std::uint32_t kSnapshotVersion = 2;

std::string EncodeSnapshot(const ListTable& table, const std::string& setDatLink = {});

enum class SnapshotProblem { None, Damaged, NewerVersion };

// The table, or nullopt with the reason; never a partly filled table. `setDatLink` gets the link
// ("" for a version 1 file).
std::optional<ListTable> DecodeSnapshot(std::string_view bytes, SnapshotProblem* problem = nullptr,
                                        std::string* setDatLink = nullptr);

}  // namespace kavrel
