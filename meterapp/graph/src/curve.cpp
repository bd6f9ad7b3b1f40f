#include "graph/curve.h"

#include "meterdata/records.h"

namespace graph {

namespace {

void Append(std::vector<POINT>* points, POINT p)
{
    if (points->empty() || points->back().x != p.x || points->back().y != p.y)
        points->push_back(p);
}

} // namespace

void CurvePoints(const SGraphState& s, const CObArray& records, SVisibleSamples range, std::vector<POINT>* points)
{
    points->clear();
    if (range.end - 1 <= range.first)
        return;
    // One column at a time: its first point, then its two extremes in the
    // order they came, then its last point.
    POINT first {}, last {}, top {}, bottom {};
    int topAt = 0, bottomAt = 0;
    bool open = false;
    auto flush = [&] {
        Append(points, first);
        if (topAt <= bottomAt) {
            Append(points, top);
            Append(points, bottom);
        } else {
            Append(points, bottom);
            Append(points, top);
        }
        Append(points, last);
    };
    for (int i = range.first; i < range.end; ++i) {
        const POINT p { SampleX(s, i), LevelY(s, RecordAt(records, i)->m_dValue) };
        if (open && p.x == first.x) {
            if (p.y < top.y) {
                top = p;
                topAt = i;
            }
            if (p.y > bottom.y) {
                bottom = p;
                bottomAt = i;
            }
            last = p;
            continue;
        }
        if (open)
            flush();
        first = last = top = bottom = p;
        topAt = bottomAt = i;
        open = true;
    }
    flush();
    // Samples all on one pixel still make a line, of no length.
    if (points->size() == 1)
        points->push_back(points->front());
}

} // namespace graph
