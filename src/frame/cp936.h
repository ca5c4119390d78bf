// Conversion between UTF-8 and code page 936, the code page of every text in the tables.
// Cells hold code page 936 bytes; only the edges (window, command-line tool) convert.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ot {

// Whether every byte is ASCII (below 0x80): such text is the same in UTF-8 and code page 936.
bool IsAscii(std::string_view text);

// Converts UTF-8 to code page 936; nullopt when the text holds a character code page 936 lacks
// or is not valid UTF-8.
std::optional<std::string> TryUtf8ToCp936(std::string_view utf8);
// Converts code page 936 to UTF-8; nullopt when the bytes are not valid code page 936.
std::optional<std::string> TryCp936ToUtf8(std::string_view cp936);
// Converts code page 936 to UTF-8, replacing every byte that does not decode by U+FFFD.
std::string Cp936ToUtf8Lossy(std::string_view cp936);

// The program's own texts, written in UTF-8 in the sources, as code page 936 bytes.
// Throws std::logic_error for a text that cannot be converted (a fault in the sources).
std::string Cp936(std::string_view utf8);

}  // namespace ot
