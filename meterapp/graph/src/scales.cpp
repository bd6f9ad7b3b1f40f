#include "graph/scales.h"

#include "graph/geometry.h"

namespace graph {

int ScaleMessageValue(double value)
{
    return TruncToInt(value * SCALE_FACTOR);
}

bool AxisLabels(unsigned int scaleParam, int offsetParam, int controlHeight, CString labels[kAxisLabels])
{
    const double offset = offsetParam / static_cast<double>(SCALE_FACTOR);
    const double scale = scaleParam / static_cast<double>(SCALE_FACTOR);
    if (!(offset >= 0))
        return false;
    for (int k = 0; k < kAxisLabels; ++k) {
        const double level = static_cast<double>(controlHeight - LABEL_HEIGHT_MARGIN) * k / 10 * scale + offset;
        labels[k].Format(L"%.2f", level);
    }
    return true;
}

SScrollBars ScrollBarsFor(const SGraphState& s)
{
    const int v = TruncToInt(s.m_nPlotHeight * s.m_dYScale);
    const int h = TruncToInt(s.m_nPlotWidth * s.m_dXScale);
    SScrollBars bars;
    bars.vMax = TruncToInt(s.m_dYMax - v);
    bars.vPos = TruncToInt(s.m_dYMax - v - s.m_dYOffset);
    bars.hMax = TruncToInt(s.m_dXMax - h);
    bars.hPos = TruncToInt(s.m_dXStart);
    return bars;
}

bool PanPosition(UINT code, int pos, double bound, int thumb, int* newPos)
{
    constexpr UINT kLineBack = 0;
    constexpr UINT kLineOn = 1;
    constexpr UINT kThumbPosition = 4;
    switch (code) {
    case kLineBack:
        *newPos = pos > 0 ? pos - 1 : pos;
        return true;
    case kLineOn:
        *newPos = pos < bound ? pos + 1 : pos;
        return true;
    case kThumbPosition:
        *newPos = thumb;
        return true;
    default:
        return false;
    }
}

double VerticalPanBound(const SGraphState& s)
{
    return s.m_dYMax - TruncToInt(s.m_nPlotHeight * s.m_dYScale);
}

double YOffsetForPosition(const SGraphState& s, int pos)
{
    return VerticalPanBound(s) - pos;
}

double HorizontalPanBound(const SGraphState& s)
{
    return s.m_dXMax - TruncToInt(s.m_nPlotWidth * s.m_dXScale);
}

} // namespace graph
