#include "meterdata/face_layout.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <string>
#include <tuple>
#include <vector>

namespace {

struct Placed {
    UINT id;
    int x, y;
    bool operator==(const Placed& o) const { return std::tie(id, x, y) == std::tie(o.id, o.x, o.y); }
};
std::ostream& operator<<(std::ostream& out, const Placed& p)
{
    return out << "{" << p.id << " at " << p.x << "," << p.y << "}";
}

std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out += static_cast<char>(text.GetAt(i));
    return out;
}

struct Face {
    std::vector<SFaceOp> ops;

    std::vector<Placed> Bitmaps(UINT firstId, UINT lastId) const
    {
        std::vector<Placed> placed;
        for (const SFaceOp& op : ops)
            if (op.kind == SFaceOp::Kind::Bitmap && op.bitmapId >= firstId && op.bitmapId <= lastId)
                placed.push_back({ op.bitmapId, op.x, op.y });
        return placed;
    }
    std::vector<Placed> Digits() const { return Bitmaps(131, 141); }
    std::vector<Placed> Segments() const { return Bitmaps(142, 142); }

    // "text@x,y" for every text in the given font, in drawing order.
    std::vector<std::string> Texts(FaceFont font) const
    {
        std::vector<std::string> texts;
        for (const SFaceOp& op : ops)
            if (op.kind == SFaceOp::Kind::Text && op.font == font)
                texts.push_back(Narrow(op.text) + "@" + std::to_string(op.x) + "," + std::to_string(op.y));
        return texts;
    }
};

Face Draw(const SReading& reading, double& digits, double& bar)
{
    return Face { MeterFaceOps(reading, digits, bar) };
}

Face Draw(const SReading& reading)
{
    double digits = kFaceStartValue;
    double bar = kFaceStartValue;
    return Draw(reading, digits, bar);
}

SReading Level(double level, int range = 1)
{
    SReading r;
    r.level = level;
    r.range = range;
    return r;
}

TEST(MeterFace, DigitsLineUpOnTheRight)
{
    struct Case {
        double level;
        std::vector<Placed> digits; // from the tenths to the first digit
    };
    const Case cases[] = {
        { 105.3, { { 135, 125, 116 }, { 131, 120, 159 }, { 137, 93, 116 }, { 132, 68, 116 }, { 133, 43, 116 } } },
        { 65.3, { { 135, 125, 116 }, { 131, 120, 159 }, { 137, 93, 116 }, { 138, 68, 116 } } },
        { 5.3, { { 135, 125, 116 }, { 131, 120, 159 }, { 137, 43, 116 } } },
        { 100.0, { { 132, 125, 116 }, { 131, 120, 159 }, { 132, 93, 116 }, { 132, 68, 116 }, { 133, 43, 116 } } },
        { 0.5, { { 137, 125, 116 }, { 131, 120, 159 }, { 132, 43, 116 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(Draw(Level(c.level)).Digits(), c.digits);
    }
}

// Whatever value reaches the face, its digits stay four digits and a point
// on the display: a value beyond 0 to 999.9 shows as the nearer end.
TEST(MeterFace, DigitsNeverRunPastTheDisplay)
{
    const Face top = Draw(Level(999.9));
    const double outside[] = { 1e9, 100000.0, 1000.0, 999.96, std::numeric_limits<double>::infinity() };
    for (double level : outside) {
        SCOPED_TRACE(level);
        EXPECT_EQ(Draw(Level(level)).Digits(), top.Digits());
    }
    const Face zero = Draw(Level(0.0));
    for (double level : { -5.3, -1e9, -std::numeric_limits<double>::infinity(), std::nan("") }) {
        SCOPED_TRACE(level);
        EXPECT_EQ(Draw(Level(level)).Digits(), zero.Digits());
    }
    EXPECT_EQ(top.Digits().size(), 5u);
}

// Every picture lies inside the display area, and every text starts in it,
// for every flag, range and level.
TEST(MeterFace, EverythingIsDrawnInsideTheDisplayArea)
{
    auto inside = [](int x, int y, int width, int height) {
        return x >= kDisplayArea.x && y >= kDisplayArea.y && x + width <= kDisplayArea.x + kDisplayArea.width
            && y + height <= kDisplayArea.y + kDisplayArea.height;
    };
    for (int flags = 0; flags < 256; ++flags) {
        for (int range = 0; range <= 5; ++range) {
            for (double level : { 0.0, 5.3, 65.3, 105.3, 999.9 }) {
                SReading r = Level(level, range);
                r.fast = flags & 1;
                r.rec = (flags >> 1) & 1;
                r.max = (flags >> 2) & 1;
                r.min = (flags >> 3) & 1;
                r.hold = (flags >> 4) & 1;
                r.under = (flags >> 5) & 1;
                r.over = (flags >> 6) & 1;
                r.weightingA = (flags >> 7) & 1;
                r.timeStamp = L"09-12-2026,23:59:59";
                for (const SFaceOp& op : Draw(r).ops) {
                    SCOPED_TRACE(testing::Message() << "flags " << flags << ", range " << range << ", level "
                                                    << level << ", op at " << op.x << "," << op.y);
                    if (op.kind == SFaceOp::Kind::Text) {
                        EXPECT_TRUE(inside(op.x, op.y, 1, 1));
                    } else if (op.bitmapId == IDB_BAR_SEGMENT) {
                        EXPECT_TRUE(inside(op.x, op.y, 1, 7));
                    } else if (op.bitmapId == IDB_DECIMAL_POINT) {
                        EXPECT_TRUE(inside(op.x, op.y, 7, 8));
                    } else {
                        EXPECT_TRUE(inside(op.x, op.y, kDigitWidth, kDigitHeight));
                    }
                }
            }
        }
    }
    // The window that is filled lies inside the area.
    EXPECT_TRUE(inside(kDisplayWindow.x, kDisplayWindow.y, kDisplayWindow.width, kDisplayWindow.height));
}

TEST(MeterFace, TimeOfDayIsTheStampWithoutItsDate)
{
    SReading r = Level(65.3);
    EXPECT_EQ(Draw(r).Texts(FaceFont::TimeOfDay), std::vector<std::string> { "@66,90" });
    r.timeStamp = L"09-12-2026,13:45:07";
    EXPECT_EQ(Draw(r).Texts(FaceFont::TimeOfDay), std::vector<std::string> { "13:45:07@66,90" });
    EXPECT_EQ(Draw(r).Texts(FaceFont::TimeLabel), std::vector<std::string> { "TIME@122,99" });
}

TEST(MeterFace, BarStepsAndLabelsByRange)
{
    struct Case {
        int range;
        double bar;
        int steps;
        const char* low;
        const char* high;
    };
    const Case cases[] = {
        { 1, 95.0, 50, "30@47,61", "80@132,61" },  // clamped to the upper end: the full bar
        { 1, 12.0, 0, "30@47,61", "80@132,61" },   // clamped to the lower end: the start mark only
        { 1, 65.9, 35, "30@47,61", "80@132,61" },
        { 2, 73.4, 23, "50@47,61", "100@132,61" },
        { 3, 129.9, 49, "80@47,61", "130@132,61" },
        { 4, 80.0, 25, "30@47,61", "130@132,61" }, // 50 dB halved
        { 4, 81.9, 25, "30@47,61", "130@132,61" }, // 51 dB halved, remainder dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.range << " " << c.bar);
        const std::vector<Placed> segments = Draw(Level(c.bar, c.range)).Segments();
        std::vector<Placed> expected = { { 142, 50, 72 }, { 142, 50, 81 } };
        for (int i = 1; i <= c.steps; ++i) {
            if (i % 5 == 0)
                expected.push_back({ 142, 50 + 2 * i, 72 });
            expected.push_back({ 142, 50 + 2 * i, 81 });
        }
        EXPECT_EQ(segments, expected);
        EXPECT_EQ(Draw(Level(c.bar, c.range)).Texts(FaceFont::RangeLabel),
                  (std::vector<std::string> { c.low, c.high }));
    }
    EXPECT_EQ(Draw(Level(95.0, 1)).Segments().back(), (Placed { 142, 150, 81 }));
}

TEST(MeterFace, NoBarOutsideRanges1To4)
{
    for (int range : { 0, 5, -1 }) {
        const Face face = Draw(Level(70.0, range));
        EXPECT_TRUE(face.Segments().empty()) << range;
        EXPECT_TRUE(face.Texts(FaceFont::RangeLabel).empty()) << range;
    }
}

TEST(MeterFace, AnnunciatorsInOrder)
{
    SReading r = Level(70.0, 4);
    r.weightingA = 1;
    r.fast = 0;
    EXPECT_EQ(Draw(r).Texts(FaceFont::Annunciator),
              (std::vector<std::string> { "SLOW@114,50", "dBA@95,168", "AUTO@120,168" }));

    r.range = 2;
    r.fast = 1;
    r.max = 1;
    r.min = 1;
    r.weightingA = 0;
    r.rec = 1;
    r.hold = 1;
    r.over = 1;
    r.under = 1;
    EXPECT_EQ(Draw(r).Texts(FaceFont::Annunciator),
              (std::vector<std::string> { "FAST@95,50", "MAX@45,50", "MIN@70,50", "dBC@95,168", "REC@65,168",
                                          "HOLD@120,168", "OVER@120,40", "UNDER@45,40" }));

    // HOLD and AUTO share a place; both are drawn, AUTO last.
    r = Level(70.0, 4);
    r.hold = 1;
    const std::vector<std::string> texts = Draw(r).Texts(FaceFont::Annunciator);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2], "HOLD@120,168");
    EXPECT_EQ(texts[3], "AUTO@120,168");
}

TEST(MeterFace, FreezeKeepsTheDigitsAndFollowKeepsTheBar)
{
    double digits = kFaceStartValue;
    double bar = kFaceStartValue;

    SReading r = Level(60.0, 1);
    Draw(r, digits, bar);
    EXPECT_EQ(digits, 60.0);
    EXPECT_EQ(bar, 60.0);

    r.level = 70.0;
    r.displayFreeze = 1;
    Face face = Draw(r, digits, bar);
    EXPECT_EQ(digits, 60.0);
    EXPECT_EQ(bar, 70.0);
    EXPECT_EQ(face.Digits()[3], (Placed { 132 + 6, 68, 116 })); // still 60.0
    EXPECT_EQ(face.Segments().size(), 2u + 40u + 8u);           // 40 steps for 70 dB

    r.level = 45.0;
    r.displayFreeze = 0;
    r.displayFollow = 1;
    face = Draw(r, digits, bar);
    EXPECT_EQ(digits, 45.0);
    EXPECT_EQ(bar, 70.0);
    EXPECT_EQ(face.Segments().size(), 2u + 40u + 8u);

    // Both codes at once: the follow rule.
    r.level = 55.0;
    r.displayFreeze = 1;
    Draw(r, digits, bar);
    EXPECT_EQ(digits, 55.0);
    EXPECT_EQ(bar, 70.0);
}

// The view weighs a redraw by working out the face once more: the same
// reading again must leave the remembered values and the picture as they are.
TEST(MeterFace, TheSameReadingTwiceDrawsTheSame)
{
    for (int flags = 0; flags < 4; ++flags) {
        SCOPED_TRACE(flags);
        double digits = 61.0;
        double bar = 73.0;
        SReading r = Level(66.6, 1);
        r.displayFollow = flags & 1;
        r.displayFreeze = (flags >> 1) & 1;
        const std::vector<SFaceOp> first = MeterFaceOps(r, digits, bar);
        const double digitsAfter = digits, barAfter = bar;
        EXPECT_EQ(MeterFaceOps(r, digits, bar), first);
        EXPECT_EQ(digits, digitsAfter);
        EXPECT_EQ(bar, barAfter);
        r.hold = 1;
        EXPECT_NE(MeterFaceOps(r, digits, bar), first);
    }
}

TEST(MeterFace, FirstDrawingWithADisplayCodeUsesTheStartValues)
{
    SReading r = Level(90.0, 4);
    r.displayFreeze = 1;
    const Face face = Draw(r);
    EXPECT_EQ(face.Digits()[3], (Placed { 132 + 5, 68, 116 })); // 50.0
    r.displayFreeze = 0;
    r.displayFollow = 1;
    EXPECT_EQ(Draw(r).Segments().size(), 2u + 10u + 2u); // 50 dB on the auto range: 10 steps
}

}  // namespace
