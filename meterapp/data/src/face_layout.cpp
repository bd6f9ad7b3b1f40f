#include "meterdata/face_layout.h"

#include "resource.h"

#include <tuple>

namespace {

SFaceOp Bitmap(UINT id, int x, int y)
{
    SFaceOp op;
    op.kind = SFaceOp::Kind::Bitmap;
    op.bitmapId = id;
    op.x = x;
    op.y = y;
    return op;
}

SFaceOp Text(const CString& text, int x, int y, FaceFont font)
{
    SFaceOp op;
    op.kind = SFaceOp::Kind::Text;
    op.text = text;
    op.x = x;
    op.y = y;
    op.font = font;
    return op;
}

// The digits text, walked from its last character (the tenths) to its first.
// Five characters (100 dB and more) start at the leftmost digit place, so
// shorter texts line up on the right; 5.3 starts there too.
void AddDigits(double shown, std::vector<SFaceOp>& ops)
{
    // Four BCD digits read 0 to 999.9; anything else must not grow the text
    // past the display.
    constexpr double kHighest = 999.9;
    if (!(shown >= 0))
        shown = 0;
    if (shown > kHighest)
        shown = kHighest;
    CString text;
    text.Format(L"%.1f", shown);
    const int length = text.GetLength();
    const int shift = length == 5 ? 3 : 1;
    const int digitsY = 2 * kDigitHeight + 10;
    for (int i = length - 1; i >= 0; --i) {
        if (i == length - 2) {
            ops.push_back(Bitmap(IDB_DECIMAL_POINT, 120, 159));
            continue;
        }
        const wchar_t ch = text.GetAt(i);
        if (ch < L'0' || ch > L'9')
            continue;
        const UINT id = IDB_DIGIT_0 + static_cast<UINT>(ch - L'0');
        const int x = i == length - 1 ? 5 * kDigitWidth : (length - shift + i) * kDigitWidth - 7;
        ops.push_back(Bitmap(id, x, digitsY));
    }
}

void AddTimeOfDay(const SReading& reading, std::vector<SFaceOp>& ops)
{
    // The stamp is "dd-mm-yyyy," and the meter's time; only the time shows.
    ops.push_back(Text(reading.timeStamp.Mid(11), 66, 90, FaceFont::TimeOfDay));
    ops.push_back(Text(L"TIME", 122, 99, FaceFont::TimeLabel));
}

bool RangeEnds(int range, int* low, int* high)
{
    switch (range) {
    case 1: *low = 30; *high = 80; return true;
    case 2: *low = 50; *high = 100; return true;
    case 3: *low = 80; *high = 130; return true;
    case 4: *low = 30; *high = 130; return true;
    default: return false;
    }
}

// One step per whole dB above the lower end (per 2 dB on the auto range), 2
// pixels apart: a lower-row segment every step, an upper-row tick every fifth.
void AddBar(int range, double value, std::vector<SFaceOp>& ops)
{
    int low = 0;
    int high = 0;
    if (!RangeEnds(range, &low, &high))
        return;
    double clamped = value;
    if (clamped > high)
        clamped = high;
    if (!(clamped >= low)) // also catches NaN
        clamped = low;
    int steps = static_cast<int>(clamped - low);
    if (range == 4)
        steps /= 2;

    CString label;
    label.Format(L"%d", low);
    ops.push_back(Text(label, 47, 61, FaceFont::RangeLabel));
    ops.push_back(Bitmap(IDB_BAR_SEGMENT, 50, 72));
    ops.push_back(Bitmap(IDB_BAR_SEGMENT, 50, 81));
    for (int i = 1; i <= steps; ++i) {
        const int x = 50 + 2 * i;
        if (i % 5 == 0)
            ops.push_back(Bitmap(IDB_BAR_SEGMENT, x, 72));
        ops.push_back(Bitmap(IDB_BAR_SEGMENT, x, 81));
    }
    label.Format(L"%d", high);
    ops.push_back(Text(label, 132, 61, FaceFont::RangeLabel));
}

void AddAnnunciators(const SReading& r, std::vector<SFaceOp>& ops)
{
    const FaceFont font = FaceFont::Annunciator;
    if (r.fast)
        ops.push_back(Text(L"FAST", 95, 50, font));
    else
        ops.push_back(Text(L"SLOW", 114, 50, font));
    if (r.max)
        ops.push_back(Text(L"MAX", 45, 50, font));
    if (r.min)
        ops.push_back(Text(L"MIN", 70, 50, font));
    ops.push_back(Text(r.weightingA ? L"dBA" : L"dBC", 95, 168, font));
    if (r.rec)
        ops.push_back(Text(L"REC", 65, 168, font));
    if (r.hold)
        ops.push_back(Text(L"HOLD", 120, 168, font));
    if (r.over)
        ops.push_back(Text(L"OVER", 120, 40, font));
    if (r.range == 4)
        ops.push_back(Text(L"AUTO", 120, 168, font));
    if (r.under)
        ops.push_back(Text(L"UNDER", 45, 40, font));
}

}  // namespace

bool SFaceOp::operator==(const SFaceOp& other) const
{
    return std::tie(kind, x, y, bitmapId, font) == std::tie(other.kind, other.x, other.y, other.bitmapId, other.font)
        && text == other.text;
}

SFaceFontStyle FaceFontStyleOf(FaceFont font)
{
    switch (font) {
    case FaceFont::TimeOfDay: return { 24, 6, 700 };
    case FaceFont::TimeLabel: return { 14, 5, 400 };
    case FaceFont::RangeLabel: return { 13, 0, 400 };
    case FaceFont::Annunciator: break;
    }
    return { 10, 6, 400 };
}

std::vector<SFaceOp> MeterFaceOps(const SReading& reading, double& digitsValue, double& barValue)
{
    double shown = reading.level;
    if (reading.displayFollow) {
        digitsValue = reading.level;
    } else if (reading.displayFreeze) {
        barValue = reading.level;
        shown = digitsValue;
    } else {
        digitsValue = reading.level;
        barValue = reading.level;
    }

    std::vector<SFaceOp> ops;
    AddDigits(shown, ops);
    AddTimeOfDay(reading, ops);
    AddBar(reading.range, barValue, ops);
    AddAnnunciators(reading, ops);
    return ops;
}

