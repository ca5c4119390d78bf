// Record scrambling of the .bmd tables: a 3-byte XOR key whose position restarts at the
// first byte of every record. The same call scrambles and descrambles.
#pragma once

#include <cstdint>

namespace ot {

inline constexpr uint8_t kScrambleKey[3] = {0x3A, 0x95, 0x6E};

// destination[i] = source[i] XOR key[(i mod recordLength) mod 3] for i in [0, count).
// Destination and source may be the same buffer. A count of 0 or less changes nothing.
// recordLength must be at least 1.
void ScrambleRecords(uint8_t* destination, const uint8_t* source, int32_t count,
                     int32_t recordLength);

}  // namespace ot
