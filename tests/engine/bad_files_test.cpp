// Resume records, lists and plans that are damaged, saved by other tools or cut by a crash at the
// wrong moment: nothing recorded is lost, nothing is resumed on trust.
#include <algorithm>
#include <functional>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "engine/abandon.h"
#include "engine/draw_texts.h"
#include "engine_fixture.h"
#include "storage/result_store.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {
namespace {

const char* const kR1 = "准备抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽0名/共4名)";
const char* const kR2 = "准备抽取【三等奖】，本轮抽2名（第2轮/总2轮，已抽2名/共4名)";
const char* const kResumeQuestion =
    "上次程序退出前还有未抽取完成的奖项，是否要继续上次的抽奖，按【是】继续完成上次未完成的抽奖，按【否】将重新开始新一"
    "轮的抽奖！";

struct Crash {};

#if defined(_WIN32)
// Windows has no descriptor limit of this kind: the case is covered by the failing seam alone.
struct DescriptorsUsedUp {
  static constexpr bool kPossible = false;
  bool used = false;
};
#else
// Every file descriptor the process may open is taken (the soft limit lowered first, so that filling
// it is quick) until it goes out of scope.
struct DescriptorsUsedUp {
  static constexpr bool kPossible = true;
  DescriptorsUsedUp() {
    if (getrlimit(RLIMIT_NOFILE, &before) != 0) return;
    rlimit low = before;
    low.rlim_cur = std::min<rlim_t>(before.rlim_cur, 256);
    if (setrlimit(RLIMIT_NOFILE, &low) != 0) return;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) taken.push_back(fd);
    used = errno == EMFILE;
  }
  ~DescriptorsUsedUp() {
    for (int fd : taken) close(fd);
    setrlimit(RLIMIT_NOFILE, &before);
  }
  DescriptorsUsedUp(const DescriptorsUsedUp&) = delete;
  DescriptorsUsedUp& operator=(const DescriptorsUsedUp&) = delete;
  rlimit before{};
  std::vector<int> taken;
  bool used = false;
};
#endif

// The file layer, failing or stopping (as a crash would) where a test says.
struct TestFiles : DrawFiles {
  bool crashAtDelete = false;
  bool crashAtMove = false;
  bool writesFail = false;
  bool asideFails = false;       // history/ cannot be written: nothing moves
  bool resultsFail = false;      // a stop's first step
  bool receiptFails = false;     // its second
  bool correctionsFail = false;  // an undo's or a given-up prize's result files
  bool RecordResults(const ProgramDir& dir, const std::string& award, const std::string& prize,
                     const std::vector<std::string>& winners, bool extend, const LocalDateTime& when) override {
    return !resultsFail && DrawFiles::RecordResults(dir, award, prize, winners, extend, when);
  }
  RemovedBatch TakeBackResults(const ProgramDir& dir, std::size_t count) override {
    if (correctionsFail) return {.winners = {}, .written = false};
    return DrawFiles::TakeBackResults(dir, count);
  }
  AbandonMarks MarkGivenUp(const ProgramDir& dir, const std::string& award,
                           const std::vector<std::string>& entries) override {
    if (correctionsFail) return {.marked = {}, .written = false};
    return DrawFiles::MarkGivenUp(dir, award, entries);
  }
  bool WriteReceiptLog(const std::filesystem::path& path, const std::string& text) override {
    return !receiptFails && DrawFiles::WriteReceiptLog(path, text);
  }
  bool AppendReceiptLine(const std::filesystem::path& path, const std::string& line) override {
    return !receiptFails && DrawFiles::AppendReceiptLine(path, line);
  }
  bool WriteExitRecord(const ProgramDir& dir, const ExitRecord& record) override {
    return !writesFail && DrawFiles::WriteExitRecord(dir, record);
  }
  bool DeleteExitRecord(const ProgramDir& dir) override {
    if (crashAtDelete) throw Crash{};
    return DrawFiles::DeleteExitRecord(dir);
  }
  bool MoveToHistory(const ProgramDir& dir, const std::vector<std::filesystem::path>& files,
                     const LocalDateTime& when) override {
    if (crashAtMove) throw Crash{};
    return DrawFiles::MoveToHistory(dir, files, when);
  }
  bool PutResultsAside(const ProgramDir& dir, const LocalDateTime& when, HistoryReason reason) override {
    if (crashAtMove) throw Crash{};
    return !asideFails && DrawFiles::PutResultsAside(dir, when, reason);
  }
};

class BadFiles : public EngineFixture {
 protected:
  void SetUp() override { Fresh(); }
  void Fresh() {
    std::filesystem::remove_all(root / "config");
    std::filesystem::remove_all(root / "history");
    std::filesystem::remove(root / "result.txt");
    std::filesystem::create_directories(root / "config");
    WriteList(10);
    WritePlan(
        {"三等奖,4,2,1,2,奖品：MP4一部,,", "三等奖,4,2,2,2,奖品：MP4一部,,", "一等奖,1,1,1,1,奖品：笔记本一台,,"});
    Restart();
    prompter.Clear();
  }
  void FinishDraw() {
    for (int guard = 0; guard < 20 && !(state.plan.empty() && state.WinnersShown()); ++guard) {
      if (state.WinnersShown())
        ctl().StartPressed();
      else
        Roll();
    }
  }
  std::vector<std::string> Winners(const std::string& dat) {
    std::vector<std::string> all;
    for (const auto& line : SplitText(dat, "\r\n")) {
      const auto fields = SplitText(line, "-");
      if (fields.size() > 2) all.insert(all.end(), fields.begin() + 2, fields.end());
    }
    return all;
  }
  // A crash after the draw's first batch: the record and the results of that batch are on disk.
  void FirstBatchThenCrash() {
    ctl().StartUp();
    Roll();
    Restart();
    prompter.Clear();
  }
  void Put(std::string_view suffix, const std::string& bytes) { ASSERT_TRUE(WriteTextFile(dir.Path(suffix), bytes)); }
  std::string winnerTaken;
  // The record rewritten with a change and a correct checksum, as a hand edit by someone who knows how.
  void Edit(const std::function<void(ExitRecord&)>& change) {
    auto record = *ReadExitRecord(dir);
    change(record);
    ASSERT_TRUE(WriteExitRecord(dir, record));
  }
};

// Declining the resume: a crash at either file step leaves either the record with all its results
// or no record at all, never a record whose results have gone to history.
TEST_F(BadFiles, DecliningTheResumeNeverLeavesARecordWithoutItsResults) {
  for (const bool atDelete : {true, false}) {
    SCOPED_TRACE(atDelete ? "crash at the record's removal" : "crash at the move to history");
    Fresh();
    FirstBatchThenCrash();
    TestFiles files;
    (atDelete ? files.crashAtDelete : files.crashAtMove) = true;
    ctl().UseFiles(files);
    prompter.ScriptAnswer(Answer::No);
    EXPECT_THROW(ctl().StartUp(), Crash);

    Restart();
    prompter.Clear();
    ctl().StartUp();  // an unscripted question answers Yes
    if (!prompter.shown().empty()) {
      EXPECT_EQ(prompter.shown()[0].text, U(kResumeQuestion));
      FinishDraw();
      const auto log = LoadResultLog(dir);
      ASSERT_EQ(log.size(), 2u);
      EXPECT_EQ(log[0].winners.size(), 4u) << "the first batch's winners are still there";
      EXPECT_EQ(log[1].winners.size(), 1u);
    } else {
      EXPECT_FALSE(Exists(ProgramDir::kResultDat));
      EXPECT_EQ(Winners(Read("\\history\\20261209-200000\\result.dat")).size(), 2u);
      EXPECT_EQ(state.pool.size(), 10u);
    }
  }
}

// A record that can no longer be rewritten goes, so a later start never resumes an older state
// and cuts away the batches recorded since.
TEST_F(BadFiles, ARecordThatCannotBeRewrittenIsRemoved) {
  TestFiles files;
  ctl().UseFiles(files);
  ctl().StartUp();
  Roll();
  ASSERT_TRUE(Exists(ProgramDir::kExitIni));
  files.writesFail = true;
  ctl().StartPressed();
  Roll();
  EXPECT_FALSE(Exists(ProgramDir::kExitIni));
  EXPECT_EQ(LastMessage(),
            U("断点记录 config\\exit.ini 无法写入，程序意外关闭后将不能继续本次抽奖，请检查程序目录是否可写！"));
  const std::string results = Read(ProgramDir::kResultDat);
  EXPECT_EQ(Winners(results).size(), 4u);

  Restart();
  prompter.Clear();
  ctl().StartUp();
  EXPECT_TRUE(prompter.shown().empty()) << "nothing to resume";
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), results) << "both batches kept, nothing cut";
}

// A stop's journal is results, receipt, resume record. When a step fails, the steps after it never
// claim a batch the files before them lost, and the operator is told.
TEST_F(BadFiles, EachStepOfAStopsJournalCanFailOnItsOwn) {
  auto receiptLines = [this] { return SplitText(Read(ProgramDir::kReceiptsLog), "\r\n").size(); };
  TestFiles files;
  ctl().UseFiles(files);
  ctl().StartUp();
  const std::size_t sealOnly = receiptLines();

  files.resultsFail = true;
  Roll();
  EXPECT_EQ(Read(ProgramDir::kResultDat), "");
  EXPECT_EQ(receiptLines(), sealOnly) << "no receipt for a batch the results do not hold";
  EXPECT_EQ(LastMessage(), U(texts::kRecordFailed));

  Fresh();
  ctl().UseFiles(files);
  files.resultsFail = false;
  files.receiptFails = true;
  ctl().StartUp();
  Roll();
  EXPECT_EQ(Winners(Read(ProgramDir::kResultDat)).size(), 2u);
  EXPECT_EQ(receiptLines(), sealOnly);
  EXPECT_EQ(LastMessage(), U(texts::kReceiptFailed));
  EXPECT_TRUE(Exists(ProgramDir::kExitIni)) << "the record still follows the results";
}

// A stop whose results cannot be written draws nothing: the stage is back at the ready state of the
// same batch with the pool, the plan, the counters and every file as they were, the operator is told,
// and the next press draws the batch again. Once through the failing seam, once with the real files
// while the process has no file descriptor left (a hall full of phones).
TEST_F(BadFiles, AStopTheFilesCannotHoldIsNeverShownAsDrawn) {
  for (const bool descriptorsOut : {false, true}) {
    SCOPED_TRACE(descriptorsOut ? "no descriptor left" : "the results step fails");
    if (descriptorsOut && !DescriptorsUsedUp::kPossible) continue;
    Fresh();
    TestFiles files;
    ctl().UseFiles(files);
    ctl().StartUp();
    Roll();
    ctl().StartPressed();  // the second batch's ready state
    const auto pool = state.pool;
    const auto plan = state.plan;
    const std::string status = Status();
    const std::string dat = Read(ProgramDir::kResultDat);
    const std::string txt = Read(ProgramDir::kResultTxt);
    const std::string receipts = Read(ProgramDir::kReceiptsLog);
    const std::string record = Read(ProgramDir::kExitIni);

    ctl().StartPressed();
    Tick();
    if (descriptorsOut) {
      const DescriptorsUsedUp full;
      ASSERT_TRUE(full.used);
      ctl().StopPressed();
    } else {
      files.resultsFail = true;
      ctl().StopPressed();
      files.resultsFail = false;
    }
    EXPECT_EQ(state.phase, DrawPhase::Ready);
    EXPECT_NE(state.phase, DrawPhase::Rolling);
    EXPECT_FALSE(stage.IsVisible(StageElement::RollingPanel)) << "no winners on the stage";
    EXPECT_EQ(Number(), U(texts::kReadyNumber));
    EXPECT_EQ(Status(), status);
    EXPECT_EQ(state.pool, pool);
    EXPECT_EQ(state.plan, plan);
    EXPECT_EQ(Read(ProgramDir::kResultDat), dat);
    EXPECT_EQ(Read(ProgramDir::kResultTxt), txt);
    EXPECT_EQ(Read(ProgramDir::kReceiptsLog), receipts);
    EXPECT_EQ(Read(ProgramDir::kExitIni), record);
    EXPECT_EQ(LastMessage(), U(texts::kRecordFailed));

    Roll();
    EXPECT_EQ(state.phase, DrawPhase::WinnersShown);
    EXPECT_EQ(Winners(Read(ProgramDir::kResultDat)).size(), 4u) << "the retry recorded the batch";
    EXPECT_EQ(state.pool.size(), pool.size() - 2);
    EXPECT_EQ(SplitText(Read(ProgramDir::kReceiptsLog), "\r\n").size(), SplitText(receipts, "\r\n").size() + 1);
  }
}

// An undo or a given-up prize whose result files cannot be rewritten changes nothing: not the draw,
// not the winners the views list, not the receipts, not the resume record; the operator is told.
TEST_F(BadFiles, ACorrectionTheFilesCannotTakeChangesNothing) {
  TestFiles files;
  ctl().UseFiles(files);
  ctl().StartUp();
  const auto won = Roll();
  const auto pool = state.pool;
  const auto plan = state.plan;
  const std::string winners = ResultLogText(ctl().Winners());
  const std::string receipts = Read(ProgramDir::kReceiptsLog);
  const std::string record = Read(ProgramDir::kExitIni);
  auto unchanged = [&] {
    EXPECT_EQ(state.pool, pool);
    EXPECT_EQ(state.plan, plan);
    EXPECT_EQ(ResultLogText(ctl().Winners()), winners);
    EXPECT_EQ(ResultLogText(LoadResultLog(dir)), winners);
    EXPECT_EQ(Read(ProgramDir::kReceiptsLog), receipts);
    EXPECT_EQ(Read(ProgramDir::kExitIni), record);
  };
  files.correctionsFail = true;
  prompter.ScriptAnswer(Answer::Ok);
  ctl().UndoPressed();
  EXPECT_EQ(LastMessage(), U(texts::kUndoFailed));
  unchanged();

  AbandonRequest gaveUp;
  gaveUp.awardName = U("三等奖");
  gaveUp.entries = {won.front()};
  EXPECT_FALSE(Abandon(gaveUp, state, options, dir, prompter, files).done);
  unchanged();
}

// Damaged, cut or edited records, and records that do not fit the list or the result files: the
// operator is told why and a fresh draw starts, with the results and the record kept in history.
TEST_F(BadFiles, ARecordThatCannotBeTrustedIsNeverResumed) {
  const std::string checksumProblem = "记录不完整或已被改动(校验值不符)";
  struct Case {
    const char* name;
    std::function<void(const std::string& record)> damage;
    std::string problem;
  };
  const std::vector<Case> cases = {
      {"garbage", [this](const std::string&) { Put(ProgramDir::kExitIni, "\x01\x02[exit]\r\nnumber=--"); },
       checksumProblem},
      {"cut inside award_list",
       [this](const std::string& r) { Put(ProgramDir::kExitIni, r.substr(0, r.find("award_list=") + 30)); },
       checksumProblem},
      {"index=999",
       [this](const std::string& r) {
         std::string edited = r;
         edited.replace(edited.find("index=1"), 7, "index=999");
         Put(ProgramDir::kExitIni, edited);
       },
       checksumProblem},
      {"result_size=abc",
       [this](const std::string& r) {
         std::string body = r.substr(0, r.find("checksum="));
         const std::size_t at = body.find("result_size=");
         body.replace(at, body.find("\r\n", at) - at, "result_size=abc");
         Put(ProgramDir::kExitIni, body + "checksum=" + ExitRecordChecksum(body) + "\r\n");
       },
       "记录中的result_size一项无法识别"},
      // Records with a correct checksum whose content no draw can reach.
      {"an entry no list load gives",
       [this](const std::string&) { Edit([](ExitRecord& r) { r.pool.push_back("9-9"); }); },
       "待抽名单中的“9-9”不是名单文件能有的条目"},
      {"a winner back in the pool",
       [this](const std::string&) {
         Edit([this](ExitRecord& r) { r.pool.push_back(winnerTaken = LoadResultLog(dir)[0].winners[0]); });
       },
       "中奖者“%w”又出现在待抽名单中"},
      {"index=999 with its checksum", [this](const std::string&) { Edit([](ExitRecord& r) { r.batchNo = 999; }); },
       "记录中的批次(第999轮)比中奖结果中记录的1批还多"},
      {"index_number=99999", [this](const std::string&) { Edit([](ExitRecord& r) { r.drawnInAward = 99999; }); },
       "记录中“三等奖”的已抽人数(99999名)比中奖结果中记录的2名还多"},
      {"an award the plan lacks",
       [this](const std::string&) { Edit([](ExitRecord& r) { r.lastAwardName = U("特等奖"); }); },
       "记录中上次抽取的奖项“特等奖”既不在奖项计划中，也不在中奖结果中"},
      {"a malformed plan line",
       [this](const std::string&) {
         auto record = *ReadExitRecord(dir);
         record.plan[0] = U("三等奖,-5,2,2,2,奖品,,");
         ASSERT_TRUE(WriteExitRecord(dir, record));
       },
       "记录中奖项计划的第1行格式不正确"},
      {"the results moved away",
       [this](const std::string&) { std::filesystem::remove(dir.Path(ProgramDir::kResultDat)); },
       "中奖结果文件比记录中的短，上次的中奖结果可能已被移走或改动"},
      {"the list gone", [this](const std::string&) { std::filesystem::remove(dir.Path(ProgramDir::kSetDat)); },
       "名单文件 config\\set.dat 不存在"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    FirstBatchThenCrash();
    const std::string record = Read(ProgramDir::kExitIni);
    c.damage(record);
    const std::string damaged = Read(ProgramDir::kExitIni);
    const std::string results = Read(ProgramDir::kResultDat);
    ctl().StartUp();
    ASSERT_FALSE(prompter.shown().empty());
    std::string problem = U(c.problem.c_str());
    if (const auto at = problem.find("%w"); at != std::string::npos) problem.replace(at, 2, winnerTaken);
    EXPECT_EQ(prompter.shown()[0].text, U("断点记录 config\\exit.ini 已损坏，不能继续上次的抽奖：") + problem +
                                            U("。\n按【确定】重新开始新一轮的抽奖，上次的中奖结果和这份记录将移入 "
                                              "history 文件夹。"));
    EXPECT_EQ(prompter.shown()[0].buttons, Buttons::Ok);
    for (const auto& shown : prompter.shown()) EXPECT_NE(shown.text, U(kResumeQuestion)) << "never offered";
    EXPECT_FALSE(state.drawStarted);
    if (Exists(ProgramDir::kSetDat)) {
      EXPECT_EQ(Status(), U(kR1));
    }
    EXPECT_FALSE(Exists(ProgramDir::kExitIni));
    EXPECT_FALSE(Exists(ProgramDir::kResultDat));
    EXPECT_EQ(Read("\\history\\20261209-200000\\exit.ini"), damaged);
    EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), results);
  }
}

// A fresh draw never records into the previous draw's result files: when they cannot be put aside, a
// draw under way goes on as it was, and a fresh one waits until they are.
TEST_F(BadFiles, AFreshDrawWaitsUntilThePreviousOneIsPutAside) {
  TestFiles files;
  ctl().UseFiles(files);
  ctl().StartUp();
  Roll();
  const std::string results = Read(ProgramDir::kResultDat);
  const auto pool = state.pool;
  files.asideFails = true;
  ctl().RestartPressed();
  EXPECT_EQ(LastMessage(),
            U("上次的中奖结果未能移入 history 文件夹，新的抽奖没有开始(否则新旧两场的中奖结果会混在一起)，"
              "当前的抽奖照旧继续。请检查程序目录及其中的 history 文件夹是否可写。"));
  EXPECT_TRUE(state.drawStarted);
  EXPECT_EQ(state.pool, pool);
  EXPECT_TRUE(Exists(ProgramDir::kExitIni)) << "the draw under way keeps its record";
  EXPECT_EQ(Read(ProgramDir::kResultDat), results);

  FinishDraw();
  const std::string finished = Read(ProgramDir::kResultDat);
  Restart();
  ctl().UseFiles(files);
  prompter.Clear();
  ctl().StartUp();
  EXPECT_EQ(LastMessage(),
            U("上次的中奖结果未能移入 history 文件夹，新的抽奖不能开始(否则新旧两场的中奖结果会混在一起)。"
              "请检查程序目录及其中的 history 文件夹是否可写，然后按空格键重试。"));
  EXPECT_EQ(Status(), U(kR1));
  ctl().StartPressed();
  EXPECT_NE(state.phase, DrawPhase::Rolling);
  EXPECT_EQ(Messages().size(), 2u) << "told again at the press";
  files.asideFails = false;
  ctl().StartPressed();
  EXPECT_EQ(state.phase, DrawPhase::Rolling);
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), finished);
  Tick();
  ctl().StopPressed();
  EXPECT_EQ(LoadResultLog(dir).size(), 1u) << "the fresh draw's results alone";
}

// A list edited while the draw was suspended: the resume question says how it changed and that the
// draw goes on over the pool it had; nobody joins or leaves the pool behind the operator's back.
TEST_F(BadFiles, AListChangedWhileSuspendedIsToldBeforeTheResume) {
  FirstBatchThenCrash();
  const ExitRecord record = *ReadExitRecord(dir);
  const std::string winner = Winners(Read(ProgramDir::kResultDat))[0];
  std::string list;
  for (const auto& entry : {"001", "002", "003", "004", "005", "006", "007", "008", "009", "010", "011", "012"})
    if (entry != record.pool[0] && entry != winner) list += std::string(entry) + "\r\n";
  Put(ProgramDir::kSetDat, list);
  ctl().StartUp();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(
      prompter.shown()[0].text,
      U(kResumeQuestion) +
          U("\n\n注意：名单文件 config\\set.dat 在上次中断后有改动（新增2人，删除2人）。按【是】继续时仍按中断时的"
            "待抽名单抽取，新增的人不参加本次抽奖，删除的人中尚未中奖的1人仍可能被抽中。如要按改动后的名单抽奖，"
            "请按【否】重新开始。"));
  EXPECT_EQ(state.pool, record.pool);
  EXPECT_EQ(Status(), U(kR2));

  // Declined: a fresh draw over the list as it is now.
  Restart();
  prompter.Clear();
  prompter.ScriptAnswer(Answer::No);
  ctl().StartUp();
  EXPECT_EQ(state.pool.size(), 10u);
  EXPECT_FALSE(state.drawStarted);
}

// Result files longer than the record: only the one batch whose stop the record missed is cut,
// after both files are copied into history; any other surplus is left as it is and told.
TEST_F(BadFiles, OnlyTheUnconfirmedBatchIsCutAndNeverWithoutACopy) {
  ctl().StartUp();
  Roll();
  const std::string recordAfterFirst = Read(ProgramDir::kExitIni);
  const std::string datAfterFirst = Read(ProgramDir::kResultDat);
  ctl().StartPressed();
  Roll();
  const std::string datAfterSecond = Read(ProgramDir::kResultDat);
  const std::string txtAfterSecond = Read(ProgramDir::kResultTxt);
  Put(ProgramDir::kExitIni, recordAfterFirst);

  Restart();
  ctl().StartUp();
  EXPECT_EQ(Read(ProgramDir::kResultDat), datAfterFirst);
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), datAfterSecond);
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.txt"), txtAfterSecond);
  EXPECT_EQ(Status(), U(kR2));

  // Two batches beyond the record: not the one being recorded.
  Fresh();
  ctl().StartUp();
  Roll();
  const std::string record = Read(ProgramDir::kExitIni);
  ctl().StartPressed();
  Roll();
  ctl().StartPressed();
  Roll();
  const std::string threeBatches = Read(ProgramDir::kResultDat);
  Put(ProgramDir::kExitIni, record);
  Restart();
  prompter.Clear();
  ctl().StartUp();
  EXPECT_EQ(
      prompter.shown().at(0).text,
      U("断点记录 config\\exit.ini 已损坏，不能继续上次的抽奖：中奖结果文件比记录中的长，多出的内容不只是中断时正在记录"
        "的那一批。\n按【确定】重新开始新一轮的抽奖，上次的中奖结果和这份记录将移入 history 文件夹。"));
  EXPECT_EQ(Read("\\history\\20261209-200000\\result.dat"), threeBatches) << "kept whole";

  // A surplus that is no batch of the plan (a batch of 3 where the plan draws 2).
  Fresh();
  ctl().StartUp();
  Roll();
  Put(ProgramDir::kResultDat, Read(ProgramDir::kResultDat) + "003-004-005-");
  Restart();
  prompter.Clear();
  ctl().StartUp();
  EXPECT_NE(prompter.shown().at(0).text.find(U("多出的内容不只是")), std::string::npos);
}

TEST_F(BadFiles, ListsWithBareLfEndsOrInUtf8DrawEachPerson) {
  Put(ProgramDir::kSetDat, "001\n002\n003\n004\r\n005\n006\n007\n008\n009\n010\n");
  ctl().StartUp();
  EXPECT_EQ(state.pool.size(), 10u);
  Roll();
  Restart();
  ctl().StartUp();
  EXPECT_EQ(state.pool.size(), 8u) << "the record's pool is whole after a crash";
  EXPECT_EQ(Status(), U(kR2));

  Fresh();
  Put(ProgramDir::kSetDat, "\xEF\xBB\xBF张三\r\n李四\r\n王五\r\n赵六\r\n");
  ctl().StartUp();
  const auto winners = Roll();
  ASSERT_EQ(winners.size(), 2u);
  for (const auto& winner : winners) {
    EXPECT_TRUE(winner == U("张三") || winner == U("李四") || winner == U("王五") || winner == U("赵六"));
    EXPECT_NE(Read(ProgramDir::kResultDat).find(winner), std::string::npos);
  }
}

TEST_F(BadFiles, DashesInEntriesNeverSplitAWinner) {
  std::string list;
  for (int i = 1; i <= 10; ++i) list += "138-1234-" + std::to_string(5670 + i) + "\r\n";
  Put(ProgramDir::kSetDat, list);
  ctl().StartUp();
  EXPECT_EQ(Messages(),
            std::vector<std::string>{U("名单中有10个条目含有“-”，抽奖时显示为全角的“－”，以免中奖结果文件把一个条目"
                                       "读成多个。")});
  EXPECT_EQ(state.pool[0], U("138－1234－5671"));
  Roll();
  ASSERT_EQ(LoadResultLog(dir).size(), 1u);
  EXPECT_EQ(LoadResultLog(dir)[0].winners.size(), 2u);
  ctl().RestartPressed();
  EXPECT_EQ(Messages().size(), 2u) << "the same list is not told again (only the restart question)";

  Roll();
  Restart();
  ctl().StartUp();
  EXPECT_EQ(state.pool.size(), 8u) << "no extra candidates on resume";
  FinishDraw();
  for (const auto& line : LoadResultLog(dir))
    for (const auto& winner : line.winners) EXPECT_EQ(winner.size(), U("138－1234－5671").size());
}

// An old Mac editor's list (CR alone ends each line) is 200 people, not one "winner" made of all of
// them; an entry no name could be as long as is told once when the list loads.
TEST_F(BadFiles, CrOnlyListsSplitAndAnEntryLongerThanANameIsTold) {
  std::string list;
  for (int i = 1; i <= 200; ++i) list += U("选手") + std::to_string(i) + "\r";
  Put(ProgramDir::kSetDat, list);
  ctl().StartUp();
  EXPECT_EQ(state.pool.size(), 200u);
  EXPECT_EQ(state.pool[1], U("选手2"));
  EXPECT_TRUE(Messages().empty());

  Fresh();
  std::string glued;
  for (int i = 1; i <= 60; ++i) glued += U("选手") + std::to_string(i) + ",";
  Put(ProgramDir::kSetDat, U("甲\r\n") + glued + "\r\n");
  ctl().StartUp();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].find(U("名单中有1个条目超过128个汉字（256字节），第一个是第2个：“选手1,选手2,")), 0u)
      << ToQt(Messages()[0]).toStdString();
  Roll();
  ctl().RestartPressed();
  EXPECT_EQ(Messages().size(), 2u) << "the same list is not told again (only the restart question)";
}

TEST_F(BadFiles, BlankEntriesNeverWin) {
  Put(ProgramDir::kSetDat, "\r\n   \r\n\t\r\n");
  ctl().StartUp();
  ctl().StartPressed();
  EXPECT_EQ(LastMessage(), U("无数据，请先导入抽奖名单！"));
  EXPECT_NE(state.phase, DrawPhase::Rolling);

  Fresh();
  Put(ProgramDir::kSetDat, "a\r\n\r\n \r\nb\r\n");
  ctl().StartUp();
  EXPECT_EQ(Descending(Roll()), (std::vector<std::string>{"b", "a"}));
}

TEST_F(BadFiles, PlanLinesWithoutAQuotaOrBatchCountAreRefusedAtLoad) {
  WritePlan(
      {"特等奖,-5,1,1,1,奖品,,", "三等奖,4,2,1,2,奖品：MP4一部,,", "二等奖,3,0,1,3,奖品,,", "一等奖,1,1,1,1,奖品,,"});
  ctl().StartUp();
  EXPECT_EQ(Messages(),
            std::vector<std::string>{U("奖项计划 config\\shezhijx.dat 中第1行(特等奖)、第3行(二等奖)的中奖名额或"
                                       "批次小于1，无法抽取，已略过，请在奖项设置中修改！")});
  ASSERT_EQ(state.plan.size(), 2u);
  EXPECT_EQ(Status(), U("准备抽取【三等奖】，本轮抽2名（第1轮/总2轮，已抽0名/共4名)"));
}

TEST_F(BadFiles, TickIntervalStaysWithinASecond) {
  WriteConfig("标题设置", "抽奖随机滚动快慢", "2147483647");
  ctl().StartUp();
  ctl().StartPressed();
  EXPECT_EQ(ctl().TickPeriod(), 1000);
  Fresh();
  WriteConfig("标题设置", "抽奖随机滚动快慢", "-3");
  ctl().StartUp();
  ctl().StartPressed();
  EXPECT_EQ(ctl().TickPeriod(), 1);
}

}  // namespace
}  // namespace kavrel
