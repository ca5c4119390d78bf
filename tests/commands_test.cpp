#include "frame/commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "frame/editor_state.h"
#include "support/support.h"

namespace {

using ottest::Message;

const std::string kBmd(ot::kBmdRefusedMessage);
const std::string kType(ot::kTypeRefusedMessage);
const std::string kCaption(ot::kOpenErrorCaption);

struct OpenCase {
  const char* name;  // file name; nullptr: a path that does not exist
  int64_t size;
  std::vector<std::string> messages;  // texts, all captioned "文件打开出错"
  bool opens;
};

TEST(OpenCommand, RecognitionAndRefusals) {
  const OpenCase cases[] = {
      {"Gate.bmd", 900, {}, true},
      {"any name.bmd", 2304, {}, true},
      {"Gate.BMD", 900, {kType}, false},  // case counts
      {"Gate.bmd", 901, {kBmd}, false},
      {"Gate.bmd", 0, {std::string(ot::kFileMissingMessage), kBmd}, false},
      {"Gate", 900, {kType}, false},
      {"Gate.txt", 900, {kType}, false},
      {"Gate.txt", 0, {std::string(ot::kFileMissingMessage), kType}, false},
      {"dir.d/Gate", 900, {kType}, false},  // the dot of a folder is no extension
      {nullptr, 0, {kBmd}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "(missing)");
    ottest::TempDir dir;
    ot::TEditorState state;
    ottest::ScriptedPort port;
    std::string path;
    if (c.name) {
      path = dir.File(c.name);
      if (std::string(c.name).find('/') != std::string::npos) mkdir(dir.File("dir.d").c_str(), 0700);
      ottest::WriteFile(path, std::string(static_cast<size_t>(c.size), '\0'));
    } else {
      path = dir.File("missing.bmd");
    }
    port.answers.push_back(path);
    const auto outcome = ot::OpenBtnClick(state, port);
    EXPECT_EQ(outcome == ot::OpenOutcome::Opened, c.opens);
    ASSERT_EQ(port.messages.size(), c.messages.size());
    for (size_t i = 0; i < c.messages.size(); ++i) {
      EXPECT_EQ(port.messages[i].text, c.messages[i]);
      EXPECT_EQ(port.messages[i].caption, kCaption);
    }
    EXPECT_EQ(state.StatusPanels[1], path);  // the path shows whatever the outcome
    if (!c.opens) {
      EXPECT_EQ(state.ActivePageIndex, ot::kAboutPage);
      EXPECT_EQ(state.GateStrGrid.RowCount(), 50);
    }
  }
}

TEST(OpenCommand, CancelledDialogChangesNothing) {
  ot::TEditorState state;
  ottest::ScriptedPort port;
  port.answers.push_back(std::nullopt);
  EXPECT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Cancelled);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(state.StatusPanels[1], "");
}

TEST(OpenCommand, ReadOnlyTableOpens) {
  ottest::TempDir dir;
  const std::string path = dir.File("Gate.bmd");
  ottest::WriteFile(path, std::string(900, '\0'));
  chmod(path.c_str(), 0444);
  ot::TEditorState state;
  ottest::ScriptedPort port;
  port.answers.push_back(path);
  EXPECT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  EXPECT_TRUE(port.messages.empty());
}

TEST(OpenCommand, RefusedFileLeavesEarlierTableInPlace) {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;
  ottest::WriteFile(dir.File("a.bmd"), ottest::Scramble(std::string(900, '\x05'), 0, 900, 9));
  ottest::WriteFile(dir.File("b.bmd"), std::string(901, '\0'));
  port.answers.push_back(dir.File("a.bmd"));
  port.answers.push_back(dir.File("b.bmd"));
  ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  EXPECT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Refused);
  EXPECT_EQ(state.GateStrGrid.RowCount(), 101);
  EXPECT_EQ(state.GateStrGrid.Cells(1, 1), "5");
  EXPECT_EQ(state.StatusPanels[1], dir.File("b.bmd"));
}

// A port whose replace question is answered by a function; the pages asked are recorded.
struct ReplacePort : ottest::ScriptedPort {
  std::function<ot::ReplaceAnswer(int)> answer;
  std::vector<int> asked;
  ot::ReplaceAnswer MayReplacePage(int page) override {
    asked.push_back(page);
    return answer(page);
  }
};

TEST(OpenCommand, ReplacingAPageAsksBeforeReading) {
  ottest::TempDir dir;
  const std::string first = dir.File("first.bmd");
  const std::string second = dir.File("second.bmd");
  ottest::WriteFile(first, ottest::Scramble(std::string(900, '\x05'), 0, 900, 9));
  ottest::WriteFile(second, ottest::Scramble(std::string(900, '\x07'), 0, 900, 9));
  struct Case {
    const char* name;
    ot::ReplaceAnswer answer;
    bool rewrite;  // the answer writes the second file anew as a 1.X table meanwhile
    ot::OpenOutcome outcome;
    int rows;
    const char* cell;
    std::string panel;
  };
  const Case cases[] = {
      {"replace", ot::ReplaceAnswer::Replace, false, ot::OpenOutcome::Opened, 101, "7", second},
      {"keep", ot::ReplaceAnswer::Keep, false, ot::OpenOutcome::Cancelled, 101, "5", first},
      {"saved meanwhile", ot::ReplaceAnswer::ReplaceAfterSaving, true, ot::OpenOutcome::Opened,
       257, "9", second},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ottest::WriteFile(second, ottest::Scramble(std::string(900, '\x07'), 0, 900, 9));
    ot::TEditorState state;
    ReplacePort port;
    // The first open fills an empty page: the answer under test is the second one.
    port.answer = [&](int) {
      if (port.asked.size() == 1) return ot::ReplaceAnswer::Replace;
      if (c.rewrite) ottest::WriteFile(second, ottest::Scramble(std::string(2304, '\x09'), 0, 2304, 9));
      return c.answer;
    };
    port.answers = {first, second};
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
    EXPECT_EQ(ot::OpenBtnClick(state, port), c.outcome);
    EXPECT_EQ(port.asked, (std::vector<int>{ot::kGatePage, ot::kGatePage}));
    EXPECT_EQ(state.GateStrGrid.RowCount(), c.rows);
    EXPECT_EQ(state.GateStrGrid.Cells(1, 1), c.cell);
    EXPECT_EQ(state.StatusPanels[1], c.panel);
    EXPECT_TRUE(port.messages.empty());
  }
}

TEST(OpenCommand, RefusedFilesAreNotAskedAbout) {
  ottest::TempDir dir;
  ottest::WriteFile(dir.File("b.bmd"), std::string(901, '\0'));
  ot::TEditorState state;
  ReplacePort port;
  port.answer = [](int) { return ot::ReplaceAnswer::Replace; };
  port.answers = {dir.File("b.bmd")};
  EXPECT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Refused);
  EXPECT_TRUE(port.asked.empty());
}

TEST(SaveCommand, AboutPageAndCancelDoNothing) {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;
  port.answers.push_back(dir.File("x"));
  EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::NoTable);
  EXPECT_TRUE(port.dialogs.empty());  // no dialog on the About page
  EXPECT_EQ(ot::ExportBtnClick(state, port), ot::SaveOutcome::NoTable);
  EXPECT_TRUE(port.dialogs.empty());
  state.ActivePageIndex = ot::kGatePage;
  port.answers = {std::nullopt};
  EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Cancelled);
  EXPECT_EQ(port.dialogs, std::vector<ot::FileDialog>{ot::FileDialog::Save});
  EXPECT_TRUE(dir.Entries().empty());
}

}  // namespace

namespace {

TEST(OpenCommand, FilesFarLargerThanAnyTableAreRefusedUnread) {
  // Sparse files: 300 MiB that take no disk space. A .bmd is judged by its size alone; a
  // message file that large is refused before it is read.
  struct Case {
    const char* name;
    std::string message;
  } cases[] = {{"huge.bmd", std::string(ot::kBmdRefusedMessage)}, {"huge.wtf", "文件太大"}};
  for (const auto& c : cases) {
    ottest::TempDir dir;
    const std::string path = dir.File(c.name);
    ottest::WriteFile(path, "");
    ASSERT_EQ(truncate(path.c_str(), 300ll << 20), 0);
    ot::TEditorState state;
    ottest::ScriptedPort port;
    port.answers.push_back(path);
    EXPECT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Refused);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].text.find(c.message), std::string::npos) << port.messages[0].text;
  }
}

}  // namespace
