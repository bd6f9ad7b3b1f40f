// Building live frames for the tests, as hex text and as bytes.
#pragma once

#include "afx/cstring.h"
#include "meterproto/hex_text.h"
#include "meterproto/reading.h"

#include <string>
#include <vector>

namespace prototest {

using Bytes = std::vector<BYTE>;

// A 20-byte frame: 0xA5 0x0D, the two level bytes, then the given items from
// byte 4 on, padded with 0x00 (byte 7 is the weighting when items reach it).
inline Bytes Frame(BYTE levelHigh, BYTE levelLow, const Bytes& items = {})
{
    Bytes frame(20, 0x00);
    frame[0] = 0xA5;
    frame[1] = 0x0D;
    frame[2] = levelHigh;
    frame[3] = levelLow;
    for (size_t i = 0; i < items.size() && 4 + i < frame.size(); ++i)
        frame[4 + i] = items[i];
    return frame;
}

inline CString Hex(const Bytes& bytes)
{
    return meterproto::ChunkToHex(bytes.data(), static_cast<int>(bytes.size()));
}

inline Bytes Join(const Bytes& a, const Bytes& b)
{
    Bytes joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

inline std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out += static_cast<char>(text.GetAt(i));
    return out;
}

inline const meterproto::SPcDate kToday { 9, 12, 2026 };

}  // namespace prototest
