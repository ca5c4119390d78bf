// Shared helpers of the tests: temporary folders, files, a scripted user port, an independent
// scrambler for building table files, and a runner for the ot-table binary.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/user_port.h"

namespace ottest {

// A fresh folder, removed with its content at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// The record scrambling written out from its definition, independent of the code under test:
// byte i of the range takes key byte ((i mod L) mod 3).
std::string Scramble(std::string bytes, size_t start, size_t count, size_t recordLength);

// The text coding of the message file written out from its definition: every byte XOR 5E.
std::string MessageKeyed(std::string text);

// UTF-8 text as code page 936 bytes (through iconv, for building expected cells).
std::string Gbk(std::string_view utf8);

// Deterministic bytes for a file image.
std::string PatternBytes(size_t size, uint32_t seed);

struct Message {
  std::string text;
  std::string caption;
};

// Answers dialogs from queues and records messages.
class ScriptedPort : public ot::UserPort {
 public:
  std::deque<std::optional<std::string>> answers;  // one per dialog shown, in order
  std::vector<ot::FileDialog> dialogs;             // the dialogs shown
  std::vector<Message> messages;
  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
};

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};
// The ot-table binary under test.
const char* OtTablePath();
// Runs ot-table with the arguments (no shell), standard input from stdinText.
CliResult RunCli(const std::vector<std::string>& args, std::string_view stdinText = {});

}  // namespace ottest
