// The one list of table formats: each unit under the page that shows it.
#include "formats/dialog.h"
#include "formats/filter.h"
#include "formats/gate.h"
#include "formats/item.h"
#include "formats/message.h"
#include "formats/movereq.h"
#include "formats/skill.h"
#include "formats/slide.h"
#include "formats/text.h"
#include "frame/editor_state.h"

namespace ot {

std::array<std::unique_ptr<TableUnit>, kPageCount> CreateTableUnits() {
  std::array<std::unique_ptr<TableUnit>, kPageCount> units;
  units[kDialogPage] = std::make_unique<DialogTable>();
  units[kFilterPage] = std::make_unique<FilterTable>();
  units[kGatePage] = std::make_unique<GateTable>();
  units[kItemPage] = std::make_unique<ItemTable>();
  units[kMovereqPage] = std::make_unique<MovereqTable>();
  units[kSkillPage] = std::make_unique<SkillTable>();
  units[kSlidePage] = std::make_unique<SlideTable>();
  units[kTextPage] = std::make_unique<TextTable>();
  units[kMessagePage] = std::make_unique<MessageFile>();
  return units;
}

}  // namespace ot
