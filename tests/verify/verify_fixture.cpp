#include "verify_fixture.h"

#include "storage/receipt_log.h"
#include "storage/result_store.h"
#include "storage/text_file.h"

namespace kavrel {

void VerifiedDraw::SetUp() {
  WriteList(30);
  WritePlan({"三等奖,6,2,1,3,奖品：MP4一部,,", "三等奖,6,2,2,3,奖品：MP4一部,,", "二等奖,2,1,1,2,奖品：平板一台,,",
             "一等奖,1,1,1,1,奖品：笔记本一台,,"});
  WriteConfig("音效设置", "启用停止音乐", "假");
}

std::vector<std::string> VerifiedDraw::LogLines() const {
  return ReadReceiptLines(dir.Path(ProgramDir::kReceiptsLog)).lines;
}

void VerifiedDraw::WriteLogLines(const std::vector<std::string>& lines, bool lastLineEnded) {
  std::string text = ReceiptLogText(lines);
  if (!lastLineEnded) text.resize(text.size() - 2);
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kReceiptsLog), text));
}

void VerifiedDraw::Rechain(std::vector<std::string>& lines, std::size_t from) {
  const std::string seal = ParseReceipt(lines.front())->seal;
  for (std::size_t k = std::max<std::size_t>(from, 2); k <= lines.size(); ++k) {
    auto r = *ParseReceipt(lines[k - 1]);
    r.seq = static_cast<int>(k);
    r.prev = k == 2 ? seal : Sha256Hex(lines[k - 2]);
    lines[k - 1] = FormatReceipt(r);
  }
}

int VerifiedDraw::LineOf(const char* kind, const char* awardUtf8) const {
  const auto lines = LogLines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto r = ParseReceipt(lines[i]);
    if (r && std::string(ReceiptKindName(r->kind)) == kind && (!awardUtf8 || r->award == Gb(awardUtf8)))
      return static_cast<int>(i + 1);
  }
  return 0;
}

void VerifiedDraw::QueueFront(const std::string& line) {
  state.plan.insert(state.plan.begin(), line);
  state.planChanged = true;
}

void VerifiedDraw::Abandon(const std::string& award, const std::string& entry, const std::string& redrawLine) {
  ASSERT_TRUE(MarkAbandoned(dir, award, entry));
  ReturnToPool(state, entry);
  QueueFront(redrawLine);
  ctl().RecordAbandonReceipt(award, {entry}, {entry}, {redrawLine});
  ctl().ShowReadyState();
}

void VerifiedDraw::RunWholeDraw() {
  ctl().StartUp();
  Roll();                // 三等奖 1
  ctl().StartPressed();  // announce
  Roll();                // 三等奖 2
  prompter.ScriptAnswer(Answer::Ok);
  ctl().UndoPressed();  // taken back
  ctl().StartPressed();
  Roll();  // 三等奖 2 again
  ctl().StartPressed();
  const auto second = Roll();  // 二等奖
  ASSERT_EQ(second.size(), 2u);
  Abandon(U("二等奖"), second[0], U("补抽二等奖,1,1,1,1,奖品：平板一台,"));
  Roll();  // the redraw
  const std::string supplement = U("补抽其它奖项,2,1,1,2,加奖：红包,");
  QueueFront(supplement);
  ctl().RecordSupplementReceipt({supplement});
  ctl().ShowReadyState();
  Roll();  // the supplementary batch
  ctl().StartPressed();
  const std::string before = state.plan.front().text;
  state.plan.front() = U("一等奖,1,1,1,1,奖品：笔记本两台,");
  ctl().RecordPrizeChangeReceipt(1, before, state.plan.front().text);
  ctl().ShowReadyState();
  Roll();  // 一等奖
  ASSERT_TRUE(state.plan.empty());
}

}  // namespace kavrel
