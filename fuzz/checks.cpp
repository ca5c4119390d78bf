#include "checks.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "frame/gridtext.h"
#include "frame/intconv.h"
#include "frame/recognition.h"
#include "frame/scramble.h"

namespace otfuzz {
namespace {

[[noreturn]] void Violated(const char* what) {
  std::fprintf(stderr, "property violated: %s\n", what);
  std::abort();
}

struct FileCase {
  std::string extension;
  int64_t size;  // -1: the input's own length
};

std::vector<FileCase> FileCases() {
  std::vector<FileCase> cases;
  for (const auto& row : ot::RecognitionTable())
    cases.push_back({std::string(row.Extension), row.Size});
  // Sizes and names the recognition table refuses.
  cases.push_back({".bmd", 0});
  cases.push_back({".bmd", 1});
  cases.push_back({".bmd", 901});
  cases.push_back({".bmd", 688131});
  cases.push_back({".BMD", 900});
  cases.push_back({".WTF", -1});
  cases.push_back({".txt", -1});
  cases.push_back({"", -1});
  return cases;
}

const std::string& WorkDir() {
  static const std::string dir = [] {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ot-fuzz-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) Violated("cannot make a temporary folder");
    return tmpl;
  }();
  return dir;
}

void Write(const std::string& path, std::string_view bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) Violated("cannot write a temporary file");
}

class FilePort : public ot::UserPort {
 public:
  explicit FilePort(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override {
    if (dialog == ot::FileDialog::Open) return path_;
    return std::nullopt;
  }
  void ShowMessage(std::string_view, std::string_view) override {}

 private:
  std::string path_;
};

// Opens the file and returns what the open page's save step writes, or nullopt when the file
// was refused or its layout is not written.
std::optional<std::string> OpenAndSave(const std::string& path, bool* opened) {
  ot::TEditorState state;
  FilePort port(path);
  *opened = ot::OpenBtnClick(state, port) == ot::OpenOutcome::Opened;
  if (!*opened) return std::nullopt;
  ot::TableUnit* unit = state.UnitOfPage(state.ActivePageIndex);
  if (!unit) Violated("an opened table has no unit");
  try {
    return unit->Save(state);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    Violated("a table just opened does not save");
  }
}

}  // namespace

void CheckOpenThenSave(const uint8_t* data, size_t size) {
  static const std::vector<FileCase> cases = FileCases();
  if (size == 0) return;
  const FileCase& c = cases[data[0] % cases.size()];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string content;
  if (c.size < 0) {
    content.assign(rest);
  } else {
    content.assign(static_cast<size_t>(c.size), '\0');
    for (size_t i = 0; !rest.empty() && i < content.size(); ++i) content[i] = rest[i % rest.size()];
  }
  const std::string first = WorkDir() + "/first" + c.extension;
  Write(first, content);
  bool opened = false;
  auto saved = OpenAndSave(first, &opened);
  if (!saved) return;
  if (c.size > 0 && saved->size() != static_cast<size_t>(c.size))
    Violated("a fixed layout saved in another size");
  const std::string second = WorkDir() + "/second" + c.extension;
  Write(second, *saved);
  auto again = OpenAndSave(second, &opened);
  if (!opened) Violated("a saved table does not open again");
  if (!again || *again != *saved) Violated("saving is not stable");
}

void CheckGridText(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (auto format : {ot::GridFormat::Csv, ot::GridFormat::Tsv})
    for (auto encoding : {ot::GridEncoding::Utf8, ot::GridEncoding::Gbk}) {
      ot::GridRows rows;
      try {
        rows = ot::ReadGridText(text, format, encoding);
      } catch (const ot::DataError&) {
        continue;
      }
      std::string written;
      try {
        written = ot::WriteRowsText(rows, format, encoding);
      } catch (const ot::DataError&) {
        Violated("cells that were read cannot be written");
      }
      ot::GridRows again;
      try {
        again = ot::ReadGridText(written, format, encoding);
      } catch (const ot::DataError&) {
        Violated("written grid text cannot be read");
      }
      if (again != rows) Violated("grid text does not round-trip");
      ot::TEditorState state;
      state.ActivePageIndex = ot::kGatePage;
      try {
        ot::ApplyGridRows(state, ot::kGatePage, rows);
        (void)state.UnitOfPage(ot::kGatePage)->Save(state);
      } catch (const ot::OtError&) {
      }
    }
}

namespace {

// The conversion written from its rules with other means: accept or reject, and the value.
std::optional<int32_t> Reference(std::string_view s) {
  size_t i = s.find_first_not_of(' ');
  if (i == std::string_view::npos) return std::nullopt;
  s.remove_prefix(i);
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s[0] == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  const std::string_view digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (s.find_first_not_of(digits) != std::string_view::npos) return std::nullopt;
  const size_t nz = s.find_first_not_of('0');
  const std::string significant(nz == std::string_view::npos ? "0" : s.substr(nz));
  if (significant.size() > (base == 16 ? 8u : 10u)) return std::nullopt;
  const unsigned long long v = std::stoull(significant, nullptr, base);
  if (base == 16) {
    const uint32_t u = static_cast<uint32_t>(v);
    return static_cast<int32_t>(negative ? 0u - u : u);
  }
  const long long signedValue = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(signedValue);
}

}  // namespace

void CheckIntegerConversion(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> expected = Reference(text);
  std::optional<int32_t> got;
  try {
    got = ot::StrToInt(text);
  } catch (const ot::ConversionError& e) {
    if (e.CellText != text) Violated("the conversion error does not carry the cell text");
  }
  if (got != expected) Violated("the integer conversion disagrees with the reference");
}

std::vector<std::string> Seeds(const std::string& target) {
  std::vector<std::string> seeds;
  if (target == "open") {
    const auto cases = FileCases();
    for (size_t i = 0; i < cases.size(); ++i) {
      std::string plain = "0123456789ABCDEFGHIJ";
      std::string seed(1, static_cast<char>(i));
      ot::ScrambleRecords(reinterpret_cast<uint8_t*>(plain.data()),
                          reinterpret_cast<const uint8_t*>(plain.data()),
                          static_cast<int32_t>(plain.size()), 9);
      seeds.push_back(seed + plain);
      seeds.push_back(seed);
      // A small message file: a 28-byte header, then entries of a head and a text.
      std::string message(28, 'H');
      for (int e = 0; e < 3; ++e) {
        message += std::string{static_cast<char>(e), 1, 3, 0};
        message += std::string("abc");
      }
      seeds.push_back(seed + message);
    }
  } else if (target == "gridtext") {
    seeds = {"a,b\r\nc,d\r\n", "\"x,y\",\"q\"\"\"\n1,2\n", "a\tb\n\"c\"\td\n",
             "\xEF\xBB\xBF编号,标记\n0,1\n", " 7 , 8\n", "", "\n\n", "a,\"b\n"};
  } else if (target == "intconv") {
    seeds = {"0", " 7", "-2147483648", "2147483647", "$FF", "0xff", "-$10", "7 ", "", "abc",
             "2147483648", "$100000000", "+", "0x"};
  }
  return seeds;
}

}  // namespace otfuzz
