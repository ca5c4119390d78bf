// A test fixture for one table page: a folder, an editor state and a scripted port, with
// helpers that open stored bytes and save through the Save command.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "support/support.h"

namespace ottest {

class TableFixture : public ::testing::Test {
 protected:
  explicit TableFixture(std::string fileName) : fileName_(std::move(fileName)) {}

  // Writes the stored (scrambled) bytes under the table's file name and opens them.
  void OpenStored(const std::string& bytes) {
    const std::string path = dir.File(fileName_);
    WriteFile(path, bytes);
    port.answers.push_back(path);
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  }
  // Saves the active page into the folder and returns the bytes written.
  std::string Save(const std::string& name = "out.bmd") {
    port.answers.push_back(dir.File(name));
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
    return ReadFile(dir.File(name));
  }

  TempDir dir;
  ot::TEditorState state;
  ScriptedPort port;

 private:
  std::string fileName_;
};

}  // namespace ottest
