// ot-table as scripts use it: exit statuses, outputs and what is left on disk.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "frame/version.h"
#include "support/record_bytes.h"
#include "support/support.h"

namespace {

using ottest::PutBytes;
using ottest::PutLe;
using ottest::RunCli;

std::string PlainGates(size_t records) {
  std::string s(records * 9, '\0');
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>(i % 251);
  return s;
}

struct Cli : ::testing::Test {
  ottest::TempDir dir;
  std::string gate;
  std::string plain;
  void SetUp() override {
    plain = PlainGates(100);
    gate = dir.File("Gate.bmd");
    ottest::WriteFile(gate, ottest::Scramble(plain, 0, plain.size(), 9));
  }
};

TEST_F(Cli, InfoPrintsTableLayoutAndEditBoxTexts) {
  auto r = RunCli({"info", gate});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "file: " + gate +
                       "\ntable: Gate.bmd\nlayout: 97 to 99B+\nsize: 900\nrecords: 100\npage: 2\n"
                       "GateEdit: //Ver:97->99B+ gate.bmd\n");
}

TEST_F(Cli, DumpShowsTheWholeGrid) {
  auto r = RunCli({"dump", gate});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("\r\n")),
            "编号,标记,地图号,范围坐标X1,范围坐标Y1,范围坐标X2,范围坐标Y2,目标门号,方向,等级限制");
  EXPECT_NE(r.out.find("\r\n0,0,1,2,3,4,5,6,7,8\r\n1,9,10,"), std::string::npos);
  size_t lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 101u);
  auto tsv = RunCli({"dump", gate, "--format", "tsv", "--encoding", "gbk"});
  ASSERT_EQ(tsv.status, 0);
  EXPECT_EQ(tsv.out.substr(0, tsv.out.find('\t')), ottest::Gbk("编号"));
}

TEST_F(Cli, ApplyOfAnUnchangedDumpCopiesTheFile) {
  for (const char* format : {"csv", "tsv"}) {
    auto dump = RunCli({"dump", gate, "--format", format, "-o", dir.File("grid")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    auto r = RunCli({"apply", gate, dir.File("grid"), "--format", format, "-o", dir.File("out.bmd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ottest::ReadFile(gate)) << format;
  }
}

TEST_F(Cli, ApplyStoresEditsByTheConversion) {
  auto dump = RunCli({"dump", gate});
  std::string grid = dump.out;
  const std::string row1 = "\r\n0,0,1,2,3,4,5,6,7,8\r\n";
  grid.replace(grid.find(row1), row1.size(), "\r\n0,300,-1,$10,0x11, 5,5,6,7,8\r\n");
  auto r = RunCli({"apply", gate, "-", "-o", dir.File("out.bmd")}, grid);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string out = ottest::ReadFile(dir.File("out.bmd"));
  const std::string saved = ottest::Scramble(out, 0, out.size(), 9);
  EXPECT_EQ(saved.substr(0, 5), std::string("\x2C\xFF\x10\x11\x05", 5));
  EXPECT_EQ(saved.substr(5), plain.substr(5));
}

TEST_F(Cli, ApplyRefusalsLeaveTheOutputAsItWas) {
  const std::string dump = RunCli({"dump", gate}).out;
  std::string bad = dump;
  bad.replace(bad.find("\r\n0,0,1,"), 8, "\r\n0,abc,1,");
  std::string shortGrid = dump.substr(0, dump.rfind("\r\n", dump.size() - 3) + 2);
  struct Case {
    std::string grid;
    std::string words;
  } cases[] = {
      {bad, "'abc' is not a valid integer value. (row 1, column 1)"},
      {shortGrid, "99 data rows; this table has 100 records"},
      {"a,\"b\n", "unbalanced quotes"},
  };
  const std::string out = dir.File("out.bmd");
  for (const auto& c : cases) {
    ottest::WriteFile(out, "previous");
    auto r = RunCli({"apply", gate, "-", "-o", out}, c.grid);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    EXPECT_EQ(ottest::ReadFile(out), "previous");
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"Gate.bmd", "out.bmd"}));
}

TEST_F(Cli, RefusedFilesAndBadCommandLines) {
  ottest::WriteFile(dir.File("odd.bmd"), std::string(901, '\0'));
  ottest::WriteFile(dir.File("empty.bmd"), "");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string words;
  } cases[] = {
      {{"info", dir.File("odd.bmd")}, 1, "不支持BMD文件类型"},
      {{"dump", dir.File("empty.bmd")}, 1, "文件不存在"},
      {{"info", dir.File("Gate.txt")}, 1, "不支持文件类型"},
      {{}, 2, "no command"},
      {{"frobnicate", gate}, 2, "unknown command"},
      {{"dump", gate, "--encoding", "latin1"}, 2, "--encoding"},
      {{"apply", gate, "grid.csv"}, 2, "-o OUT"},
      {{"info"}, 2, "takes 1 file"},
  };
  for (const auto& c : cases) {
    auto r = RunCli(c.args);
    EXPECT_EQ(r.status, c.status) << c.words;
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
  }
  auto empty = RunCli({"dump", dir.File("empty.bmd")});
  EXPECT_LT(empty.err.find("文件不存在"), empty.err.find("不支持BMD文件类型"));
}

TEST_F(Cli, HelpAndVersion) {
  auto v = RunCli({"--version"});
  EXPECT_EQ(v.status, 0);
  // The version that the window caption shows, after its two blanks.
  const std::string caption(ot::kWindowCaption);
  EXPECT_EQ(v.out, "ot-table (Orvel Tarn Client Tools) " + caption.substr(caption.rfind(' ') + 1) +
                       "\n");
  auto h = RunCli({"--help"});
  EXPECT_EQ(h.status, 0);
  const std::vector<std::string> commands = {"info", "dump", "apply", "export"};
  for (const auto& cmd : commands) {
    // One line each: the command at the start of exactly one line, after two blanks.
    size_t lines = 0;
    for (size_t at = h.out.find("\n  " + cmd + " "); at != std::string::npos;
         at = h.out.find("\n  " + cmd + " ", at + 1))
      ++lines;
    EXPECT_EQ(lines, 1u) << cmd;
    for (const auto& args : {std::vector<std::string>{cmd, "--help"},
                             std::vector<std::string>{"--help", cmd},
                             std::vector<std::string>{cmd, gate, "-h"}}) {
      auto one = RunCli(args);
      EXPECT_EQ(one.status, 0) << cmd;
      EXPECT_EQ(one.out.rfind("usage: ot-table " + cmd + " FILE", 0), 0u) << one.out;
      EXPECT_GT(std::count(one.out.begin(), one.out.end(), '\n'), 2) << cmd;
    }
  }
  auto unknown = RunCli({"frobnicate", "--help"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
}

TEST_F(Cli, DoubleDashEndsTheOptions) {
  // A file whose name starts with a dash, reached after "--".
  ottest::WriteFile(dir.File("-gate.bmd"), ottest::ReadFile(gate));
  const std::string dashed = "-gate.bmd";
  struct Case {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"info", "--", dashed}, 0},
      {{"--", "info", dashed}, 0},
      {{"info", dashed}, 2},
  };
  for (const auto& c : cases) {
    // A name starting with a dash is a relative one: run in the folder that holds it.
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.File(""));
    auto r = RunCli(c.args);
    std::filesystem::current_path(old);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 0) {
      EXPECT_NE(r.out.find("table: Gate.bmd"), std::string::npos);
    }
  }
}

TEST_F(Cli, OutputThatCannotBeWrittenIsAFailure) {
  // Standard output on a full device: the data is lost, so the exit status says so.
  for (const char* cmd : {"dump", "info"}) {
    const std::string err = dir.File("err");
    const std::string line = std::string(ottest::OtTablePath()) + " " + cmd + " '" + gate +
                             "' >/dev/full 2>'" + err + "'";
    const int status = std::system(line.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << cmd;
    EXPECT_NE(ottest::ReadFile(err).find("cannot write to standard output"), std::string::npos);
  }
}

// The filter list, slide messages, dialogue and text tables through ot-table.

// Writes a text into a field of a plain record image: the text, then a NUL when shorter.
void PutText(std::string& s, size_t at, size_t width, const std::string& text) {
  s.replace(at, text.size(), text);
  if (text.size() < width) s[at + text.size()] = '\0';
}

void PutLe32(std::string& s, size_t at, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (size_t i = 0; i < 4; ++i) s[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

struct TableFile {
  std::string name;  // a label for messages
  std::string plain;
  std::string stored;
};

// Plain images whose texts are valid code page 936 (some needing CSV quotes), with
// pattern bytes behind every terminator.
TableFile FilterFile() {
  std::string s = ottest::PatternBytes(20004, 21);
  for (size_t k = 0; k < 1000; ++k) PutText(s, 20 * k, 20, "f" + std::to_string(k));
  PutText(s, 0, 20, "a,b");
  PutText(s, 20, 20, "say \"hi\"");
  PutText(s, 40, 20, "two\r\nlines");
  PutText(s, 60, 20, ottest::Gbk("中文"));
  s.replace(20000, 4, "\x4D\x3C\x2B\x1A");
  return {"filter", s, ottest::Scramble(s, 0, 20000, 20)};
}

TableFile SlideFile() {
  std::string s = ottest::PatternBytes(41008, 22);
  for (size_t b = 0; b < 5; ++b)
    for (size_t e = 0; e < 32; ++e)
      PutText(s, 16 + 8200 * b + 256 * e, 256,
              e % 7 == 3 ? "" : "s" + std::to_string(b) + "," + std::to_string(e));
  return {"slide", s, ottest::Scramble(s, 0, 41008, 3)};
}

TableFile DialogFile() {
  std::string s = ottest::PatternBytes(204800, 23);
  for (size_t k = 0; k < 200; ++k) {
    const size_t r = 1024 * k;
    PutText(s, r, 300, "main " + std::to_string(k));
    for (size_t j = 0; j < 6; ++j)
      PutLe32(s, r + 300 + 4 * j, static_cast<int32_t>(k * 10 + j) - 50);
    PutText(s, r + 324, 60, "c60");
    for (size_t j = 0; j < 10; ++j) PutText(s, r + 384 + 64 * j, 64, "sub" + std::to_string(j));
  }
  return {"dialog", s, ottest::Scramble(s, 0, 204800, 1024)};
}

TableFile TextFile(size_t records) {
  std::string s = ottest::PatternBytes(300 * records, 24);
  for (size_t k = 0; k < records; ++k) PutText(s, 300 * k, 300, "text " + std::to_string(k));
  PutText(s, 300, 300, ottest::Gbk("第二行,带逗号"));
  return {"text " + std::to_string(records), s, ottest::Scramble(s, 0, s.size(), 300)};
}

TEST_F(Cli, InfoOfTheTextTables) {
  struct Case {
    TableFile file;
    std::string lines;  // what follows the file line
  } cases[] = {
      {FilterFile(),
       "table: Filter.bmd\nlayout: one layout\nsize: 20004\nrecords: 1000\npage: 1\n"
       "FilterCrcOldEdit: 1A2B3C4D\n"},
      {SlideFile(), "table: Slide.bmd\nlayout: one layout\nsize: 41008\nrecords: 160\npage: 6\n"},
      {DialogFile(),
       "table: Dialog.bmd\nlayout: one layout\nsize: 204800\nrecords: 200\npage: 0\n"},
      {TextFile(1500),
       "table: Text.bmd\nlayout: 99J, 99B+\nsize: 450000\nrecords: 1500\npage: 7\n"},
      {TextFile(2048), "table: Text.bmd\nlayout: 1.x\nsize: 614400\nrecords: 2048\npage: 7\n"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.File("t.bmd");
    ottest::WriteFile(path, c.file.stored);
    auto r = RunCli({"info", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "file: " + path + "\n" + c.lines) << c.file.name;
  }
}

TEST_F(Cli, DumpAndApplyOfEveryTextTableLayout) {
  // The count words of the slide file are what Save recomputes: 31 minus the empty entries
  // (five of the 32 entries of every block are empty).
  TableFile slide = SlideFile();
  std::string slideSaved = slide.plain;
  for (size_t b = 0; b < 5; ++b) PutLe32(slideSaved, 12 + 8200 * b, 26);
  slideSaved = ottest::Scramble(slideSaved, 0, slideSaved.size(), 3);
  struct Case {
    TableFile file;
    std::string title;  // the title row of the dump
    std::string row;    // one data row of the dump, with its line end
    std::string saved;  // what apply of the unchanged dump writes; the file when empty
  } cases[] = {
      {FilterFile(), "编号,文本内容     支持版本:97->1.X",
       "\r\n0,\"a,b\"\r\n1,\"say \"\"hi\"\"\"\r\n2,\"two\r\nlines\"\r\n3,中文\r\n4,f4\r\n", ""},
      {slide, "编号,数据类型,数据项序号,文本内容             支持版本 98C->1.X",
       "\r\n4,1,4,\r\n5,1,5,\"s0,4\"\r\n", slideSaved},
      {DialogFile(),
       "编号,文本内容 //Ver 97->1.x Dialog.bmd,子文本数量,触发事件编号1,触发事件编号2,"
       "触发事件编号3,触发事件编号4,触发事件编号5,unknown_c60,子文本内容1,子文本内容2,"
       "子文本内容3,子文本内容4,子文本内容5,子文本内容6,子文本内容7,子文本内容8,"
       "子文本内容9,子文本内容10",
       "\r\n1,main 1,-40,-39,-38,-37,-36,-35,c60,sub0,sub1,sub2,sub3,sub4,sub5,sub6,sub7,"
       "sub8,sub9\r\n",
       ""},
      {TextFile(1500), "编号,\"文本内容 //Ver 99J,99B+ Text.bmd\"",
       "\r\n1,text 0\r\n2,\"第二行,带逗号\"\r\n3,text 2\r\n", ""},
      {TextFile(2048), "编号,文本内容 //Ver 1.x Text.bmd", "\r\n2048,text 2047\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.name);
    const std::string path = dir.File("t.bmd");
    ottest::WriteFile(path, c.file.stored);
    auto dump = RunCli({"dump", path, "-o", dir.File("grid.csv")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    const std::string grid = ottest::ReadFile(dir.File("grid.csv"));
    EXPECT_EQ(grid.substr(0, grid.find("\r\n")), c.title);
    EXPECT_NE(grid.find(c.row), std::string::npos);
    auto r = RunCli({"apply", path, dir.File("grid.csv"), "-o", dir.File("out.bmd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), c.saved.empty() ? c.file.stored : c.saved);
    // Export on these pages writes the table file as Save does.
    auto e = RunCli({"export", path, "-o", dir.File("export.bmd")});
    ASSERT_EQ(e.status, 0) << e.err;
    EXPECT_EQ(ottest::ReadFile(dir.File("export.bmd")), ottest::ReadFile(dir.File("out.bmd")));
  }
}

TEST_F(Cli, ApplyEditsTextTablesByTheTextFieldRule) {
  TableFile text = TextFile(1500);
  const std::string path = dir.File("Text.bmd");
  ottest::WriteFile(path, text.stored);
  std::string grid = RunCli({"dump", path}).out;
  // The title row is ignored: the layout stays the one opened.
  grid.replace(0, grid.find("\r\n"), "x,y");
  const std::string long301(301, 'L');
  grid.replace(grid.find("\r\n1,text 0\r\n"), 12, "\r\n1,ab\r\n");
  grid.replace(grid.find("\r\n4,text 3\r\n"), 12, "\r\n4," + long301 + "\r\n");
  auto r = RunCli({"apply", path, "-", "-o", dir.File("out.bmd")}, grid);
  ASSERT_EQ(r.status, 0) << r.err;
  std::string expected = text.plain;
  expected.replace(0, 3, std::string("ab\0", 3));
  expected.replace(900, 300, std::string(300, 'L'));
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ottest::Scramble(expected, 0, 450000, 300));
}

TEST_F(Cli, DialogNumbersAreSigned32BitAndABadOneWritesNothing) {
  TableFile dialog = DialogFile();
  const std::string path = dir.File("Dialog.bmd");
  ottest::WriteFile(path, dialog.stored);
  const std::string grid = RunCli({"dump", path}).out;
  const std::string row2 = "\r\n2,main 2,-30,";
  std::string edited = grid;
  edited.replace(edited.find(row2), row2.size(), "\r\n2,main 2,-2147483648,");
  auto ok = RunCli({"apply", path, "-", "-o", dir.File("out.bmd")}, edited);
  ASSERT_EQ(ok.status, 0) << ok.err;
  std::string expected = dialog.plain;
  PutLe32(expected, 2048 + 300, INT32_MIN);
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ottest::Scramble(expected, 0, 204800, 1024));

  std::string bad = grid;
  bad.replace(bad.find(row2), row2.size(), "\r\n2,main 2,2147483648,");
  ottest::WriteFile(dir.File("out.bmd"), "previous");
  auto r = RunCli({"apply", path, "-", "-o", dir.File("out.bmd")}, bad);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("'2147483648' is not a valid integer value. (row 3, column 2)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), "previous");
  auto fresh = RunCli({"apply", path, "-", "-o", dir.File("fresh.bmd")}, bad);
  EXPECT_EQ(fresh.status, 1);
  EXPECT_FALSE(ottest::FileExists(dir.File("fresh.bmd")));
}

TEST_F(Cli, CellsThatAreNotCodePage936PassRawOnly) {
  std::string plain = FilterFile().plain;
  PutText(plain, 20 * 5, 20, "bad\x81\x20");
  PutText(plain, 20 * 6, 20, "\xFF\xFE");
  const std::string stored = ottest::Scramble(plain, 0, 20000, 20);
  const std::string path = dir.File("Filter.bmd");
  ottest::WriteFile(path, stored);
  auto utf8 = RunCli({"dump", path, "-o", dir.File("grid.csv")});
  EXPECT_EQ(utf8.status, 1);
  EXPECT_NE(utf8.err.find("row 6, column 1"), std::string::npos) << utf8.err;
  EXPECT_FALSE(ottest::FileExists(dir.File("grid.csv")));
  auto raw = RunCli({"dump", path, "--encoding", "gbk", "-o", dir.File("grid.csv")});
  ASSERT_EQ(raw.status, 0) << raw.err;
  auto r = RunCli({"apply", path, dir.File("grid.csv"), "--encoding", "gbk", "-o",
                   dir.File("out.bmd")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), stored);
}

// The fixed-record tables beside the gate table: each layout as a file of its own.
struct FixedTable {
  const char* name;
  size_t size;
  size_t start;      // first scrambled byte
  size_t length;     // record length
  const char* info;  // the lines of info after "size:"
};
const FixedTable kFixedTables[] = {
    {"Movereq.bmd", 2884, 4, 80, "records: 36\npage: 4\nMovereqEdit: MoveReq.bmd有36项数据\n"},
    {"Skill.bmd", 13316, 0, 52, "records: 256\npage: 5\nSkillEdit: //Ver:99B+ Skill.bmd\n"},
    {"Skill.bmd", 15364, 0, 60, "records: 256\npage: 5\nSkillEdit: //Ver:1.x Skill.bmd\n"},
    {"Item.bmd", 32772, 0, 64, "records: 512\npage: 3\nItemEdit: //Ver:96Y,97,98C Item.bmd\n"},
    {"Item.bmd", 38916, 0, 76, "records: 512\npage: 3\nItemEdit: //Ver:99B+,1.x Item.bmd\n"},
    {"Item.bmd", 688132, 0, 84, "records: 8192\npage: 3\nItemEdit: //Ver:Kor 1.02B Item.bmd\n"},
};

// Pattern bytes; the move-request count is set to the rows that Save will count, so that an
// unchanged apply gives the file back (no serial number of this pattern is 0).
std::string PlainTable(const FixedTable& t) {
  std::string plain = ottest::PatternBytes(t.size, 21);
  if (t.start == 4) PutLe(plain, 0, 4, 36);
  return plain;
}

std::string WriteTable(const ottest::TempDir& dir, const FixedTable& t, const std::string& plain) {
  const std::string path = dir.File(std::to_string(t.size) + "-" + t.name);
  ottest::WriteFile(path, ottest::Scramble(plain, t.start, t.size - t.start, t.length));
  return path;
}

TEST(CliTables, InfoNamesTableLayoutAndEditBoxTexts) {
  const char* layouts[] = {"one layout", "99B+", "1.x", "96Y, 97, 98C", "99B+, 1.x", "Kor 1.02B"};
  ottest::TempDir dir;
  for (size_t i = 0; i < std::size(kFixedTables); ++i) {
    const FixedTable& t = kFixedTables[i];
    const std::string path = WriteTable(dir, t, PlainTable(t));
    auto r = RunCli({"info", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "file: " + path + "\ntable: " + t.name + "\nlayout: " + layouts[i] +
                         "\nsize: " + std::to_string(t.size) + "\n" + t.info);
  }
}

TEST(CliTables, RawDumpAndApplyGiveEveryWritableLayoutBack) {
  ottest::TempDir dir;
  for (const FixedTable& t : kFixedTables) {
    SCOPED_TRACE(std::to_string(t.size));
    const std::string plain = PlainTable(t);
    if (t.start == 4) {
      for (size_t k = 0; k < 36; ++k) ASSERT_NE(ottest::GetLe(plain, 4 + 80 * k, 4), 0u);
    }
    const std::string path = WriteTable(dir, t, plain);
    const std::string grid = dir.File("grid.csv"), out = dir.File("out.bmd");
    auto dump = RunCli({"dump", path, "--encoding", "gbk", "-o", grid});
    ASSERT_EQ(dump.status, 0) << dump.err;
    std::remove(out.c_str());
    auto r = RunCli({"apply", path, grid, "--encoding", "gbk", "-o", out});
    if (t.size == 32772) {
      // The 96Y, 97, 98C layout opens but is never written.
      EXPECT_EQ(r.status, 1);
      EXPECT_NE(r.err.find("不能保存"), std::string::npos) << r.err;
      EXPECT_FALSE(ottest::FileExists(out));
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ottest::ReadFile(out), ottest::ReadFile(path));
  }
}

TEST(CliTables, NameThatIsNotCodePage936SurvivesARawDumpOnly) {
  ottest::TempDir dir;
  const FixedTable& skill = kFixedTables[1];
  std::string plain(skill.size, '\0');
  PutBytes(plain, 2 * 52, std::string("ab\xFF\xFE", 4) + '\0');  // record 2: row 3
  const std::string path = WriteTable(dir, skill, plain);
  auto utf8 = RunCli({"dump", path});
  EXPECT_EQ(utf8.status, 1);
  EXPECT_NE(utf8.err.find("row 3, column 1"), std::string::npos) << utf8.err;
  EXPECT_EQ(utf8.out, "");

  auto raw = RunCli({"dump", path, "--encoding", "gbk"});
  ASSERT_EQ(raw.status, 0) << raw.err;
  // Another name edited in the raw grid reaches the file as its bytes.
  std::string grid = raw.out;
  const std::string row5 = "\r\n4,,";
  grid.replace(grid.find(row5), row5.size(), "\r\n4," + ottest::Gbk("冰封") + ",");
  const std::string out = dir.File("out.bmd");
  auto r = RunCli({"apply", path, "-", "--encoding", "gbk", "-o", out}, grid);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string saved = ottest::Scramble(ottest::ReadFile(out), 0, skill.size, 52);
  std::string expected = plain;
  PutBytes(expected, 4 * 52, ottest::Gbk("冰封") + '\0');
  EXPECT_EQ(saved, expected);
}

TEST(CliTables, Utf8ApplyStoresNamesInCodePage936AndCountsRows) {
  ottest::TempDir dir;
  const FixedTable& movereq = kFixedTables[0];
  const std::string path = WriteTable(dir, movereq, std::string(movereq.size, '\0'));
  auto dump = RunCli({"dump", path});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.out.substr(0, dump.out.find("\r\n")),
            "编号,序号,中文地图名,英文地图名,所需等级,所需费用,Gate编号");
  std::string grid = dump.out;
  const std::string row2 = "\r\n2,0,,,0,0,0\r\n";
  grid.replace(grid.find(row2), row2.size(), "\r\n2,0,勇者大陆,\"Lorencia, east\",-1,300,7\r\n");
  const std::string out = dir.File("out.bmd");
  auto r = RunCli({"apply", path, "-", "-o", out}, grid);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string saved = ottest::Scramble(ottest::ReadFile(out), 4, 2880, 80);
  std::string expected(movereq.size, '\0');
  PutLe(expected, 0, 4, 1);  // one row in use: its Chinese name is not empty
  PutBytes(expected, 84 + 4, ottest::Gbk("勇者大陆") + '\0');
  PutBytes(expected, 84 + 36, std::string("Lorencia, east") + '\0');
  PutLe(expected, 84 + 68, 4, -1);
  PutLe(expected, 84 + 72, 4, 300);
  PutLe(expected, 84 + 76, 4, 7);
  EXPECT_EQ(saved, expected);
}

TEST(CliTables, ExportWritesTheSkillListAndTheItemFile) {
  ottest::TempDir dir;
  const std::string skill =
      WriteTable(dir, kFixedTables[2], std::string(kFixedTables[2].size, '\0'));
  auto r = RunCli({"export", skill, "-o", dir.File("skills.txt")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string list = ottest::ReadFile(dir.File("skills.txt"));
  EXPECT_EQ(
      list.substr(0, list.find("\r\n")),
      ottest::Gbk("编号 魔法名称 需求等级 基本攻击力 消耗魔法值 消耗AG 有效距离 unknown unknown "
                  "unknown unknown 所需魔力  unknown 技能属性 unknown unknown unknown unknown "
                  "unknown 法师 战士 精灵 魔剑士 unknown"));
  EXPECT_NE(
      list.find("\r\n//skill.bmd Ver:1.x\r\n 0  0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\r\n"),
      std::string::npos);
  std::string lastLine = "\r\n 255 ";  // the row number, an empty name, 21 numbers
  for (int c = 2; c <= 22; ++c) lastLine += " 0";
  EXPECT_EQ(list.substr(list.size() - lastLine.size() - 2), lastLine + "\r\n");

  const std::string item = WriteTable(dir, kFixedTables[4], PlainTable(kFixedTables[4]));
  r = RunCli({"export", item, "-o", dir.File("item.bmd")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ottest::ReadFile(dir.File("item.bmd")), ottest::ReadFile(item));
}

TEST(CliTables, BadItemCellIsRefusedWithItsPositionAndNothingWritten) {
  ottest::TempDir dir;
  const FixedTable& kor = kFixedTables[5];
  const std::string path = WriteTable(dir, kor, std::string(kor.size, '\0'));
  auto dump = RunCli({"dump", path});
  ASSERT_EQ(dump.status, 0) << dump.err;
  std::string grid = dump.out;
  // The last data row: row number 511, an empty name, 43 numbers and an empty tail.
  std::string row = "511,";
  for (int c = 2; c <= 44; ++c) row += c == 10 ? ",abc" : ",0";
  row += ",\r\n";
  const size_t last = grid.rfind("\r\n", grid.size() - 3) + 2;
  ASSERT_EQ(grid.substr(last, 8), "511,,0,0");
  grid.replace(last, std::string::npos, row);
  const std::string out = dir.File("out.bmd");
  ottest::WriteFile(out, "previous");
  auto r = RunCli({"apply", path, "-", "-o", out}, grid);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("'abc' is not a valid integer value. (row 8192, column 10)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(ottest::ReadFile(out), "previous");
}

}  // namespace

namespace {

// A message file: header, then entries of serial, type, length, spare byte and keyed text.
std::string WtfBytes(const std::vector<std::tuple<int, int, std::string, int>>& entries) {
  std::string s(28, 'h');
  for (const auto& [serial, type, text, spare] : entries) {
    s += static_cast<char>(serial);
    s += static_cast<char>(type);
    s += static_cast<char>(text.size());
    s += static_cast<char>(spare);
    s += ottest::MessageKeyed(text);
  }
  return s;
}

struct MessageCli : ::testing::Test {
  ottest::TempDir dir;
  std::string wtf;
  void SetUp() override {
    wtf = dir.File("Message.wtf");
    ottest::WriteFile(wtf, WtfBytes({{1, 2, "plain", 7},
                                     {3, 4, ottest::Gbk("你好, \"世界\""), 0},
                                     {5, 6, "", 255}}));
  }
};

TEST_F(MessageCli, InfoAndDumpShowTheEntries) {
  auto info = RunCli({"info", wtf});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out, "file: " + wtf +
                          "\ntable: Message.wtf\nlayout: one layout\nsize: 57\nrecords: 3\n"
                          "page: 8\n");
  auto dump = RunCli({"dump", wtf});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.out,
            "编号,信息序号,信息类型,信息长度,信息内容\r\n"
            "1,1,2,5,plain\r\n"
            "2,3,4,12,\"你好, \"\"世界\"\"\"\r\n"
            "3,5,6,0,\r\n");
}

TEST_F(MessageCli, ApplyAndExportWriteTheEntriesOfTheGrid) {
  const std::string unchanged = WtfBytes({{1, 2, "plain", 0},
                                          {3, 4, ottest::Gbk("你好, \"世界\""), 0},
                                          {5, 6, "", 0}});
  struct Case {
    const char* name;
    std::string grid;
    std::string expected;
  } cases[] = {
      {"unchanged dump", RunCli({"dump", wtf}).out, unchanged},
      {"rows removed and added, lengths and numbers ignored",
       "t,t,t,t,t\n9,300,0x10,0,longer text\n,7,8,99,\n,9,10,,新的\n",
       WtfBytes({{44, 16, "longer text", 0}, {7, 8, "", 0}, {9, 10, ottest::Gbk("新的"), 0}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = RunCli({"apply", wtf, "-", "-o", dir.File("out.wtf")}, c.grid);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ottest::ReadFile(dir.File("out.wtf")), c.expected);
  }
  auto e = RunCli({"export", wtf, "-o", dir.File("export.wtf")});
  ASSERT_EQ(e.status, 0) << e.err;
  EXPECT_EQ(ottest::ReadFile(dir.File("export.wtf")), unchanged);
}

TEST_F(MessageCli, RefusalsExitWithTheReasonAndLeaveTheOutput) {
  ottest::WriteFile(dir.File("short.wtf"), std::string(30, 'h'));
  const std::string out = dir.File("out.wtf");
  struct Case {
    std::vector<std::string> args;
    std::string grid;
    std::string words;
  } cases[] = {
      {{"apply", wtf, "-", "-o", out}, "t,t,t,t,t\n1,1,1,1,ok\n2,abc,1,1,x\n",
       "'abc' is not a valid integer value. (row 2, column 1)"},
      {{"apply", wtf, "-", "-o", out}, "t,t,t,t,t\n1,1,1,1,ok\n2,1,1,1," + std::string(256, 'x') + "\n",
       "第2行的信息内容有256字节"},
      {{"apply", wtf, "-", "-o", out}, "t,t,t,t,t\n", "至少要有一条信息"},
      {{"export", dir.File("short.wtf"), "-o", out}, "", "文件只有30字节"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words);
    ottest::WriteFile(out, "previous");
    auto r = RunCli(c.args, c.grid);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    EXPECT_EQ(ottest::ReadFile(out), "previous");
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"Message.wtf", "out.wtf", "short.wtf"}));
}

}  // namespace
