#include "storage/award_store.h"

#include <algorithm>
#include <climits>

#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

// A cell holding "," or a line break would shift every later column when the file is read
// back, so those become a full-width comma and a blank.
void AppendField(std::string& text, std::string_view field) {
  static const std::string kWideComma = Gb("，");
  for (const char c : field) {
    if (c == ',') {
      text += kWideComma;
    } else {
      text += (c == '\r' || c == '\n') ? ' ' : c;  // neither byte is ever part of a two-byte character
    }
  }
  text += ',';
}

std::string Field(const std::vector<std::string>& items, std::size_t index) {
  return index < items.size() ? items[index] : std::string();
}

// A full-width colon or a line break inside a caption would split its line differently when read
// back (the caption cut short, the position lost); they are stored as ":" and a blank.
std::string CaptionText(const std::string& caption, const std::string& colon) {
  std::string text;
  for (std::size_t i = 0; i < caption.size();) {
    if (caption.compare(i, colon.size(), colon) == 0) {
      text += ':';
      i += colon.size();
    } else if (static_cast<unsigned char>(caption[i]) >= 0x80) {
      text += caption.substr(i, 2);
      i += 2;
    } else {
      text += (caption[i] == '\r' || caption[i] == '\n') ? ' ' : caption[i];
      ++i;
    }
  }
  return text;
}

}  // namespace

std::vector<AwardRow> LoadAwardTable(const ProgramDir& dir) {
  return ParseAwardTable(ReadTextFile(dir.Path(ProgramDir::kAwardTableDat)));
}

std::vector<AwardRow> ParseAwardTable(const std::string& text) {
  std::vector<AwardRow> rows;
  for (const auto& line : SplitText(text, "\r\n")) {
    const auto cells = SplitText(line, ",");
    rows.push_back(
        AwardRow{Field(cells, 0), Field(cells, 1), Field(cells, 2), Field(cells, 3), Field(cells, 4), Field(cells, 5)});
  }
  return rows;
}

std::string BuildAwardTableText(const std::vector<AwardRow>& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (const auto* cell : {&row.name, &row.quota, &row.batches, &row.detail, &row.prizeName, &row.prizePicture}) {
      AppendField(text, *cell);
    }
    text += "\r\n";
  }
  return text;
}

SaveAwardResult SaveAwardTable(const ProgramDir& dir, Settings& settings, const std::vector<AwardRow>& rows) {
  SaveAwardResult result;
  long long quotaSum = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const AwardRow& row = rows[i];
    if (row.name.empty() || row.quota.empty() || row.batches.empty() || row.detail.empty()) {
      result.status = SaveAwardResult::Status::InvalidRow;
      result.invalidRow = static_cast<int>(i + 1);
      return result;
    }
    quotaSum += LeadingInt(row.quota);
  }
  result.quotaSum = static_cast<int>(std::clamp<long long>(quotaSum, INT_MIN, INT_MAX));
  const bool tableWritten = WriteTextFile(dir.Path(ProgramDir::kAwardTableDat), BuildAwardTableText(rows));
  // The quota sum only describes the table on disk, so it follows a table that was written.
  const bool quotaWritten = tableWritten && settings.WriteInt(Gb("标题设置"), Gb("中奖名额"), result.quotaSum);
  if (!quotaWritten) result.status = SaveAwardResult::Status::WriteFailed;
  return result;
}

std::string BuildBatchPlanText(const std::vector<AwardRow>& rows, bool forwardOrder) {
  std::string text;
  auto appendLine = [&](const AwardRow& row, std::string_view batchNo, std::string_view size) {
    for (std::string_view field :
         {std::string_view(row.name), std::string_view(row.quota), std::string_view(row.batches), batchNo, size,
          std::string_view(row.prizeName), std::string_view(row.prizePicture)}) {
      AppendField(text, field);
    }
    text += "\r\n";
  };
  for (const auto& row : rows) {
    if (LeadingInteger(row.batches) < 2) {
      appendLine(row, "1", row.detail);
      continue;
    }
    const auto parts = SplitText(row.detail, "+");
    const std::size_t n = parts.size();
    for (std::size_t k = 1; k <= n; ++k) {
      appendLine(row, std::to_string(k), forwardOrder ? parts[k - 1] : parts[n - k]);
    }
  }
  return text;
}

bool WriteBatchPlan(const ProgramDir& dir, const std::vector<AwardRow>& rows, bool forwardOrder) {
  return WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), BuildBatchPlanText(rows, forwardOrder));
}

std::vector<PlanLine> LoadPlan(const ProgramDir& dir) {
  return ReadPlanLines(SplitText(ReadTextFile(dir.Path(ProgramDir::kBatchPlanDat)), "\r\n"));
}

std::string DrawerCaptionKey(const std::string& awardName, const std::string& batches, const std::string& batchNo) {
  return awardName + "-" + batches + "-" + batchNo;
}

std::vector<DrawerCaption> LoadDrawerCaptions(const ProgramDir& dir) {
  const std::string colon = Gb("：");
  std::vector<DrawerCaption> captions;
  for (const auto& line : SplitText(ReadTextFile(dir.Path(ProgramDir::kDrawerCaptionDat)), "\r\n")) {
    const auto items = SplitText(line, colon);
    captions.push_back(DrawerCaption{Field(items, 0), Field(items, 1), LeadingInt(Field(items, 2))});
  }
  return captions;
}

std::string BuildDrawerCaptionText(const std::vector<DrawerCaption>& captions) {
  const std::string colon = Gb("：");
  std::string text;
  for (const auto& caption : captions) {
    text += caption.key + colon + CaptionText(caption.caption, colon) + colon + std::to_string(caption.planPosition) +
            "\r\n";
  }
  return text;
}

bool SaveDrawerCaptions(const ProgramDir& dir, const std::vector<DrawerCaption>& captions) {
  return WriteTextFile(dir.Path(ProgramDir::kDrawerCaptionDat), BuildDrawerCaptionText(captions));
}

}  // namespace kavrel
