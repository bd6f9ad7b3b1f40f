// Where the main view puts its graph panel for a given client size.
#pragma once

struct SPlacement {
    int x;
    int y;
    int width;
    int height;
};

struct SGraphPanelLayout {
    SPlacement graph;
    SPlacement vScroll;
    SPlacement hScroll;
    SPlacement graphGroup;
};

// The smallest client area the panel is laid out for; a smaller one is laid
// out as if it had this size and the controls reach past its edges.
constexpr int kLayoutMinWidth = 800;
constexpr int kLayoutMinHeight = 550;

// clientWidth, clientHeight: the view's client size in pixels. cursorLeft,
// cursorBottom: left and bottom edges of the "Cursor" group box in client
// coordinates; the graph hangs below it and fills the rest of the client area.
SGraphPanelLayout LayOutGraphPanel(int clientWidth, int clientHeight, int cursorLeft, int cursorBottom);
