#include "meterapp/curve_line.h"

void DrawLineInPieces(CDC* dc, const POINT* points, int count)
{
    int start = 0;
    for (int i = start + 1; i + 1 < count; ++i) {
        const bool vertical = points[i - 1].x == points[i].x && points[i + 1].x == points[i].x;
        if (i - start + 1 >= kCurvePieceLength && vertical) {
            dc->Polyline(points + start, i - start + 1);
            start = i;
        }
    }
    if (count - start >= 2)
        dc->Polyline(points + start, count - start);
}
