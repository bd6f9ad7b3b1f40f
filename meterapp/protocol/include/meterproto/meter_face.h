// The live meter face as a list of drawing operations: which pictures and
// texts go where on the face picture for a reading. The view replays them
// onto a device context that holds the face picture; nothing here draws.
#pragma once

#include "meterproto/reading.h"

#include <vector>

namespace meterproto {

// Picture resources, and the sizes the layout is computed with.
constexpr UINT kFaceBitmapId = 130;       // 195 x 461, the drawing target
constexpr UINT kPointBitmapId = 131;      // 7 x 8
constexpr UINT kFirstDigitBitmapId = 132; // digit d is 132 + d, 25 x 53 each
constexpr UINT kBarSegmentBitmapId = 142; // 1 x 7
constexpr int kDigitWidth = 25;
constexpr int kDigitHeight = 53;

// The display window, filled with its colour before every drawing.
struct SFaceRect {
    int x, y, width, height;
};
struct SFaceColour {
    BYTE red, green, blue;
};
constexpr SFaceRect kDisplayWindow { 45, 42, 106, 140 };
constexpr SFaceColour kDisplayWindowColour { 128, 140, 128 };

// What the digits and the bar show before any drawing has set them: the
// level the instrument state starts with.
constexpr double kFaceStartValue = 50.0;

// All text is black Arial on a transparent background, default character set,
// variable pitch, no italic, underline or strike-out.
constexpr wchar_t kFaceFontName[] = L"Arial";
enum class FaceFont { TimeOfDay, TimeLabel, RangeLabel, Annunciator };
struct SFaceFontStyle {
    int height;
    int width;  // 0: the font's default
    int weight; // 400 normal, 700 bold
};
SFaceFontStyle FaceFontStyleOf(FaceFont font);

struct SFaceOp {
    enum class Kind { Bitmap, Text };
    Kind kind = Kind::Bitmap;
    int x = 0;
    int y = 0;
    UINT bitmapId = 0;  // Bitmap: copied in its own size with SRCCOPY
    CString text;       // Text: drawn with font at (x, y)
    FaceFont font = FaceFont::Annunciator;
};

// The face for reading, in drawing order (later operations overlap earlier
// ones): digits with the point, the time of day and "TIME", the bar graph
// with its range labels (ranges 1 to 4 only), the annunciators.
// digitsValue and barValue are the view's remembered values: the follow
// code keeps the bar and moves the digits, the freeze code keeps the digits
// and moves the bar, neither moves both to the level.
std::vector<SFaceOp> MeterFaceOps(const SReading& reading, double& digitsValue, double& barValue);

}  // namespace meterproto
