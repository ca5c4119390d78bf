#include "frame/recognition.h"

#include "frame/editor_state.h"

namespace ot {
namespace {

// The extension is tested first; ".bmd" sizes are compared exactly.
constexpr Recognition kTable[] = {
    {".wtf", -1, kMessagePage, 0},
    {".bmd", 900, kGatePage, 0},
    {".bmd", 2304, kGatePage, 1},
    {".bmd", 2884, kMovereqPage, 0},
    {".bmd", 13316, kSkillPage, 0},
    {".bmd", 15364, kSkillPage, 1},
    {".bmd", 20004, kFilterPage, 0},
    {".bmd", 32772, kItemPage, 0},
    {".bmd", 38916, kItemPage, 1},
    {".bmd", 41008, kSlidePage, 0},
    {".bmd", 204800, kDialogPage, 0},
    {".bmd", 450000, kTextPage, 0},
    {".bmd", 614400, kTextPage, 1},
    {".bmd", 688132, kItemPage, 2},
};

}  // namespace

std::optional<Recognition> Recognise(std::string_view extension, int64_t size) {
  for (const auto& row : kTable)
    if (row.Extension == extension && (row.Size == -1 || row.Size == size)) return row;
  return std::nullopt;
}

bool AnySizeExtension(std::string_view extension) {
  for (const auto& row : kTable)
    if (row.Extension == extension && row.Size == -1) return true;
  return false;
}

std::span<const Recognition> RecognitionTable() { return kTable; }

std::string_view ExtractFileExt(std::string_view path) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return {};
  return path.substr(dot);
}

}  // namespace ot
