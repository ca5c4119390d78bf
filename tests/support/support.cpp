#include "support/support.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "frame/cp936.h"

extern char** environ;

namespace ottest {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "ot-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore permissions that a test took away, so that everything can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink()) chmod(it->path().c_str(), 0700);
  }
  chmod(path_.c_str(), 0700);
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path_))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot write " + path);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool FileExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string Scramble(std::string bytes, size_t start, size_t count, size_t recordLength) {
  static const unsigned char key[3] = {0x3A, 0x95, 0x6E};
  for (size_t i = 0; i < count; ++i)
    bytes[start + i] = static_cast<char>(static_cast<unsigned char>(bytes[start + i]) ^
                                         key[(i % recordLength) % 3]);
  return bytes;
}

std::string MessageKeyed(std::string text) {
  for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) ^ 0x5E);
  return text;
}

std::string Gbk(std::string_view utf8) { return ot::Cp936(utf8); }

std::string PatternBytes(size_t size, uint32_t seed) {
  std::string s(size, '\0');
  uint32_t x = seed * 2654435761u + 12345u;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    s[i] = static_cast<char>(x & 0xFF);
  }
  return s;
}

std::optional<std::string> ScriptedPort::ChooseFile(ot::FileDialog dialog) {
  dialogs.push_back(dialog);
  if (answers.empty()) return std::nullopt;
  auto a = answers.front();
  answers.pop_front();
  return a;
}

void ScriptedPort::ShowMessage(std::string_view text, std::string_view caption) {
  messages.push_back({std::string(text), std::string(caption)});
}

const char* OtTablePath() { return OT_TABLE_PATH; }

CliResult RunCli(const std::vector<std::string>& args, std::string_view stdinText) {
  TempDir io;
  const std::string in = io.File("stdin"), out = io.File("stdout"), err = io.File("stderr");
  WriteFile(in, stdinText);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> all = {OT_TABLE_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  CliResult r;
  if (posix_spawn(&pid, OT_TABLE_PATH, &fa, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start ot-table");
  posix_spawn_file_actions_destroy(&fa);
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

}  // namespace ottest
