#include "results/result_texts.h"

#include <cstdio>

#include "storage/codec.h"

namespace kavrel {

namespace {

const std::string kCrLf = "\r\n";

std::string Heading(const ResultLine& line) {
  return line.awardName + WinnerCountText(line) + Gb("名");
}

std::string PrizeInParentheses(const ResultLine& line) {
  return "(" + line.prizeName + ")";
}

}  // namespace

std::string WinnerCountText(const ResultLine& line) {
  return std::to_string(line.winners.size());
}

std::string WinnerListText(const std::vector<ResultLine>& lines) {
  std::string text;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    text += Heading(*it) + PrizeInParentheses(*it) + kCrLf;
    for (const auto& winner : it->winners) text += winner + kCrLf;
  }
  return text;
}

std::string NonWinnerListText(const std::vector<std::string>& pool) {
  std::string text = Gb("未中奖人员信息") + kCrLf;
  for (const auto& entry : pool) text += entry + kCrLf;
  return text;
}

std::string WinnerShowTitle(const std::string& mainTitle, const std::string& subTitle, const LocalDateTime& today) {
  char date[32];
  std::snprintf(date, sizeof date, "%d-%02d-%02d", today.year, today.month, today.day);
  return mainTitle + kCrLf + subTitle + kCrLf + date + "  " + Gb("抽奖结果") + kCrLf + std::string(50, '-');
}

std::vector<std::string> WinnerShowRows(const std::vector<ResultLine>& lines) {
  std::vector<std::string> rows;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    rows.push_back(Heading(*it));
    rows.push_back(PrizeInParentheses(*it));
    rows.insert(rows.end(), it->winners.begin(), it->winners.end());
    rows.emplace_back();
  }
  return rows;
}

std::string JoinRows(const std::vector<std::string>& rows) {
  std::string text;
  for (const auto& row : rows) text += row + kCrLf;
  return text;
}

}  // namespace kavrel
