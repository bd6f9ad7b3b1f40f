// The live meter face as a list of drawing operations: which pictures and
// texts go where on the instrument picture for a reading. The view replays
// them; nothing here draws.
#pragma once

#include "meterdata/view_layout.h"
#include "meterproto/reading.h"

#include <vector>

// The meter's display on the instrument picture (picture pixels, which are
// the view's client pixels). The window is filled with its colour before
// every drawing; the area around it is all the live face ever draws on, and
// all that a new frame refreshes.
constexpr SPlacement kDisplayWindow { 45, 42, 106, 140 };
constexpr SPlacement kDisplayArea { 41, 39, 125, 146 };
struct SFaceColour {
    BYTE red, green, blue;
};
constexpr SFaceColour kDisplayWindowColour { 128, 140, 128 };

// The size the digit places are computed with (the digit pictures' size).
constexpr int kDigitWidth = 25;
constexpr int kDigitHeight = 53;

// What the digits and the bar show before any drawing has set them: the
// level the instrument state starts with.
constexpr double kFaceStartValue = 50.0;

// All text is black Arial on a transparent background, default character set,
// variable pitch, no italic, underline or strike-out.
constexpr wchar_t kFaceFontName[] = L"Arial";
enum class FaceFont { TimeOfDay, TimeLabel, RangeLabel, Annunciator };
constexpr int kFaceFontCount = 4;
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
    UINT bitmapId = 0;  // Bitmap: a picture resource, copied in its own size with SRCCOPY
    CString text;       // Text: drawn with font at (x, y)
    FaceFont font = FaceFont::Annunciator;

    bool operator==(const SFaceOp& other) const;
    bool operator!=(const SFaceOp& other) const { return !(*this == other); }
};

// The face for reading, in drawing order (later operations overlap earlier
// ones): digits with the point, the time of day and "TIME", the bar graph
// with its range labels (ranges 1 to 4 only), the annunciators.
// digitsValue and barValue are the view's remembered values: the follow
// code keeps the bar and moves the digits, the freeze code keeps the digits
// and moves the bar, neither moves both to the level. Applying the same
// reading twice changes them no further.
// The digits show at most four digits and the point: a value outside 0 to
// 999.9 shows as the nearer end of that span.
std::vector<SFaceOp> MeterFaceOps(const SReading& reading, double& digitsValue, double& barValue);
