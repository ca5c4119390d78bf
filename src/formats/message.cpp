#include "formats/message.h"

#include <algorithm>

#include "frame/cells.h"
#include "frame/cp936.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "frame/fields.h"

namespace ot {
namespace {

constexpr std::string_view kTitles[5] = {"编号", "信息序号", "信息类型", "信息长度", "信息内容"};

void ApplyMessageKey(uint8_t* text, size_t n) {
  for (size_t i = 0; i < n; ++i) text[i] ^= MessageFile::kMessageKey;
}

}  // namespace

int MessageFile::Page() const { return kMessagePage; }

const std::vector<Layout>& MessageFile::Layouts() const {
  static const std::vector<Layout> kLayouts = {{"one layout", 0, 0}};
  return kLayouts;
}

void MessageFile::FormCreate(TEditorState& state) {
  for (int c = 0; c < 5; ++c) state.WtfStrGrid.Cells(c, 0) = Cp936(kTitles[c]);
}

void MessageFile::Open(TEditorState& state, std::span<uint8_t> image, int) {
  const size_t size = image.size();
  if (size < kHeaderSize + kHeadSize)
    throw OpenRefused("不是有效的Wtf信息文件: 文件只有" + std::to_string(size) +
                      "字节, 不够28字节的文件头加一条信息的4字节条目头.");
  // Every entry is checked against the end of the image before anything is kept, so a
  // refused file leaves the grid and the record image as they were.
  std::vector<size_t> offsets;
  size_t start = kHeaderSize;
  for (;;) {
    if (size - start < kHeadSize || size - start - kHeadSize < image[start + 2])
      throw OpenRefused("不是有效的Wtf信息文件: 第" + std::to_string(offsets.size() + 1) +
                        "条信息(从第" + std::to_string(start) +
                        "字节起)超出了文件末尾, 文件不完整或已损坏.");
    offsets.push_back(start);
    const size_t end = start + kHeadSize + image[start + 2];
    // Another entry follows only when at least two bytes remain; a single byte after the
    // last entry belongs to no entry.
    if (size - end < 2) break;
    start = end;
  }
  const size_t listEnd = offsets.back() + kHeadSize + image[offsets.back() + 2];

  std::copy_n(image.begin(), kHeaderSize, header_.begin());
  trailer_.assign(image.begin() + static_cast<std::ptrdiff_t>(listEnd), image.end());
  entries_.assign(image.begin() + kHeaderSize, image.begin() + static_cast<std::ptrdiff_t>(listEnd));
  entryOffsets_.clear();
  for (size_t offset : offsets) {
    uint8_t* entry = entries_.data() + (offset - kHeaderSize);
    ApplyMessageKey(entry + kHeadSize, entry[2]);
    entryOffsets_.push_back(offset - kHeaderSize);
  }
  opened_ = true;

  StringGrid& grid = state.WtfStrGrid;
  grid.SetRowCount(1);
  grid.SetRowCount(static_cast<int>(entryOffsets_.size()) + 1);
  for (size_t i = 0; i < entryOffsets_.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    const uint8_t* entry = entries_.data() + entryOffsets_[i];
    AssignDecimal(grid.Cells(0, row), row);
    for (int c = 1; c <= 3; ++c) AssignDecimal(grid.Cells(c, row), entry[c - 1]);
    // A text byte equal to the key descrambles to zero and ends the text shown.
    grid.Cells(4, row) = std::string(ReadTextField(entry + kHeadSize, entry[2]));
  }
  state.ActivePageIndex = kMessagePage;
}

int MessageFile::CurrentLayout(const TEditorState&) const { return opened_ ? 0 : -1; }

std::optional<std::string> MessageFile::Save(TEditorState& state) {
  notSaved_.clear();
  const StringGrid& grid = state.WtfStrGrid;
  std::string out(header_.begin(), header_.end());
  for (int r = 1; r < grid.RowCount(); ++r) {
    const int32_t serial = CellInt(grid, 1, r);
    const int32_t type = CellInt(grid, 2, r);
    const std::string& text = CellText(grid, 4, r);
    if (text.size() > kMaxText) {
      notSaved_ = "第" + std::to_string(r) + "行的信息内容有" + std::to_string(text.size()) +
                  "字节, 超过了一条信息最多能存放的255字节, 文件未保存.";
      return std::nullopt;
    }
    uint8_t head[kHeadSize] = {0, 0, static_cast<uint8_t>(text.size()), 0};
    PutLow(head, 1, serial);
    PutLow(head + 1, 1, type);
    out.append(reinterpret_cast<const char*>(head), kHeadSize);
    const size_t at = out.size();
    out += text;
    ApplyMessageKey(reinterpret_cast<uint8_t*>(out.data() + at), text.size());
  }
  // Checked after the cells, so that the untouched start grid stops at its first empty
  // number cell with the conversion error, as on the other pages.
  if (!opened_) return std::nullopt;  // no header to write: the frame's "not opened" message
  if (grid.RowCount() < 2) {
    notSaved_ = "信息文件至少要有一条信息, 文件未保存.";
    return std::nullopt;
  }
  out.append(trailer_.begin(), trailer_.end());
  return out;
}

std::string MessageFile::NotSavedMessage(const TEditorState& state) const {
  return notSaved_.empty() ? TableUnit::NotSavedMessage(state) : notSaved_;
}

std::optional<std::span<const uint8_t>> MessageFile::RecordBytes(const TEditorState&,
                                                                 int row) const {
  if (row < 1 || static_cast<size_t>(row) > entryOffsets_.size()) return std::nullopt;
  const uint8_t* entry = entries_.data() + entryOffsets_[static_cast<size_t>(row) - 1];
  return std::span<const uint8_t>(entry, kHeadSize + entry[2]);
}

std::vector<int> MessageFile::NumberColumns(const TEditorState&) const { return {1, 2}; }

}  // namespace ot
