#include "meterproto/hex_text.h"

namespace meterproto {

CString ChunkToHex(const BYTE* data, int length)
{
    CString text;
    if (data == nullptr || length <= 0)
        return text;
    LPWSTR out = text.GetBufferSetLength(2 * length);
    for (int i = 0; i < length; ++i) {
        out[2 * i] = static_cast<wchar_t>(kHexDigits[data[i] >> 4]);
        out[2 * i + 1] = static_cast<wchar_t>(kHexDigits[data[i] & 0x0F]);
    }
    text.ReleaseBuffer(2 * length);
    return text;
}

}  // namespace meterproto
