// ot-table: the editor's Open, Save and Export commands for scripts.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame/commands.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "frame/filesys.h"
#include "frame/gridtext.h"
#include "frame/version.h"

namespace {

using namespace ot;

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "usage: ot-table COMMAND FILE [options]\n"
    "\n"
    "commands:\n"
    "  info   FILE                  show what Open recognises and the texts it sets\n"
    "  dump   FILE [-o OUT]         write the table's grid as CSV or TSV\n"
    "  apply  FILE GRID -o OUT      replace the data cells by GRID and save to OUT\n"
    "  export FILE -o OUT           run the Export command of the table's page into OUT\n"
    "\n"
    "options:\n"
    "  --encoding utf-8|gbk         cell text in UTF-8 (default) or raw code page 936\n"
    "  --format csv|tsv             grid text format (default csv)\n"
    "  -o, --output OUT             output file (dump: standard output when absent)\n"
    "  -h, --help                   show this help (ot-table COMMAND --help for one command)\n"
    "  --version                    show the version\n"
    "  --                           the arguments after it are file names, even with a -\n"
    "\n"
    "exit status: 0 done, 1 the file or the data was refused, 2 wrong command line\n";

const std::map<std::string, std::string> kCommandHelp = {
    {"info",
     "usage: ot-table info FILE\n"
     "Opens FILE as the editor does (by extension and size) and prints the table, its layout,\n"
     "the file size, the number of records and every text that Open puts into the page's\n"
     "edit boxes, one per line, in UTF-8.\n"},
    {"dump",
     "usage: ot-table dump FILE [--encoding utf-8|gbk] [--format csv|tsv] [-o OUT]\n"
     "Prints the page's grid after Open exactly as the window shows it: the title row first,\n"
     "every column, column 0 included. CSV follows RFC 4180 (lines end in CR LF); TSV has no\n"
     "quoting and refuses cells holding a tab or a line break. With --encoding utf-8 a cell\n"
     "that is not valid code page 936 text is refused with its row and column.\n"},
    {"apply",
     "usage: ot-table apply FILE GRID [--encoding utf-8|gbk] [--format csv|tsv] -o OUT\n"
     "Opens FILE, replaces its data cells by GRID (the shape of dump; its title row and\n"
     "column 0 are ignored), then saves the table to OUT in the layout it was read in.\n"
     "A table of fixed records needs one data row per record; the data rows of a message\n"
     "file are its entries, so rows may be added or removed.\n"
     "GRID may be - for standard input. On any error OUT is left as it was.\n"},
    {"export",
     "usage: ot-table export FILE -o OUT\n"
     "Opens FILE, then runs the Export command of its page: a text list for the gate and\n"
     "skill tables, the table file itself (as Save writes it) for the others.\n"},
};

// Answers every dialog from the command line and prints messages on stderr.
class CommandLinePort : public UserPort {
 public:
  std::optional<std::string> OpenPath;
  std::optional<std::string> SavePath;
  std::optional<std::string> ChooseFile(FileDialog dialog) override {
    return dialog == FileDialog::Open ? OpenPath : SavePath;
  }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    std::string flat(text);
    for (char& c : flat)
      if (c == '\n') c = ' ';
    std::cerr << "ot-table: " << caption << ": " << flat << "\n";
  }
};

struct Options {
  std::string command;
  std::vector<std::string> positional;
  std::optional<std::string> out;
  GridEncoding encoding = GridEncoding::Utf8;
  GridFormat format = GridFormat::Csv;
  bool help = false;
};

int Usage(const std::string& problem) {
  std::cerr << "ot-table: " << problem << "\n" << "Try 'ot-table --help'.\n";
  return kUsage;
}

std::string ReadInput(const std::string& path) {
  if (path == "-") {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    return text;
  }
  FileProbe probe = ProbeFile(path);
  if (probe.Size < 0) throw FileError("cannot read " + path + ": " + probe.Reason);
  auto bytes = ReadWholeFile(path, probe.Size);
  return std::string(bytes.begin(), bytes.end());
}

// Opens FILE through the Open command; false (with the Open command's message printed)
// when it is refused.
bool OpenTable(TEditorState& state, const std::string& file) {
  CommandLinePort port;
  port.OpenPath = file;
  return OpenBtnClick(state, port) == OpenOutcome::Opened;
}

void WriteOutput(const std::optional<std::string>& out, const std::string& text) {
  if (out) {
    WriteFileAtomically(*out, text);
    return;
  }
  // A full disk or a closed pipe behind standard output is a failure, not a success.
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  if (std::fflush(stdout) != 0 || !written || std::ferror(stdout))
    throw FileError(std::string("cannot write to standard output: ") + std::strerror(errno));
}

int Info(TEditorState& state, const std::string& file) {
  if (!OpenTable(state, file)) return kRefused;
  const int page = state.ActivePageIndex;
  const TableUnit* unit = state.UnitOfPage(page);
  const StringGrid* grid = state.GridOfPage(page);
  std::string text = "file: " + file + "\n";
  text += "table: " + std::string(unit->FileName()) + "\n";
  const int layout = unit->CurrentLayout(state);
  text += "layout: " +
          (layout >= 0 ? std::string(unit->Layouts()[static_cast<size_t>(layout)].Name)
                       : std::string("none")) +
          "\n";
  text += "size: " + std::to_string(ProbeFile(file).Size) + "\n";
  text += "records: " + std::to_string(grid->RowCount() - 1) + "\n";
  text += "page: " + std::to_string(page) + "\n";
  for (std::string_view name : unit->OpenEditBoxes())
    text += std::string(name) + ": " + Cp936ToUtf8Lossy(*state.EditBox(name)) + "\n";
  WriteOutput(std::nullopt, text);
  return kDone;
}

int Dump(TEditorState& state, const Options& o) {
  if (!OpenTable(state, o.positional[0])) return kRefused;
  const StringGrid* grid = state.GridOfPage(state.ActivePageIndex);
  WriteOutput(o.out, WriteGridText(*grid, o.format, o.encoding));
  return kDone;
}

int Apply(TEditorState& state, const Options& o) {
  if (!OpenTable(state, o.positional[0])) return kRefused;
  const GridRows rows = ReadGridText(ReadInput(o.positional[1]), o.format, o.encoding);
  ApplyGridRows(state, state.ActivePageIndex, rows);
  CommandLinePort port;
  port.SavePath = o.out;
  return SaveBtnClick(state, port) == SaveOutcome::Saved ? kDone : kRefused;
}

int Export(TEditorState& state, const Options& o) {
  if (!OpenTable(state, o.positional[0])) return kRefused;
  CommandLinePort port;
  port.SavePath = o.out;
  return ExportBtnClick(state, port) == SaveOutcome::Saved ? kDone : kRefused;
}

int Run(const Options& o) {
  TEditorState state;
  try {
    if (o.command == "info") return Info(state, o.positional[0]);
    if (o.command == "dump") return Dump(state, o);
    if (o.command == "apply") return Apply(state, o);
    if (o.command == "export") return Export(state, o);
  } catch (const ConversionError& e) {
    std::cerr << "ot-table: " << e.what() << ".";
    if (e.Row >= 0) std::cerr << " (row " << e.Row << ", column " << e.Col << ")";
    std::cerr << "\n";
    return kRefused;
  } catch (const OtError& e) {
    std::cerr << "ot-table: " << e.what() << "\n";
    return kRefused;
  }
  return Usage("unknown command '" + o.command + "'");
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command given");
  bool optionsEnded = false;  // after "--" every argument is a command or a file name
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
      if (o.command.empty())
        o.command = a;
      else
        o.positional.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "-h" || a == "--help") {
      o.help = true;
    } else if (a == "--version") {
      std::cout << "ot-table (" << kApplicationTitle << ") " << kVersion << "\n";
      return kDone;
    } else if (a == "-o" || a == "--output") {
      auto v = value();
      if (!v) return Usage("option " + a + " needs a file name");
      o.out = *v;
    } else if (a == "--encoding") {
      auto v = value();
      if (v == std::optional<std::string>("utf-8") || v == std::optional<std::string>("utf8"))
        o.encoding = GridEncoding::Utf8;
      else if (v == std::optional<std::string>("gbk") || v == std::optional<std::string>("cp936"))
        o.encoding = GridEncoding::Gbk;
      else
        return Usage("--encoding takes utf-8 or gbk");
    } else if (a == "--format") {
      auto v = value();
      if (v == std::optional<std::string>("csv"))
        o.format = GridFormat::Csv;
      else if (v == std::optional<std::string>("tsv"))
        o.format = GridFormat::Tsv;
      else
        return Usage("--format takes csv or tsv");
    } else {
      return Usage("unknown option '" + a + "'");
    }
  }
  if (o.help) {
    auto it = kCommandHelp.find(o.command);
    if (it == kCommandHelp.end() && !o.command.empty())
      return Usage("unknown command '" + o.command + "'");
    std::cout << (it != kCommandHelp.end() ? it->second : std::string(kUsageText));
    return kDone;
  }
  if (o.command.empty()) return Usage("no command given");
  auto need = [&](size_t files, bool out) -> int {
    if (o.positional.size() != files)
      return Usage(o.command + " takes " + std::to_string(files) +
                   (files == 1 ? " file" : " files"));
    if (out && !o.out) return Usage(o.command + " needs -o OUT");
    return kDone;
  };
  int check = kDone;
  if (o.command == "info") {
    check = need(1, false);
    if (o.out) return Usage("info writes to standard output; it takes no -o");
  } else if (o.command == "dump") {
    check = need(1, false);
  } else if (o.command == "apply") {
    check = need(2, true);
  } else if (o.command == "export") {
    check = need(1, true);
  } else {
    return Usage("unknown command '" + o.command + "'");
  }
  if (check != kDone) return check;
  return Run(o);
}
