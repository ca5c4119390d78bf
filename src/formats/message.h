// Message.wtf: the client's numbered, typed messages. A 28-byte header kept as it is, then
// entries one after the other until the end of the file, each a four-byte head (serial
// number, type, text length, spare byte) and its text, every text byte XOR the message key.
// Recognised by its extension alone; the file is as long as its entries, so it grows and
// shrinks with the texts when it is written.
#pragma once

#include <array>
#include <vector>

#include "frame/table_unit.h"

namespace ot {

class MessageFile : public TableUnit {
 public:
  static constexpr uint8_t kMessageKey = 0x5E;
  static constexpr size_t kHeaderSize = 28;
  static constexpr size_t kHeadSize = 4;
  static constexpr size_t kMaxText = 255;  // the length is one byte

  int Page() const override;
  std::string_view FileName() const override { return "Message.wtf"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  // Throws OpenRefused for a file too short for the header and one entry head, or whose
  // last entry runs past the end; the state is then unchanged.
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  // Nothing (with NotSavedMessage saying why) for a text longer than 255 bytes, a grid
  // without entries, or before any message file was opened.
  std::optional<std::string> Save(TEditorState& state) override;
  std::string NotSavedMessage(const TEditorState& state) const override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {}; }
  bool VariableRows() const override { return true; }
  // The head and the plain text of the entry shown in a row, as the last Open read it.
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  bool opened_ = false;
  std::array<uint8_t, kHeaderSize> header_{};
  // The byte after the last entry, when the file read had one (the end-of-list rule
  // ignores a single byte there); written back after the last entry.
  std::vector<uint8_t> trailer_;
  std::vector<uint8_t> entries_;        // the entries of the last Open, texts plain
  std::vector<size_t> entryOffsets_;    // start of each entry in entries_
  std::string notSaved_;                // why the last Save wrote nothing (UTF-8)
};

}  // namespace ot
