// Binary-coded decimal as the KV415 sends it: one decimal digit per nibble.
#pragma once

#include <cstdint>

namespace metersim {

// Two decimal digits in one byte: 0..99 -> 0x00..0x99. Values outside 0..99
// are clamped into it.
uint8_t BcdByte(int value);

// A level in tenths of a dB (0..9999, clamped) as four BCD digits d1 d2 d3 d4
// meaning d1d2d3.d4 dB, high byte first: 653 -> {0x06, 0x53}.
struct BcdPair {
    uint8_t high;
    uint8_t low;
};
BcdPair BcdTenths(int tenths);

// The meter's hour byte: a 12-hour clock whose high nibble carries the flags
// "add 10" (bit 0) and "add 12" (bit 1, afternoon), low nibble the units digit.
// 0 -> 0x00, 9 -> 0x09, 11 -> 0x11, 12 -> 0x32 (10 + 12 + 2 = 24, read as 12),
// 13 -> 0x21, 23 -> 0x31. Every hour 0..23 reads back as itself under the
// reading rule "units + 10*bit0 + 12*bit1, 24 means 12". Outside 0..23 the
// hour is clamped.
uint8_t HourByte(int hour);

}  // namespace metersim
