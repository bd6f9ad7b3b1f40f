// The logger download: the request the meter answers and the reply it sends.
//
// Reply layout:
//   0xBB                      reply tag
//   N (2 bytes, high first)   N - 98 = the bytes that follow N (blocks and end
//                             mark); an empty logger sends 100 (N - 98 = 2) and
//                             the end mark alone
//   blocks, back to back:
//     0     weighting: 0xAA A, 0xCC C
//     1-3   year within the century, month, day (BCD)
//     4     hour (see HourByte)
//     5-6   minute, second (BCD)
//     7     sampling interval in seconds (BCD)
//     8     block mark 0xAC
//     9...  samples, four BCD digits each, high byte first (tenths of a dB)
//   0xDD                      end mark
// Apart from the tag, the count, the weighting byte and the two marks every
// byte is two decimal digits, so the hex text of the blocks can hold "ac"
// only at block marks and "dd" only at the end mark, wherever a receiver
// searches for them (also across byte boundaries).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace metersim {

constexpr uint8_t kLogRequestFirst = 0x5A;
constexpr uint8_t kLogRequestSecond = 0xAC;
constexpr uint8_t kLogReplyTag = 0xBB;
constexpr uint8_t kLogBlockMark = 0xAC;
constexpr uint8_t kLogEnd = 0xDD;
constexpr uint8_t kLogUnitA = 0xAA;
constexpr uint8_t kLogUnitC = 0xCC;
constexpr int kLogCountOffset = 98;
constexpr size_t kLogHeaderBytes = 8;
// The count field tops out at 0xFFFF, which bounds the logger's memory.
constexpr size_t kLoggerCapacityBytes = 0xFFFF - kLogCountOffset - 1;
// The count an empty logger sends.
constexpr int kLogEmptyCount = kLogCountOffset + 2;

// One recording held in the meter's memory.
struct Recording {
    bool weightingA = true;
    int year = 2000;  // 2000..2099
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int intervalSeconds = 1;  // 1..99
    std::vector<int> tenths;  // samples in tenths of a dB, 0..9999
};

// Why a recording cannot be stored (a date that does not exist, a field out
// of range); empty when it can.
std::string RecordingProblem(const Recording& recording);

// Bytes that the blocks of these recordings take in the reply.
size_t BlockBytes(const std::vector<Recording>& recordings);

struct LoggerReply {
    std::vector<uint8_t> bytes;
    std::vector<size_t> markOffsets;  // byte offset of each block mark
};

// Builds the whole reply. The recordings must be free of problems and fit
// kLoggerCapacityBytes; fields out of range are clamped.
LoggerReply BuildLoggerReply(const std::vector<Recording>& recordings);

// Checks a reply against the way a receiver reads it from hex text: the first
// "bb" is the tag at the start, the first "dd" after the count is the end mark
// at the last byte, and the n-th "ac" found after the previous one is the n-th
// block mark. Empty when it holds, else what is wrong.
std::string CheckLoggerReply(const LoggerReply& reply);

}  // namespace metersim
