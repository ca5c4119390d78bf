#include "formats/message.h"

#include <gtest/gtest.h>

#include <tuple>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "frame/gridtext.h"
#include "support/support.h"

namespace {

using ottest::Gbk;

struct Entry {
  int serial;
  int type;
  std::string text;  // plain
  int spare = 0;
  int length = -1;  // the length byte as stored; -1: the text's length
};

const std::string kHeader = ottest::PatternBytes(28, 9);

std::string MessageBytes(const std::vector<Entry>& entries, const std::string& trailer = "",
                         const std::string& header = kHeader) {
  std::string s = header;
  for (const auto& e : entries) {
    s += static_cast<char>(e.serial);
    s += static_cast<char>(e.type);
    s += static_cast<char>(e.length >= 0 ? e.length : static_cast<int>(e.text.size()));
    s += static_cast<char>(e.spare);
    s += ottest::MessageKeyed(e.text);
  }
  return s + trailer;
}

// The same entries as a save writes them: spare head bytes 0.
std::vector<Entry> Saved(std::vector<Entry> entries) {
  for (auto& e : entries) e.spare = 0;
  return entries;
}

std::vector<Entry> SampleEntries() {
  return {{1, 2, "hello", 0x77},
          {255, 0, "", 9},
          {17, 200, Gbk("欢迎来到大陆"), 0xFF},
          {0, 1, std::string("caret^and\xA1\xA1"), 1}};
}

struct MessageFixture : ::testing::Test {
  ottest::TempDir dir;
  ot::TEditorState state;
  ottest::ScriptedPort port;
  const ot::StringGrid& grid = state.WtfStrGrid;

  ot::OpenOutcome Open(const std::string& bytes, const std::string& name = "Message.wtf") {
    const std::string path = dir.File(name);
    ottest::WriteFile(path, bytes);
    port.answers.push_back(path);
    return ot::OpenBtnClick(state, port);
  }
  std::string Save(const std::string& name = "out.wtf") {
    port.answers.push_back(dir.File(name));
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
    return ottest::FileExists(dir.File(name)) ? ottest::ReadFile(dir.File(name)) : "";
  }
};

TEST_F(MessageFixture, StartGridHasTitlesAndTwentyRows) {
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.RowCount(), 20);
  const char* titles[] = {"编号", "信息序号", "信息类型", "信息长度", "信息内容"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(grid.Cells(c, 0), Gbk(titles[c]));
}

TEST_F(MessageFixture, OpensOneRowPerEntryWithTextsUnscrambled) {
  ASSERT_EQ(Open(MessageBytes(SampleEntries())), ot::OpenOutcome::Opened);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(state.ActivePageIndex, ot::kMessagePage);
  ASSERT_EQ(grid.RowCount(), 5);
  const std::vector<std::vector<std::string>> rows = {
      {"1", "1", "2", "5", "hello"},
      {"2", "255", "0", "0", ""},
      {"3", "17", "200", "12", Gbk("欢迎来到大陆")},
      {"4", "0", "1", "11", "caret^and\xA1\xA1"}};
  for (int r = 1; r <= 4; ++r)
    for (int c = 0; c < 5; ++c)
      EXPECT_EQ(grid.Cells(c, r), rows[static_cast<size_t>(r) - 1][static_cast<size_t>(c)])
          << "cell " << c << "," << r;
  EXPECT_EQ(grid.Cells(4, 0), Gbk("信息内容"));
  const ot::TableUnit* unit = state.UnitOfPage(ot::kMessagePage);
  EXPECT_EQ(unit->CurrentLayout(state), 0);
  auto record = unit->RecordBytes(state, 1);
  ASSERT_TRUE(record);
  EXPECT_EQ(std::string(record->begin(), record->end()), std::string("\x01\x02\x05\x77hello"));
}

TEST_F(MessageFixture, SmallestFileIsOneEmptyEntry) {
  ASSERT_EQ(Open(MessageBytes({{3, 4, ""}})), ot::OpenOutcome::Opened);
  ASSERT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cells(3, 1), "0");
  EXPECT_EQ(grid.Cells(4, 1), "");
}

TEST_F(MessageFixture, DescrambledZeroByteCutsTheTextAndTheSaveStoresTheShortText) {
  // A plain zero byte is stored as the key itself.
  const std::vector<Entry> entries = {{1, 1, std::string("ab\0cd", 5)}, {2, 2, "next"}};
  ASSERT_EQ(Open(MessageBytes(entries)), ot::OpenOutcome::Opened);
  EXPECT_EQ(grid.Cells(3, 1), "5");
  EXPECT_EQ(grid.Cells(4, 1), "ab");
  EXPECT_EQ(Save(), MessageBytes({{1, 1, "ab"}, {2, 2, "next"}}));
}

TEST_F(MessageFixture, UnchangedFileRoundTripsWithSpareHeadBytesZero) {
  std::vector<Entry> many;
  for (int i = 0; i < 1200; ++i)  // more than the 1000 entries of a fixed buffer
    many.push_back({i % 256, i / 256, "m" + std::to_string(i), i % 7});
  struct Case {
    const char* name;
    std::vector<Entry> entries;
    std::string trailer;
  } cases[] = {
      {"sample", SampleEntries(), ""},
      {"one spare byte after the last entry is kept", SampleEntries(), "\x5A"},
      {"1200 entries", many, ""},
      {"32 bytes", {{0, 0, "", 5}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Open(MessageBytes(c.entries, c.trailer)), ot::OpenOutcome::Opened);
    EXPECT_EQ(grid.RowCount(), static_cast<int>(c.entries.size()) + 1);
    EXPECT_EQ(Save(), MessageBytes(Saved(c.entries), c.trailer));
  }
  EXPECT_EQ(grid.Cells(0, 1200), "1200");
  EXPECT_EQ(grid.Cells(4, 1200), "m1199");
}

TEST_F(MessageFixture, SecondOpenReplacesEverything) {
  ASSERT_EQ(Open(MessageBytes(SampleEntries(), "\x01")), ot::OpenOutcome::Opened);
  const std::string other(28, 'H');
  ASSERT_EQ(Open(MessageBytes({{9, 9, "only"}}, "", other), "Other.wtf"),
            ot::OpenOutcome::Opened);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cells(4, 1), "only");
  EXPECT_FALSE(state.UnitOfPage(ot::kMessagePage)->RecordBytes(state, 2));
  EXPECT_EQ(Save(), MessageBytes({{9, 9, "only"}}, "", other));
}

TEST_F(MessageFixture, EditsComeOutByTheConversionAndTheTextLength) {
  const std::vector<Entry> entries = {{1, 2, "hello"}, {3, 4, "middle"}, {5, 6, "end"}};
  struct Case {
    const char* name;
    std::vector<std::tuple<int, int, std::string>> cells;  // col, row, text
    std::vector<Entry> expected;
  } cases[] = {
      {"serial 300 is stored as 44, -1 as 255, hexadecimal types",
       {{1, 1, "300"}, {2, 1, "$10"}, {1, 2, "-1"}, {2, 2, " 0x7f"}},
       {{44, 16, "hello"}, {255, 127, "middle"}, {5, 6, "end"}}},
      {"an edit of column 3 alone changes nothing", {{3, 1, "99"}, {3, 2, "x"}}, entries},
      {"a longer text grows the file",
       {{4, 2, Gbk("更长的一段信息内容")}},
       {{1, 2, "hello"}, {3, 4, Gbk("更长的一段信息内容")}, {5, 6, "end"}}},
      {"an emptied text shrinks it", {{4, 1, ""}}, {{1, 2, ""}, {3, 4, "middle"}, {5, 6, "end"}}},
      {"255 bytes still fit", {{4, 3, std::string(255, 'z')}},
       {{1, 2, "hello"}, {3, 4, "middle"}, {5, 6, std::string(255, 'z')}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Open(MessageBytes(entries, "\x33")), ot::OpenOutcome::Opened);
    for (const auto& [col, row, text] : c.cells) state.WtfStrGrid.Cells(col, row) = text;
    EXPECT_EQ(Save(), MessageBytes(c.expected, "\x33"));
  }
}

TEST_F(MessageFixture, RowsAddedOrRemovedBecomeEntries) {
  ASSERT_EQ(Open(MessageBytes({{1, 2, "a"}, {3, 4, "b"}})), ot::OpenOutcome::Opened);
  state.WtfStrGrid.SetRowCount(4);
  state.WtfStrGrid.Cells(1, 3) = "7";
  state.WtfStrGrid.Cells(2, 3) = "8";
  state.WtfStrGrid.Cells(4, 3) = "new";
  EXPECT_EQ(Save(), MessageBytes({{1, 2, "a"}, {3, 4, "b"}, {7, 8, "new"}}));

  // Grid text as ot-table apply gives it: column 0 is ignored and numbered afresh.
  ot::ApplyGridRows(state, ot::kMessagePage,
                    {{"t", "t", "t", "t", "t"}, {"x", "5", "6", "", "one"}});
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cells(0, 1), "1");
  EXPECT_EQ(Save(), MessageBytes({{5, 6, "one"}}));
  ot::ApplyGridRows(state, ot::kMessagePage,
                    {{"t", "t", "t", "t", "t"}, {"", "1", "1", "", "p"}, {"", "2", "2", "", "q"}});
  EXPECT_EQ(grid.Cells(0, 2), "2");
  EXPECT_EQ(Save(), MessageBytes({{1, 1, "p"}, {2, 2, "q"}}));
}

TEST_F(MessageFixture, BadNumberCellRaisesTheConversionErrorAndWritesNothing) {
  const std::string target = dir.File("target.wtf");
  ottest::WriteFile(target, "old content");
  struct Case {
    int col, row;
    const char* text;
  } cases[] = {{1, 3, "abc"}, {2, 4, ""}, {1, 2, "12 "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(Open(MessageBytes(SampleEntries())), ot::OpenOutcome::Opened);
    state.WtfStrGrid.Cells(c.col, c.row) = c.text;
    for (const auto& path : {target, dir.File("new.wtf")}) {
      port.answers.push_back(path);
      try {
        ot::SaveBtnClick(state, port);
        ADD_FAILURE() << "saved";
      } catch (const ot::ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + std::string(c.text) + "' is not a valid integer value");
        EXPECT_EQ(e.Col, c.col);
        EXPECT_EQ(e.Row, c.row);
        EXPECT_EQ(e.Page, ot::kMessagePage);
      }
    }
    EXPECT_EQ(ottest::ReadFile(target), "old content");
    EXPECT_FALSE(ottest::FileExists(dir.File("new.wtf")));
  }
}

TEST_F(MessageFixture, RefusedSavesNameTheReasonAndWriteNothing) {
  const std::string target = dir.File("target.wtf");
  struct Case {
    const char* name;
    int rows;  // row count of the grid after the edit
    std::string longText;  // put into row 2 when not empty
    std::string words;
  } cases[] = {
      {"a text of 256 bytes", 5, std::string(256, 'y'), "第2行的信息内容有256字节"},
      {"a long text on an added row", 7, "", "第6行的信息内容有300字节"},
      {"no entries left", 1, "", "至少要有一条信息"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Open(MessageBytes(SampleEntries())), ot::OpenOutcome::Opened);
    port.messages.clear();
    ottest::WriteFile(target, "old content");
    state.WtfStrGrid.SetRowCount(c.rows);
    for (int r = 5; r < c.rows; ++r) {
      state.WtfStrGrid.Cells(1, r) = "1";
      state.WtfStrGrid.Cells(2, r) = "1";
      state.WtfStrGrid.Cells(4, r) = r == 6 ? std::string(300, 'w') : "ok";
    }
    if (!c.longText.empty()) state.WtfStrGrid.Cells(4, 2) = c.longText;
    port.answers.push_back(target);
    EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Refused);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].text.find(c.words), std::string::npos) << port.messages[0].text;
    EXPECT_EQ(port.messages[0].caption, std::string(ot::kSaveRefusedCaption));
    EXPECT_EQ(ottest::ReadFile(target), "old content");
  }
}

TEST_F(MessageFixture, SaveBeforeAnyMessageFileWritesNothing) {
  state.ActivePageIndex = ot::kMessagePage;
  // The start grid stops at its first empty number cell.
  port.answers.push_back(dir.File("x.wtf"));
  try {
    ot::SaveBtnClick(state, port);
    ADD_FAILURE();
  } catch (const ot::ConversionError& e) {
    EXPECT_EQ(std::string(e.what()), "'' is not a valid integer value");
    EXPECT_EQ(e.Col, 1);
    EXPECT_EQ(e.Row, 1);
  }
  // Cells typed in without a file give no header to write: refused, not made up.
  for (int r = 1; r < grid.RowCount(); ++r) {
    state.WtfStrGrid.Cells(1, r) = "1";
    state.WtfStrGrid.Cells(2, r) = "2";
    state.WtfStrGrid.Cells(4, r) = "text";
  }
  port.answers.push_back(dir.File("x.wtf"));
  EXPECT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Refused);
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].text.find("Message.wtf"), std::string::npos);
  EXPECT_TRUE(dir.Entries().empty());
}

TEST_F(MessageFixture, MalformedFilesAreRefusedAndLeaveTheShownTableInPlace) {
  const std::string missing(ot::kFileMissingMessage);
  struct Case {
    const char* name;
    std::string bytes;
    std::string words;  // in the refusal
    bool empty = false;
  } cases[] = {
      {"empty", "", "文件只有0字节", true},
      {"one byte", "x", "文件只有1字节"},
      {"header alone", kHeader, "文件只有28字节"},
      {"header and part of a head", kHeader + std::string("\x01\x02\x00", 3), "文件只有31字节"},
      {"length byte points past the end", MessageBytes({{1, 1, "abc", 0, 200}}), "第1条信息"},
      {"last entry one byte short", MessageBytes({{1, 1, "a"}, {2, 2, "abc", 0, 4}}),
       "第2条信息(从第33字节起)"},
      {"two bytes after the last entry", MessageBytes({{1, 1, "a"}}, "\x01\x02"), "第2条信息"},
      {"three bytes after the last entry", MessageBytes({{1, 1, "a"}}, "\x01\x02\x03"),
       "第2条信息"},
      {"a head whose length runs past the end", MessageBytes({{1, 1, "a"}}, std::string("\x01\x02\xFF\x00xx", 6)),
       "超出了文件末尾"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    port.messages.clear();
    ASSERT_EQ(Open(MessageBytes({{4, 4, "kept"}})), ot::OpenOutcome::Opened);
    port.messages.clear();
    EXPECT_EQ(Open(c.bytes, "Bad.wtf"), ot::OpenOutcome::Refused);
    ASSERT_EQ(port.messages.size(), c.empty ? 2u : 1u);
    if (c.empty) {
      EXPECT_EQ(port.messages[0].text, missing);
    }
    const auto& refusal = port.messages.back();
    EXPECT_EQ(refusal.caption, std::string(ot::kOpenErrorCaption));
    EXPECT_NE(refusal.text.find("不是有效的Wtf信息文件"), std::string::npos) << refusal.text;
    EXPECT_NE(refusal.text.find(c.words), std::string::npos) << refusal.text;
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(4, 1), "kept");
    EXPECT_EQ(Save(), MessageBytes({{4, 4, "kept"}}));
  }
}

TEST_F(MessageFixture, OnlyTheLowerCaseExtensionIsAMessageFile) {
  EXPECT_EQ(Open(MessageBytes(SampleEntries()), "Message.WTF"), ot::OpenOutcome::Refused);
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, std::string(ot::kTypeRefusedMessage));
  EXPECT_EQ(state.ActivePageIndex, ot::kAboutPage);
  EXPECT_EQ(grid.RowCount(), 20);
}

}  // namespace
