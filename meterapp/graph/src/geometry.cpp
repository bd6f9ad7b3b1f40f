#include "graph/geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace graph {

int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

bool InsidePlot(const SGraphState& s, CPoint point)
{
    return point.x > PLOT_LEFT && point.x < PLOT_LEFT + s.m_nPlotWidth && point.y > PLOT_TOP
        && point.y < PLOT_TOP + s.m_nPlotHeight;
}

// Evaluated in this order on purpose: the result must match the tick labels
// and the printed page sample for sample, rounding included.
int IndexAtOffset(const SGraphState& s, double offset)
{
    const double xs = s.m_dXScale;
    return TruncToInt(xs * (offset + (s.m_dXStart - s.m_dXMin) / xs + 1 / (2 * xs)));
}

int IndexUnderX(const SGraphState& s, int x)
{
    return IndexAtOffset(s, static_cast<double>(x - PLOT_LEFT));
}

int SampleX(const SGraphState& s, int i)
{
    return TruncToInt(PLOT_LEFT + i / s.m_dXScale - (s.m_dXStart - s.m_dXMin) / s.m_dXScale);
}

int LevelY(const SGraphState& s, double level)
{
    return TruncToInt(PLOT_TOP + (s.m_dYOffset - s.m_dYMin) / s.m_dYScale - (level - s.m_dYMin) / s.m_dYScale
        + s.m_nPlotHeight);
}

int CursorX(const SGraphState& s, int cursor)
{
    const int offset = TruncToInt(cursor / s.m_dXScale - (s.m_dXStart - s.m_dXMin) / s.m_dXScale);
    // Beyond the int range the line would be far outside the plot either way.
    return offset > INT_MAX - PLOT_LEFT ? INT_MAX : PLOT_LEFT + offset;
}

SVisibleSamples VisibleSamples(const SGraphState& s, int count)
{
    SVisibleSamples range;
    range.end = std::min(TruncToInt(s.m_nPlotWidth * s.m_dXScale + s.m_dXStart + 2), count);
    range.first = std::max(TruncToInt(s.m_dXStart), 0);
    return range;
}

bool ShowPointMarkers(double xScale)
{
    return 2 / xScale > 6;
}

bool PlotIsEmpty(const SGraphState& s)
{
    return s.m_nPlotWidth <= 0 || s.m_nPlotHeight <= 0;
}

namespace {

void SetScalesFromRanges(SGraphState& s)
{
    if (s.m_nPlotWidth > 0)
        s.m_dXScale = (s.m_dXMax - s.m_dXMin) / s.m_nPlotWidth;
    if (s.m_nPlotHeight > 0)
        s.m_dYScale = (s.m_dYMax - s.m_dYMin) / s.m_nPlotHeight;
}

// What both set-ups do: the plot from the control's size, X from 0 to X max
// and Y over its full range from their starts.
void ShowFullRanges(SGraphState& s, int width, int height)
{
    s.m_nPlotWidth = std::max(width - PLOT_MARGIN_WIDTH, 0);
    s.m_nPlotHeight = std::max(height - PLOT_MARGIN_HEIGHT, 0);
    s.m_dXMin = 0;
    s.m_dYMin = 0;
    s.m_dYMax = GRAPH_Y_MAX;
    SetScalesFromRanges(s);
    s.m_dXStart = 0;
    s.m_dYOffset = s.m_dYMin;
}

} // namespace

void SetUpView(SGraphState& s, int clientWidth, int clientHeight)
{
    s.m_dXMax = GRAPH_X_SPAN;
    ShowFullRanges(s, clientWidth, clientHeight);
    s.m_bRunning = false;
}

void ResetToFullRange(SGraphState& s, int windowWidth, int windowHeight)
{
    ShowFullRanges(s, windowWidth, windowHeight);
    s.m_dZoomed = 0.0;
}

void AutoScaleOrScroll(SGraphState& s, int count, const std::function<void()>& step)
{
    if (PlotIsEmpty(s))
        return;
    const int width = s.m_nPlotWidth;
    if (s.m_dZoomed != 0.0) {
        if (width * s.m_dXScale <= (count - 1) - s.m_dXStart && s.m_bRunning && !s.m_bDragging) {
            s.m_dXStart += 1;
            s.m_dXMax = count - 1;
            step();
        }
        return;
    }
    // A scale that is not positive and finite would never reach the records.
    while (count - 1 > s.m_dXMax && s.m_dXScale > 0 && std::isfinite(s.m_dXScale)) {
        s.m_dXScale = (width * s.m_dXScale / 15 + width * s.m_dXScale) / width;
        s.m_dXMax = width * s.m_dXScale;
        step();
    }
}

} // namespace graph
