#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "lists/list_editor.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/text_file.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/scripted_prompter.h"

namespace kavrel::test {

// A list editor on a fresh program folder, answering through a scripted prompter.
class ListTest : public ::testing::Test {
 protected:
  ListTest() : dir_(std::filesystem::path(temp_.path().toStdString())) { dir_.EnsureConfigDir(); }

  ListEditor& Editor() {
    if (!editor_)
      editor_ = std::make_unique<ListEditor>(ListEditorContext{dir_, prompter_, clock_, drawUnderWay_, find_}, runner_);
    return *editor_;
  }
  ListTable& Table() { return Editor().Table(); }

  // A one-column table of the given entries (UTF-8), numbered, as a text import leaves it.
  void Fill(const std::vector<std::string>& utf8) {
    std::vector<std::string> lines;
    for (const auto& s : utf8) lines.push_back(Gb(s));
    FillFromLines(Table(), lines);
  }
  // A table of several data columns (UTF-8 cells).
  void FillColumns(const std::vector<std::vector<std::string>>& rows) {
    ListTable& t = Table();
    t.Resize(static_cast<int>(rows.size()) + 1, static_cast<int>(rows.front().size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      t.SetCell(static_cast<int>(r) + 1, 0, std::to_string(r + 1));
      for (std::size_t c = 0; c < rows[r].size(); ++c)
        t.SetCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, Gb(rows[r][c]));
    }
  }
  std::vector<std::string> Column(int c) {
    std::vector<std::string> out;
    for (int r = 1; r <= Table().DataRowCount(); ++r) out.push_back(ToQt(Table().Cell(r, c)).toStdString());
    return out;
  }
  std::string Put(const std::string& name, const std::string& bytes) {
    const auto path = dir_.Root() / name;
    EXPECT_TRUE(WriteTextFile(path, bytes));
    return GbPath(path);
  }
  std::string Read(std::string_view suffix) const { return ReadTextFile(dir_.Path(suffix)); }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& m : prompter_.MessageTexts()) out.push_back(ToQt(m).toStdString());
    return out;
  }

  QTemporaryDir temp_;
  ProgramDir dir_;
  ScriptedPrompter prompter_;
  FakeClock clock_;
  bool drawUnderWay_ = false;  // read when the editor is made (the window opens)
  FindState find_;
  InlineRunner runner_;
  std::unique_ptr<ListEditor> editor_;
};

}  // namespace kavrel::test
