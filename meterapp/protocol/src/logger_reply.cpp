#include "meterproto/logger_reply.h"

#include <cwchar>

namespace meterproto {

namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return 0;
}

// The buffer's text up to and including its first end mark, cut off its front.
SLogChunk Complete(CString& strRx, int end, int& logBytes)
{
    SLogChunk chunk;
    chunk.step = ELogStep::Complete;
    chunk.text = strRx.Left(end + 2);
    strRx.Delete(0, end + 2);
    logBytes = 0;
    return chunk;
}

}  // namespace

SLogChunk CollectLogChunk(const CString& chunkHex, CString& strRx, SLogCollector& collector, int& logBytes)
{
    strRx += chunkHex;
    if (collector.replySeen) {
        // A 0xDD byte always lies within one chunk; the search starts at the
        // buffer's front so that the first end mark is the one taken.
        if (chunkHex.Find(kLogEndText) >= 0)
            return Complete(strRx, strRx.Find(kLogEndText), logBytes);
        if (strRx.GetLength() > kLogMaxDataChars)
            return { ELogStep::Overflow, CString() };
        return { ELogStep::Receiving, CString() };
    }

    const int tag = strRx.Find(kLogReplyText);
    if (tag < 0) {
        // Only a last 'b' can still begin the tag.
        if (strRx.GetLength() > 1)
            strRx.Delete(0, strRx.GetLength() - 1);
        return { ELogStep::Waiting, CString() };
    }
    strRx.Delete(0, tag);
    if (strRx.GetLength() < kLogReplyHeaderChars)
        return { ELogStep::Waiting, CString() };

    int count = 0;
    for (int i = 2; i < kLogReplyHeaderChars; ++i)
        count = count * 16 + HexDigit(strRx[i]);
    strRx.Delete(0, kLogReplyHeaderChars);
    collector.expected = count - kLogCountOffset;
    collector.replySeen = true;
    logBytes = strRx.GetLength() / 2;
    if (collector.expected == kLogEmptyData)
        return { ELogStep::Empty, CString() };
    const int end = strRx.Find(kLogEndText);
    if (end >= 0)
        return Complete(strRx, end, logBytes);
    return { ELogStep::Receiving, CString() };
}

}  // namespace meterproto
