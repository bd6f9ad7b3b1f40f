#include "meterproto/hex_text.h"

namespace meterproto {

CString ChunkToHex(const BYTE* data, int length)
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    CString text;
    if (data == nullptr || length <= 0)
        return text;
    LPWSTR out = text.GetBufferSetLength(2 * length);
    for (int i = 0; i < length; ++i) {
        out[2 * i] = kDigits[data[i] >> 4];
        out[2 * i + 1] = kDigits[data[i] & 0x0F];
    }
    text.ReleaseBuffer(2 * length);
    return text;
}

}  // namespace meterproto
