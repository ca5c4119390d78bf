// ot-table as scripts use it: exit statuses, outputs and what is left on disk.
#include <gtest/gtest.h>

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
