// The integer conversion of number cells: the text of a cell to a signed 32-bit integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ot {

// Accepts optional leading blanks, an optional sign, then decimal digits, or hexadecimal
// digits after "$" or "0x" (hexadecimal values up to 32 bits, taken as two's complement).
// Rejects an empty text, trailing blanks, any other character and a decimal value outside
// the signed 32-bit range, with a ConversionError whose message is
// "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);
// The same conversion without the exception: nullopt where StrToInt throws.
std::optional<int32_t> TryStrToInt(std::string_view text);

// The message of the conversion error for a cell text (code page 936 bytes), in UTF-8.
std::string ConversionMessage(std::string_view cellText);

}  // namespace ot
