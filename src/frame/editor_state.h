// The editor state: the window without widgets. Every grid and edit box the window shows,
// the enabled state of the "修正" buttons, the active page, the status bar and the table
// units with their record images. Cells and edit boxes hold code page 936 bytes; the status
// bar and the data directory hold UTF-8 (file system paths).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/grid.h"
#include "frame/table_unit.h"

namespace ot {

inline constexpr int kDialogPage = 0;
inline constexpr int kFilterPage = 1;
inline constexpr int kGatePage = 2;
inline constexpr int kItemPage = 3;
inline constexpr int kMovereqPage = 4;
inline constexpr int kSkillPage = 5;
inline constexpr int kSlidePage = 6;
inline constexpr int kTextPage = 7;
inline constexpr int kMessagePage = 8;
inline constexpr int kAboutPage = 9;
inline constexpr int kPageCount = 10;

struct Button {
  bool Enabled = false;
};

// A cell remembered by cell editing; valid from the first accepted press on.
struct RememberedCell {
  bool Valid = false;
  int32_t Col = -1;
  int32_t Row = -1;
};

class TEditorState {
 public:
  // Creates the state as the window's creation leaves it: every grid with its start size
  // and titles, the start notes, the eight "修正" buttons disabled, the About page active.
  TEditorState();
  ~TEditorState();
  TEditorState(const TEditorState&) = delete;
  TEditorState& operator=(const TEditorState&) = delete;

  StringGrid DialogStrGrid{19, 201};
  StringGrid FilterStrGrid{2, 50};
  StringGrid GateStrGrid{10, 50};
  StringGrid ItemStrGrid{46, 50};
  StringGrid MovereqStrGrid{7, 50};
  StringGrid SkillStrGrid{23, 50};
  StringGrid SlideStrGrid{4, 50};
  StringGrid TextStrGrid{2, 50};
  StringGrid WtfStrGrid{5, 20};

  std::string DialogEdit, FilterCrcOldEdit, FilterCrcNewEdit, GateEdit, ItemEdit, MovereqEdit,
      SkillEdit, SlideEdit, TextEdit, WtfSnEdit, WtfSearchEdit;

  Button DialogModBtn, FilterModBtn, GateModBtn, ItemModBtn, MovereqModBtn, SkillModBtn,
      SlideModBtn, TextModBtn;

  int ActivePageIndex = kAboutPage;
  std::array<std::string, 2> StatusPanels;  // panel 1 holds the path of the last Open
  std::vector<std::string> MemoTxt{"Memo", "Txt"};  // the line buffer of Export
  RememberedCell TextCell, SlideCell;
  std::string DataDir;

  // The table unit of a page, or nullptr (the About page, an unknown index).
  TableUnit* UnitOfPage(int page);
  const TableUnit* UnitOfPage(int page) const;
  // The grid of a page, or nullptr.
  StringGrid* GridOfPage(int page);
  const StringGrid* GridOfPage(int page) const;
  // An edit box by its control name ("GateEdit"), or nullptr.
  std::string* EditBox(std::string_view name);
  const std::string* EditBox(std::string_view name) const;

 private:
  std::array<std::unique_ptr<TableUnit>, kPageCount> units_;
};

// Every table unit, indexed by its page (the About page has none). Defined in registry.cpp,
// the one list that names the formats.
std::array<std::unique_ptr<TableUnit>, kPageCount> CreateTableUnits();

}  // namespace ot
