// ot-table as scripts use it: exit statuses, outputs and what is left on disk.
#include <gtest/gtest.h>

#include <tuple>

#include "support/support.h"

namespace {

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
  EXPECT_NE(v.out.find("V0.66.01.18"), std::string::npos);
  auto h = RunCli({"--help"});
  EXPECT_EQ(h.status, 0);
  for (const char* cmd : {"info", "dump", "apply", "export"})
    EXPECT_NE(h.out.find(cmd), std::string::npos) << cmd;
  auto one = RunCli({"apply", "--help"});
  EXPECT_NE(one.out.find("usage: ot-table apply"), std::string::npos);
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
