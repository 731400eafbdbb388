#pragma once

#include <string>
#include <vector>

#include "storage/plan_line.h"

namespace kavrel {

class ProgramDir;
class Settings;

// One row of the award table, the six cell texts in column order (GB18030).
struct AwardRow {
  std::string name;          // "奖项名称"
  std::string quota;         // "中奖名额"
  std::string batches;       // "批次"
  std::string detail;        // "分批详情", e.g. "5+5"
  std::string prizeName;     // "奖品名称"
  std::string prizePicture;  // "奖品图片", full path or empty

  bool operator==(const AwardRow&) const = default;
};

// config\jiangx.dat: every cell followed by ",", every row by CR LF.
std::vector<AwardRow> LoadAwardTable(const ProgramDir& dir);
// The same rows from the file's text (a copy kept in a history folder reads the same way).
std::vector<AwardRow> ParseAwardTable(const std::string& text);
std::string BuildAwardTableText(const std::vector<AwardRow>& rows);

struct SaveAwardResult {
  enum class Status { Ok, InvalidRow, WriteFailed };
  Status status = Status::Ok;
  int invalidRow = 0;  // 1-based row with an empty name, quota, batch count or detail
  int quotaSum = 0;    // the new totalQuota when Ok
};

// Checks every row (the first of the first four cells left empty makes the whole save fail
// with nothing written), then writes config\jiangx.dat and "中奖名额". The batch plan is not
// written here: the caller asks the restart question first and then calls WriteBatchPlan.
SaveAwardResult SaveAwardTable(const ProgramDir& dir, Settings& settings, const std::vector<AwardRow>& rows);

// config\shezhijx.dat: one line per batch, the seven plan fields each followed by ",". With the
// reverse order, the size parts of each award are written back to front, so that consuming the
// plan from its bottom still draws them in the order of the detail.
std::string BuildBatchPlanText(const std::vector<AwardRow>& rows, bool forwardOrder);
bool WriteBatchPlan(const ProgramDir& dir, const std::vector<AwardRow>& rows, bool forwardOrder);

// The plan lines of config\shezhijx.dat.
std::vector<PlanLine> LoadPlan(const ProgramDir& dir);

// config\person.dat: "key：caption：position" lines; the key is award name, batch count and
// batch number joined by "-".
struct DrawerCaption {
  std::string key;
  std::string caption;
  int planPosition = 0;  // 1-based plan line the caption was added for

  bool operator==(const DrawerCaption&) const = default;
};

std::string DrawerCaptionKey(const std::string& awardName, const std::string& batches, const std::string& batchNo);
std::vector<DrawerCaption> LoadDrawerCaptions(const ProgramDir& dir);
std::string BuildDrawerCaptionText(const std::vector<DrawerCaption>& captions);
bool SaveDrawerCaptions(const ProgramDir& dir, const std::vector<DrawerCaption>& captions);

}  // namespace kavrel
