// Item.bmd: the item table in three layouts told apart by size: 96Y/97/98C (512 records of
// 64 bytes; opened, never written), 99B+/1.x (512 of 76) and Kor 1.02B (8192 of 84), each
// file ending in a check value that is carried through unchanged. The layout in force is
// named by the version marker in cell (0,0).
#pragma once

#include <vector>

#include "frame/table_unit.h"

namespace ot {

class ItemTable : public TableUnit {
 public:
  enum LayoutIndex { k97 = 0, k1x = 1, kKor102B = 2 };

  int Page() const override;
  std::string_view FileName() const override { return "Item.bmd"; }
  const std::vector<Layout>& Layouts() const override;
  void FormCreate(TEditorState& state) override;
  void Open(TEditorState& state, std::span<uint8_t> image, int layout) override;
  std::optional<std::string> Save(TEditorState& state) override;
  std::string NotSavedMessage(const TEditorState& state) const override;
  int CurrentLayout(const TEditorState& state) const override;
  std::vector<std::string_view> OpenEditBoxes() const override { return {"ItemEdit"}; }
  std::optional<std::span<const uint8_t>> RecordBytes(const TEditorState& state,
                                                      int row) const override;
  std::vector<int> NumberColumns(const TEditorState& state) const override;

 private:
  std::vector<uint8_t> images_[3] = {std::vector<uint8_t>(32772), std::vector<uint8_t>(38916),
                                     std::vector<uint8_t>(688132)};
};

}  // namespace ot
