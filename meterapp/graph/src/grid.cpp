#include "graph/grid.h"

#include "graph/geometry.h"

namespace graph {

int GridLineX(int plotWidth, int i)
{
    return TruncToInt(static_cast<double>(plotWidth) * i / 20 + PLOT_LEFT);
}

int GridLineY(int plotHeight, int j)
{
    return (plotHeight + PLOT_TOP) - (j * plotHeight) / 10;
}

CString GridLabel(const SGraphState& s, int j)
{
    CString label;
    label.Format(L"%.2f", static_cast<double>(j * s.m_nPlotHeight) / 10 * s.m_dYScale + s.m_dYOffset);
    return label;
}

int AxisTickY(int plotHeight, int k)
{
    return TruncToInt(static_cast<double>(plotHeight) * k / 10 + PLOT_TOP);
}

} // namespace graph
