// libFuzzer target: see checks.h for the property.
#include <cstddef>
#include <cstdint>

#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  otfuzz::CheckOpenThenSave(data, size);
  return 0;
}
