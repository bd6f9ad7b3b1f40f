#include "meterdata/view_layout.h"

#include <algorithm>

SGraphPanelLayout LayOutGraphPanel(int clientWidth, int clientHeight, int cursorLeft, int cursorBottom)
{
    const int w = std::max(clientWidth, kLayoutMinWidth);
    const int h = std::max(clientHeight, kLayoutMinHeight);
    const int left = cursorLeft;
    const int top = cursorBottom + 5;
    // 42 pixels on the right hold the vertical scroll bar and the group's frame.
    const int plotWidth = w - left - 42;
    const int plotHeight = h - cursorBottom - 60;

    SGraphPanelLayout layout;
    layout.graph = { left, top, plotWidth, plotHeight };
    layout.vScroll = { w - 42, top, 15, plotHeight };
    layout.hScroll = { left, h - 35, plotWidth, 15 };
    layout.graphGroup = { left - 10, 10, w - left, h - 20 };
    return layout;
}
