#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/draw_controller.h"
#include "engine/plan.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/recording_stage_hooks.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel {

// A program folder of its own, the fakes of every port and a controller over them. Restart()
// drops the controller and the in-memory state as a crash would and builds them afresh.
class EngineFixture : public ::testing::Test {
 protected:
  EngineFixture();
  ~EngineFixture() override;

  void Restart();
  DrawController& ctl() { return *controller; }

  // Files, written as stored (texts given as UTF-8 and converted).
  void WriteConfig(const char* section, const char* key, const char* value);
  void WriteList(int count);  // entries "001".."count"
  void WritePlan(std::initializer_list<const char*> lines);
  std::string Read(std::string_view suffix) const;
  bool Exists(std::string_view suffix) const;

  // One roll: start press, `ticks` timer ticks, stop press. Returns the entries on screen after the
  // stop (the stop paints the batch's committed winners over the show).
  std::vector<std::string> Roll(int ticks = 3);
  void Tick();

  std::string Status() const { return stage.Text(StageElement::StatusLabel); }
  std::string Number() const { return stage.Text(StageElement::NumberLabel); }
  std::vector<std::string> Messages() const { return prompter.MessageTexts(); }
  std::string LastMessage() const;

  std::filesystem::path root;
  ProgramDir dir;
  FakeClock clock;
  ScriptedPrompter prompter;
  RecordingSoundPort sound;
  RecordingStageHooks stage;
  DrawState state;
  DrawOptions options;
  DrawMode mode;
  std::unique_ptr<DrawController> controller;
  std::mt19937 entropy{20261209};
};

// Expected file texts, built independently of the engine.
std::string ResultTxtBlock(const char* awardUtf8, const std::vector<std::string>& winners, const char* timeUtf8);
std::vector<std::string> Descending(std::vector<std::string> entries);
std::string U(const char* utf8);  // Gb() for brevity

}  // namespace kavrel
