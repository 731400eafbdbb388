#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kavrel {

// One batch of the award plan (a line of config\shezhijx.dat): its award with the award's quota and
// batch count, the batch's number in the award and its size, the prize and its picture. The numbers
// are kept as written, so a plan edited by hand shows (and is checked) as it reads.
//
// The line as stored ("三等奖,10,2,1,5,奖品：MP4一部,,", every field followed by ",") is kept
// byte for byte in `text`: the seal, the receipts and the resume record name a batch by it. Only
// this file reads and writes that form.
struct PlanLine {
  PlanLine() = default;
  // Reads a stored line; a missing field reads as empty, fields past the seventh are kept in the text.
  PlanLine(std::string stored);  // NOLINT(google-explicit-constructor): a stored line is a plan line
  PlanLine(const char* stored) : PlanLine(std::string(stored)) {}  // NOLINT(google-explicit-constructor)

  std::string award;
  std::string quota;
  std::string batchCount;
  std::string batchNumber;
  std::string batchSize;
  std::string prize;
  std::string picture;
  std::string text;
  bool complete = false;  // the text holds all seven fields

  int BatchSize() const;  // its leading number, 0 when there is none
  // No line chosen yet (a plan line is never stored empty).
  bool empty() const { return text.empty(); }
  // The same line: its stored text.
  bool operator==(const PlanLine& other) const { return text == other.text; }
  bool operator==(const std::string& stored) const { return text == stored; }
};

// A line of the seven fields.
PlanLine MakePlanLine(const std::string& award, const std::string& quota, const std::string& batchCount,
                      const std::string& batchNumber, const std::string& batchSize, const std::string& prize,
                      const std::string& picture);

// The line with another prize and picture; any other field (and any past the seventh) as it was, and a
// line stored without its picture field gets one.
PlanLine WithPrize(const PlanLine& line, const std::string& prize, const std::string& picture);

// Two stored lines with the same fields (a line stored without its last comma is the line with it).
bool SameFields(const std::string& stored, const std::string& other);

// The stored texts of a plan, and a plan read from them.
std::vector<std::string> PlanTexts(const std::vector<PlanLine>& plan);
std::vector<PlanLine> ReadPlanLines(const std::vector<std::string>& stored);

// For test failure messages.
void PrintTo(const PlanLine& line, std::ostream* out);

}  // namespace kavrel
