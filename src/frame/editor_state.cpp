#include "frame/editor_state.h"

#include <utility>

namespace ot {

TEditorState::TEditorState() : units_(CreateTableUnits()) {
  for (auto& unit : units_)
    if (unit) unit->FormCreate(*this);
  ActivePageIndex = kAboutPage;
}

TEditorState::~TEditorState() = default;

TableUnit* TEditorState::UnitOfPage(int page) {
  return page >= 0 && page < kPageCount ? units_[static_cast<size_t>(page)].get() : nullptr;
}

const TableUnit* TEditorState::UnitOfPage(int page) const {
  return page >= 0 && page < kPageCount ? units_[static_cast<size_t>(page)].get() : nullptr;
}

StringGrid* TEditorState::GridOfPage(int page) {
  return const_cast<StringGrid*>(std::as_const(*this).GridOfPage(page));
}

const StringGrid* TEditorState::GridOfPage(int page) const {
  switch (page) {
    case kDialogPage: return &DialogStrGrid;
    case kFilterPage: return &FilterStrGrid;
    case kGatePage: return &GateStrGrid;
    case kItemPage: return &ItemStrGrid;
    case kMovereqPage: return &MovereqStrGrid;
    case kSkillPage: return &SkillStrGrid;
    case kSlidePage: return &SlideStrGrid;
    case kTextPage: return &TextStrGrid;
    case kMessagePage: return &WtfStrGrid;
    default: return nullptr;
  }
}

std::string* TEditorState::EditBox(std::string_view name) {
  return const_cast<std::string*>(std::as_const(*this).EditBox(name));
}

const std::string* TEditorState::EditBox(std::string_view name) const {
  struct Entry {
    std::string_view name;
    std::string TEditorState::*box;
  };
  static const Entry kBoxes[] = {
      {"DialogEdit", &TEditorState::DialogEdit},
      {"FilterCrcOldEdit", &TEditorState::FilterCrcOldEdit},
      {"FilterCrcNewEdit", &TEditorState::FilterCrcNewEdit},
      {"GateEdit", &TEditorState::GateEdit},
      {"ItemEdit", &TEditorState::ItemEdit},
      {"MovereqEdit", &TEditorState::MovereqEdit},
      {"SkillEdit", &TEditorState::SkillEdit},
      {"SlideEdit", &TEditorState::SlideEdit},
      {"TextEdit", &TEditorState::TextEdit},
      {"WtfSnEdit", &TEditorState::WtfSnEdit},
      {"WtfSearchEdit", &TEditorState::WtfSearchEdit},
  };
  for (const auto& e : kBoxes)
    if (e.name == name) return &(this->*e.box);
  return nullptr;
}

}  // namespace ot
