#include "storage/plan_line.h"

#include <algorithm>
#include <ostream>

#include "storage/number_text.h"
#include "storage/split_text.h"

namespace kavrel {

namespace {

constexpr std::size_t kFields = 7;
constexpr std::size_t kPrizeField = 5;  // 0-based: prize, then picture

// The trailing comma gives no extra field.
std::vector<std::string> SplitFields(const std::string& stored) {
  return SplitText(stored, ",");
}

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string out;
  for (const auto& f : fields) out += f + ",";
  return out;
}

}  // namespace

PlanLine::PlanLine(std::string stored) : text(std::move(stored)) {
  std::vector<std::string> fields = SplitFields(text);
  complete = fields.size() >= kFields;
  fields.resize(std::max(fields.size(), kFields));
  award = std::move(fields[0]);
  quota = std::move(fields[1]);
  batchCount = std::move(fields[2]);
  batchNumber = std::move(fields[3]);
  batchSize = std::move(fields[4]);
  prize = std::move(fields[5]);
  picture = std::move(fields[6]);
}

int PlanLine::BatchSize() const {
  return LeadingInt(batchSize);
}

PlanLine MakePlanLine(const std::string& award, const std::string& quota, const std::string& batchCount,
                      const std::string& batchNumber, const std::string& batchSize, const std::string& prize,
                      const std::string& picture) {
  return PlanLine(JoinFields({award, quota, batchCount, batchNumber, batchSize, prize, picture}));
}

PlanLine WithPrize(const PlanLine& line, const std::string& prize, const std::string& picture) {
  std::vector<std::string> fields = SplitFields(line.text);
  if (fields.size() < kFields) fields.resize(kFields);
  fields[kPrizeField] = prize;
  fields[kPrizeField + 1] = picture;
  return PlanLine(JoinFields(fields));
}

bool SameFields(const std::string& stored, const std::string& other) {
  return SplitFields(stored) == SplitFields(other);
}

std::vector<std::string> PlanTexts(const std::vector<PlanLine>& plan) {
  std::vector<std::string> texts;
  texts.reserve(plan.size());
  for (const PlanLine& line : plan) texts.push_back(line.text);
  return texts;
}

std::vector<PlanLine> ReadPlanLines(const std::vector<std::string>& stored) {
  return {stored.begin(), stored.end()};
}

void PrintTo(const PlanLine& line, std::ostream* out) {
  *out << '"' << line.text << '"';
}

}  // namespace kavrel
