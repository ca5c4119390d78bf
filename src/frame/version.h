// The product's name and version, as the window caption shows them.
#pragma once

#include <string_view>

namespace ot {

inline constexpr std::string_view kApplicationTitle = "Orvel Tarn Client Tools";
inline constexpr std::string_view kVersion = "V0.66.01.18";
inline constexpr std::string_view kWindowCaption = "Orvel Tarn Client Tools  V0.66.01.18";

}  // namespace ot
