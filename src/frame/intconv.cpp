#include "frame/intconv.h"

#include "frame/cp936.h"
#include "frame/errors.h"

namespace ot {

std::string ConversionMessage(std::string_view cellText) {
  return "'" + Cp936ToUtf8Lossy(cellText) + "' is not a valid integer value";
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < n && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return std::nullopt;
  uint64_t value = 0;
  if (hex) {
    for (; i < n; ++i) {
      int d = HexDigit(text[i]);
      if (d < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(d);
      if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    uint32_t v = static_cast<uint32_t>(value);
    if (negative) v = 0u - v;
    return static_cast<int32_t>(v);
  }
  const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  for (; i < n; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;
  }
  if (negative) return static_cast<int32_t>(0u - static_cast<uint32_t>(value));
  return static_cast<int32_t>(value);
}

int32_t StrToInt(std::string_view text) {
  const std::optional<int32_t> value = TryStrToInt(text);
  if (!value) throw ConversionError(ConversionMessage(text), std::string(text));
  return *value;
}

}  // namespace ot
