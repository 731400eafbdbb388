#include "engine_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

#include "storage/settings.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {
std::filesystem::path FreshRoot() {
  static std::atomic<int> n{0};
  std::random_device rd;
  auto p =
      std::filesystem::temp_directory_path() / ("kavrel_engine_" + std::to_string(rd()) + "_" + std::to_string(n++));
  std::filesystem::create_directories(p / "config");
  return p;
}
}  // namespace

std::string U(const char* utf8) {
  return Gb(utf8);
}

EngineFixture::EngineFixture() : root(FreshRoot()), dir(root) {
  Restart();
}

EngineFixture::~EngineFixture() {
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}

void EngineFixture::Restart() {
  controller.reset();
  state = DrawState{};
  options = DrawOptions{};
  stage = RecordingStageHooks{};
  controller = std::make_unique<DrawController>(state, options, mode, stage, prompter, sound, clock, dir);
  // Draw keys from a seeded generator: the winners of a scripted draw are the same at every run.
  controller->UseRandomBytes([this](std::size_t n) {
    std::string bytes(n, '\0');
    for (auto& b : bytes) b = static_cast<char>(entropy() & 0xFF);
    return bytes;
  });
}

void EngineFixture::WriteConfig(const char* section, const char* key, const char* value) {
  Settings settings(dir.Path(ProgramDir::kConfigIni));
  ASSERT_TRUE(settings.WriteText(Gb(section), Gb(key), Gb(value)));
}

void EngineFixture::WriteList(int count) {
  std::string text;
  char buf[16];
  for (int i = 1; i <= count; ++i) {
    std::snprintf(buf, sizeof buf, "%03d", i);
    text += std::string(buf) + "\r\n";
  }
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kSetDat), text));
}

void EngineFixture::WritePlan(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += Gb(l) + "\r\n";
  ASSERT_TRUE(WriteTextFile(dir.Path(ProgramDir::kBatchPlanDat), text));
}

std::string EngineFixture::Read(std::string_view suffix) const {
  return ReadTextFile(dir.Path(suffix));
}
bool EngineFixture::Exists(std::string_view suffix) const {
  return FileExists(dir.Path(suffix));
}

void EngineFixture::Tick() {
  clock.ms += 1;
  ctl().RollTick();
}

std::vector<std::string> EngineFixture::Roll(int ticks) {
  ctl().StartPressed();
  for (int i = 0; i < ticks; ++i) Tick();
  ctl().StopPressed();
  return stage.painted;
}

std::string EngineFixture::LastMessage() const {
  auto m = Messages();
  return m.empty() ? std::string() : m.back();
}

std::string ResultTxtBlock(const char* awardUtf8, const std::vector<std::string>& winners, const char* timeUtf8) {
  std::string s = "\r\n\r\n";
  for (int i = 0; i < 10; ++i) s += "-----------";
  s += "\r\n\r\n" + Gb(timeUtf8) + "\r\n\r\n" + Gb("【") + Gb(awardUtf8) + Gb("】") + "\t";
  for (const auto& w : winners) s += w + "\t";
  return s + "\r\n";
}

std::vector<std::string> Descending(std::vector<std::string> entries) {
  std::sort(entries.begin(), entries.end(), std::greater<>());
  return entries;
}

}  // namespace kavrel
